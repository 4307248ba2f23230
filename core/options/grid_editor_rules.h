#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/options/dtmf_page.h"
#include "core/options/msk_page.h"
#include "core/options/option_fields.h"
#include "core/options/two_tone_page.h"

namespace norvik {

// An editor holding `length` characters, `selected` of them selected, takes one more only while
// it is below `maxLength` (0: no limit) or when the key replaces a selection.
bool fitsLength(int maxLength, std::size_t length, std::size_t selected);

// Where the focus goes after a commit (or Enter on the grid, which commits the cell's present text).
struct GridMove {
    enum class Target {
        Cell,          // row/column become current, the grid keeps the focus
        SaveButton,    // the window's Save button
        FirstToneField // the 2-tone page's A tone field
    };
    Target target = Target::Cell;
    int row = 0;
    int column = 0;
    bool scrollIntoView = false; // the grid scrolls so that the new row stays in view
    friend bool operator==(const GridMove&, const GridMove&) = default;
};

// The keys of one editable column of a code grid.
struct GridColumnKeys {
    KeyFilter startKey = nullptr;  // typed on the grid: opens the editor holding just that character
    KeyFilter editorKey = nullptr; // what the open editor takes
};

// One code grid's in-cell editing: a fixed header row and a fixed number column, editable
// columns 1 to columns - 1 in rows 1 to rows - 1. A left press opens the editor on the current
// cell with the cell's text; a start key opens it with that one character, caret behind it. The
// cell's text at opening is kept, and Esc gives it back. Enter in the editor commits the
// editor's text, Enter on the grid commits the cell's present text; a commit that is taken
// moves the focus as `walk` says, one that is not leaves the cell as it was and the grid focused.
struct GridEditorRules {
    enum class Commit {
        KeepText,    // the cell takes the text unchanged
        TwoToneCode, // tone/gap limits and the row's tone and gap rules
    };
    enum class Walk {
        DownThenSave,               // next row, from the last row to the Save button
        AcrossThenDownThenToneField // next column, next row's column 1, after the last cell the A tone field
    };
    int rows = 11;
    int columns = 2;
    std::array<GridColumnKeys, 4> keys{}; // by column; column 0 is never edited
    int maxLength = 0;                    // of the editor's text, see fitsLength
    Commit commit = Commit::KeepText;
    Walk walk = Walk::DownThenSave;
    bool backspaceEmptiesCell = false; // Backspace on the grid (no editor open) empties the current cell
    bool scrollOnMove = false;
};

// Autodial numbers. A space has no digit code, so neither the grid nor the editor takes one.
inline constexpr GridEditorRules kDtmfGridRules{
    .rows = 11,
    .columns = 2,
    .keys = {{{}, {dtmfKey, dtmfKey}}},
    .maxLength = kAutodialDigits,
};

inline constexpr GridEditorRules kTwoToneGridRules{
    .rows = 11,
    .columns = 4,
    .keys = {{{}, {digitKey, toneKey}, {digitKey, toneKey}, {digitKey, digitKey}}},
    .commit = GridEditorRules::Commit::TwoToneCode,
    .walk = GridEditorRules::Walk::AcrossThenDownThenToneField,
    .backspaceEmptiesCell = true,
};

// Any hexadecimal digit may start an entry, but the editor itself takes only decimal digits and E.
inline constexpr GridEditorRules kMskGridRules{
    .rows = 11,
    .columns = 2,
    .keys = {{{}, {hexKey, mskDigitKey}}},
    .maxLength = kMskIdLength,
    .scrollOnMove = true,
};

bool isEditableCell(const GridEditorRules& rules, int row, int column);

// A key typed on the grid with no editor open: the editor's starting text, or nothing.
std::optional<char> gridStartKey(const GridEditorRules& rules, int column, char c);

// A key typed into the open editor holding `length` characters, `selected` of them selected.
std::optional<char> gridEditorKey(const GridEditorRules& rules, int column, char c, std::size_t length,
                                  std::size_t selected);

// Commits `text` into `column` of `row`. `cells` are the texts of that row by column (cells[0]
// the entry number), changed in place; other cells of the row may change with it. False: the
// text is refused and nothing changed. `decimalSeparator` is the one the locale shows.
bool gridCommit(const GridEditorRules& rules, std::span<std::string> cells, int row, int column, std::string_view text,
                char decimalSeparator = '.');

// Where the focus goes after a commit taken on the cell.
GridMove gridMoveAfterCommit(const GridEditorRules& rules, int row, int column);

} // namespace norvik
