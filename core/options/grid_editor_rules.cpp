#include "core/options/grid_editor_rules.h"

namespace norvik {

bool fitsLength(int maxLength, std::size_t length, std::size_t selected) {
    return maxLength <= 0 || length < static_cast<std::size_t>(maxLength) || selected > 0;
}

bool isEditableCell(const GridEditorRules& rules, int row, int column) {
    return row >= 1 && row < rules.rows && column >= 1 && column < rules.columns;
}

std::optional<char> gridStartKey(const GridEditorRules& rules, int column, char c) {
    if (!isEditableCell(rules, 1, column))
        return std::nullopt;
    return rules.keys[column].startKey(c);
}

std::optional<char> gridEditorKey(const GridEditorRules& rules, int column, char c, std::size_t length,
                                  std::size_t selected) {
    if (!isEditableCell(rules, 1, column))
        return std::nullopt;
    if (!fitsLength(rules.maxLength, length, selected))
        return std::nullopt;
    return rules.keys[column].editorKey(c);
}

bool gridCommit(const GridEditorRules& rules, std::span<std::string> cells, int row, int column, std::string_view text,
                char decimalSeparator) {
    if (!isEditableCell(rules, row, column) || cells.size() < static_cast<std::size_t>(rules.columns))
        return false;
    if (rules.commit == GridEditorRules::Commit::KeepText) {
        cells[column] = std::string(text);
        return true;
    }
    TwoToneCode code{cells[1], cells[2], cells[3]};
    if (!commitTwoToneCell(code, row, column, text, decimalSeparator))
        return false;
    cells[1] = std::move(code.tone1);
    cells[2] = std::move(code.tone2);
    cells[3] = std::move(code.gap);
    return true;
}

GridMove gridMoveAfterCommit(const GridEditorRules& rules, int row, int column) {
    const bool lastRow = row >= rules.rows - 1;
    if (rules.walk == GridEditorRules::Walk::AcrossThenDownThenToneField) {
        if (column < rules.columns - 1)
            return {GridMove::Target::Cell, row, column + 1, rules.scrollOnMove};
        if (!lastRow)
            return {GridMove::Target::Cell, row + 1, 1, rules.scrollOnMove};
        return {GridMove::Target::FirstToneField};
    }
    if (!lastRow)
        return {GridMove::Target::Cell, row + 1, column, rules.scrollOnMove};
    return {GridMove::Target::SaveButton};
}

} // namespace norvik
