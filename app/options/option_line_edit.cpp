#include "app/options/option_line_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace norvik {

OptionLineEdit::OptionLineEdit(QWidget* parent) : FilteredLineEdit(parent) {
    selectAllOnEntry();
    setKeyRule([this](QKeyEvent* event) { return filterKey(event); });
    setPasteRule([this](const QString& text) { return filtered(text); });
}

QString OptionLineEdit::filtered(const QString& text) const {
    if (!m_filter)
        return text;
    QString kept;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (const auto c = u <= 0x7F ? m_filter(static_cast<char>(u)) : std::nullopt)
            kept += QLatin1Char(*c);
    }
    return kept;
}

// The box's own shortcuts and editing keys pass; a character goes in as the filter has it.
bool OptionLineEdit::filterKey(QKeyEvent* event) {
    const QString typed = event->text();
    if (typed.isEmpty() || !typed.at(0).isPrint() ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const QString kept = filtered(typed);
    if (kept == typed)
        return false;
    if (!kept.isEmpty())
        insert(kept);
    return true;
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

void OptionLineEdit::focusOutEvent(QFocusEvent* event) {
    FilteredLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        commit();
}

void OptionLineEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        restoreEntered();
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
    FilteredLineEdit::keyPressEvent(event);
}

} // namespace norvik
