#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/options/grid_editor_rules.h"

using namespace norvik;

constexpr std::optional<char> kNone = std::nullopt;

TEST(GridEditorRules, StartAndEditorKeysPerGrid) {
    struct Case {
        const char* what;
        const GridEditorRules& rules;
        int column;
        char key;
        std::size_t length, selected; // of the editor's text
        std::optional<char> start, editor;
    };
    const Case cases[] = {
        {"dtmf lower case letter", kDtmfGridRules, 1, 'c', 0, 0, 'C', 'C'},
        {"dtmf space refused", kDtmfGridRules, 1, ' ', 0, 0, kNone, kNone},
        {"dtmf E is no digit", kDtmfGridRules, 1, 'e', 0, 0, kNone, kNone},
        {"dtmf full", kDtmfGridRules, 1, '5', 16, 0, '5', kNone},
        {"dtmf full, some selected", kDtmfGridRules, 1, '5', 16, 1, '5', '5'},
        {"dtmf number column", kDtmfGridRules, 0, '5', 0, 0, kNone, kNone},
        {"2-tone point only in the editor", kTwoToneGridRules, 2, '.', 0, 0, kNone, '.'},
        {"2-tone comma only in the editor", kTwoToneGridRules, 1, ',', 0, 0, kNone, ','},
        {"2-tone gap takes no point", kTwoToneGridRules, 3, '.', 0, 0, kNone, kNone},
        {"msk letter starts", kMskGridRules, 1, 'a', 0, 0, 'A', kNone},
        {"msk e both", kMskGridRules, 1, 'e', 1, 0, 'E', 'E'},
        {"msk full", kMskGridRules, 1, '1', 4, 0, '1', kNone},
        {"msk full, all selected", kMskGridRules, 1, '1', 4, 4, '1', '1'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(gridStartKey(c.rules, c.column, c.key), c.start);
        EXPECT_EQ(gridEditorKey(c.rules, c.column, c.key, c.length, c.selected), c.editor);
    }
}

TEST(GridEditorRules, WhereTheFocusGoesAfterACommit) {
    using T = GridMove::Target;
    struct Case {
        const GridEditorRules& rules;
        int row, column;
        GridMove move;
    };
    const Case cases[] = {
        {kDtmfGridRules, 1, 1, {T::Cell, 2, 1, false}},      {kDtmfGridRules, 10, 1, {T::SaveButton}},
        {kMskGridRules, 9, 1, {T::Cell, 10, 1, true}},       {kMskGridRules, 10, 1, {T::SaveButton}},
        {kTwoToneGridRules, 5, 1, {T::Cell, 5, 2, false}},   {kTwoToneGridRules, 5, 3, {T::Cell, 6, 1, false}},
        {kTwoToneGridRules, 10, 2, {T::Cell, 10, 3, false}}, {kTwoToneGridRules, 10, 3, {T::FirstToneField}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.column);
        EXPECT_EQ(gridMoveAfterCommit(c.rules, c.row, c.column), c.move);
    }
}

TEST(GridEditorRules, CommitKeepsTheTextOrAppliesTheTwoToneRowRules) {
    std::vector<std::string> dtmf = {"3", "12"};
    EXPECT_TRUE(gridCommit(kDtmfGridRules, dtmf, 4, 1, "1E*"));
    EXPECT_EQ(dtmf[1], "1E*");                                 // taken unchanged, even what the editor would not type
    EXPECT_FALSE(gridCommit(kDtmfGridRules, dtmf, 0, 1, "9")); // header row
    EXPECT_EQ(dtmf[1], "1E*");

    std::vector<std::string> row5 = {"4", "1000.0", "2000.0", "100"};
    EXPECT_FALSE(gridCommit(kTwoToneGridRules, row5, 5, 2, "1,2,3")); // not a number: nothing changes
    EXPECT_EQ(row5, (std::vector<std::string>{"4", "1000.0", "2000.0", "100"}));
    EXPECT_TRUE(gridCommit(kTwoToneGridRules, row5, 5, 1, "", ','));
    EXPECT_EQ(row5, (std::vector<std::string>{"4", "", "", ""}));
}
