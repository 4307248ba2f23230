#pragma once

#include <QKeyEvent>

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

} // namespace norvik
