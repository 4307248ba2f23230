#pragma once

#include <QWidget>

class QToolButton;

namespace norvik {

// The pair of arrow buttons beside a numeric text field: a value stepped within a range, held at
// the ends or going round them. Only its buttons change it; the field sets it as it validates.
class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum, int step);
    void setWrapping(bool wrap) { m_wrap = wrap; }
    int value() const { return m_value; }
    void setValue(int value);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

signals:
    // A button was pressed: the buddy field validates now so the step starts from what it shows.
    void aboutToStep();
    void valueChanged(int value);

private:
    void stepBy(int direction);

    QToolButton* m_up;
    QToolButton* m_down;
    int m_min = 0;
    int m_max = 0;
    int m_step = 1;
    int m_value = 0;
    bool m_wrap = false;
};

} // namespace norvik
