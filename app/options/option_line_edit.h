#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/common/filtered_line_edit.h"
#include "core/options/option_fields.h"

namespace norvik {

// A text field of the options pages. What the user types or pastes passes the field's key filter
// (programmatic texts are shown as given). Entering selects the whole text and remembers
// it, Esc puts it back; leaving, or commit(), applies the field's validation; Up and Down arrows
// apply its step rule.
class OptionLineEdit : public FilteredLineEdit {
    Q_OBJECT
public:
    using Validation = std::function<std::string(std::string_view)>;
    using Step = std::function<std::string(std::string_view, int direction)>;

    explicit OptionLineEdit(QWidget* parent = nullptr);

    void setKeyFilter(KeyFilter filter) { m_filter = filter; }
    void setValidation(Validation validation) { m_validation = std::move(validation); }
    void setStep(Step step) { m_step = std::move(step); }

    // Applies the validation now (Enter does before it moves on).
    void commit();

signals:
    // The text was validated or stepped: a buddy up-down control follows it.
    void committed();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // What of a typed or pasted text the key filter lets in, character by character.
    QString filtered(const QString& text) const;
    bool filterKey(QKeyEvent* event);
    void showRuleResult(const std::string& text);

    KeyFilter m_filter = nullptr;
    Validation m_validation;
    Step m_step;
};

} // namespace norvik
