#pragma once

#include <QObject>
#include <QString>

#include "app/common/filtered_line_edit.h"

class QAbstractItemView;
class QRect;

namespace norvik {

// The text box a dialog's grid is edited through, laid over one cell at a time. It opens with
// the cell's text selected, or with the key that started the edit and the caret behind it. Enter,
// Esc and leaving the box are reported; every other key goes to the grid's key rule, and nothing
// reaches the box past that rule (no paste by key, middle button, drop or input method).
class CellEditor : public QObject {
    Q_OBJECT
public:
    CellEditor(QAbstractItemView* view, const QString& objectName, FilteredLineEdit::KeyRule rule);

    FilteredLineEdit* box() const { return m_box; }
    bool isOpen() const { return m_open; }
    void open(const QRect& cell, const QString& text, bool typed);
    // Hides the box, giving the grid the focus if the box had it, and returns its text.
    QString close();

signals:
    void enterPressed();
    void escapePressed();
    // The focus went elsewhere in the dialog while the box was open.
    void left();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* m_view;
    FilteredLineEdit* m_box;
    bool m_open = false;
};

} // namespace norvik
