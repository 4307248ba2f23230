#include "app/options/option_line_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

namespace norvik {

OptionLineEdit::OptionLineEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &OptionLineEdit::filterEdit);
}

void OptionLineEdit::filterEdit() {
    if (!m_filter)
        return;
    const QString typed = text();
    QString kept;
    int caret = 0;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const char16_t u = typed.at(i).unicode();
        const auto c = u <= 0x7F ? m_filter(static_cast<char>(u)) : std::nullopt;
        if (c)
            kept += QLatin1Char(*c);
        if (i < cursorPosition())
            caret = static_cast<int>(kept.size());
    }
    if (kept != typed) {
        setText(kept);
        setCursorPosition(caret);
    }
}

void OptionLineEdit::showRuleResult(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (shown != this->text())
        setText(shown);
    emit committed();
}

void OptionLineEdit::commit() {
    if (m_validation)
        showRuleResult(m_validation(text().toStdString()));
}

void OptionLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    m_entered = text();
    // After the mouse press that brought the focus has placed the caret.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus())
            selectAll();
    });
}

void OptionLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        commit();
}

void OptionLineEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        setText(m_entered);
        selectAll();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (m_step) {
            showRuleResult(m_step(text().toStdString(), event->key() == Qt::Key_Up ? 1 : -1));
            selectAll();
            return;
        }
        break;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace norvik
