#pragma once

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace norvik {

// What a key pressed in one of the channel text fields means for the key rules: the field's own
// editing (Backspace, caret movement), a key to drop (shortcuts, characters outside ASCII), or an
// ASCII character the column's rule decides on.
struct TypedKey {
    enum class Kind { FieldsOwn, Drop, Character };
    Kind kind;
    char character = 0;
};

inline TypedKey classifyTypedKey(const QKeyEvent* e) {
    if (e->key() == Qt::Key_Backspace)
        return {TypedKey::Kind::FieldsOwn};
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {TypedKey::Kind::Drop}; // no clipboard, undo or select-all shortcuts past the key rules
    const QString t = e->text();
    if (t.isEmpty() || !t.at(0).isPrint())
        return {TypedKey::Kind::FieldsOwn};
    const char16_t u = t.at(0).unicode();
    if (u > 0x7F)
        return {TypedKey::Kind::Drop};
    return {TypedKey::Kind::Character, static_cast<char>(u)};
}

inline bool isEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A focus loss that leaves a field: the field's own popup or a switch to another window does not.
inline bool leavesField(const QFocusEvent* e) {
    return e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason;
}

// The middle button, which pastes the selection past the key rules.
inline bool isMiddleButton(const QEvent* e) {
    return (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonRelease) &&
           static_cast<const QMouseEvent*>(e)->button() == Qt::MiddleButton;
}

} // namespace norvik
