#include "app/common/filtered_line_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QTimer>

namespace norvik {

bool isEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

FilteredLineEdit::FilteredLineEdit(QWidget* parent) : QLineEdit(parent) {
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void FilteredLineEdit::takeDigitsOnly(int maxDigits) {
    setMaxLength(maxDigits);
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(maxDigits)), this));
    // The validator judges the text as it would stand after the paste.
    m_pasteRule = [](const QString& text) { return text; };
}

void FilteredLineEdit::restoreEntered() {
    if (isReadOnly())
        return;
    setText(m_entered);
    selectAll();
}

void FilteredLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    m_entered = text();
    if (m_selectOnEntry)
        QTimer::singleShot(0, this, [this] {
            if (hasFocus())
                selectAll();
        });
}

void FilteredLineEdit::keyPressEvent(QKeyEvent* event) {
    // A read-only box takes no text by any rule (insert() would put it in all the same); moving
    // about and copying are the line edit's own.
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        const QString taken = m_pasteRule ? m_pasteRule(QApplication::clipboard()->text()) : QString();
        // Inserting nothing would still delete the selection.
        if (!taken.isEmpty())
            insert(taken);
        return;
    }
    if (m_keyRule && m_keyRule(event))
        return;
    QLineEdit::keyPressEvent(event);
}

void FilteredLineEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::MiddleButton)
        QLineEdit::mousePressEvent(event);
}

void FilteredLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::MiddleButton)
        QLineEdit::mouseReleaseEvent(event);
}

} // namespace norvik
