#pragma once

#include <QWidget>

class QToolButton;

namespace norvik {

// The up-down beside the panel's channel number: 1 to 128, each step wrapping round at the ends.
class ChannelUpDown : public QWidget {
    Q_OBJECT
public:
    explicit ChannelUpDown(QWidget* parent = nullptr);

    int value() const { return m_value; }
    // Announces only a real change.
    void setValue(int value);
    void stepBy(int steps);

    static int wrapped(int value);

signals:
    void valueChanged(int value);

private:
    int m_value = 1;
    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace norvik
