#pragma once

#include <QLineEdit>
#include <functional>

class QKeyEvent;

namespace norvik {

// A text box whose text comes in only past its owner's rules. Every key goes to the key rule
// first; the paste key goes to the paste rule, which says what of the clipboard's text to
// insert (without one, paste is refused). Dropped text, the middle button's selection paste,
// the input method and the context menu's paste never reach it: they would bypass both rules.
class FilteredLineEdit : public QLineEdit {
    Q_OBJECT
public:
    // Sees each key and returns true to drop it (having inserted something else, perhaps).
    using KeyRule = std::function<bool(QKeyEvent*)>;
    // What of a pasted text goes in.
    using PasteRule = std::function<QString(const QString&)>;

    explicit FilteredLineEdit(QWidget* parent = nullptr);

    void setKeyRule(KeyRule rule) { m_keyRule = std::move(rule); }
    void setPasteRule(PasteRule rule) { m_pasteRule = std::move(rule); }
    // Digits only, at most maxDigits: a digit is refused while the box is full and nothing in it
    // is selected to be replaced. Pasted text goes in only if it leaves nothing but digits.
    void takeDigitsOnly(int maxDigits);
    // Entering the box selects its whole text, after the click that brought the focus has
    // placed the caret.
    void selectAllOnEntry() { m_selectOnEntry = true; }
    // Esc's undo: the text as it was when the box got the focus, all of it selected (nothing while
    // the box is read-only).
    void restoreEntered();
    const QString& entered() const { return m_entered; }
    // The text shown now is what Esc puts back, as if the box had just got the focus.
    void rememberText() { m_entered = text(); }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    KeyRule m_keyRule;
    PasteRule m_pasteRule;
    QString m_entered;
    bool m_selectOnEntry = false;
};

// Return and the keypad's Enter.
bool isEnterKey(int key);

} // namespace norvik
