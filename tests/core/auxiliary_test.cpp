#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/auxiliary/embedded_message.h"
#include "core/auxiliary/memory_map.h"
#include "core/auxiliary/radio_presets.h"
#include "core/image/channel_record.h"
#include "helpers.h"

using namespace norvik;
using namespace norvik::test;

TEST(MemoryMap, LabelsAndAddressText) {
    struct Case {
        int address;
        const char* rowLabel;
        const char* shown;
    };
    for (const Case& c : std::vector<Case>{{0x005, "0", "05"}, {0x1AF, "1A", "1AF"}, {0xFFF, "FF", "FFF"}}) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(memoryMapRowLabel(c.address / 16), c.rowLabel);
        EXPECT_EQ(memoryMapAddressText(c.address), c.shown);
    }
    EXPECT_EQ(memoryMapAddress({256, 16}), 0xFFF);
    EXPECT_EQ(memoryMapColumnLabel(10), "A");
    EXPECT_EQ(hexByteText(0x0A), "0A");
}

TEST(MemoryMap, EditorKeysAndTheTextLeftInTheCell) {
    struct Key {
        char c;
        std::size_t length, selected;
        std::optional<char> typed;
    };
    const std::vector<Key> keys = {
        {'a', 0, 0, 'A'},
        {'b', 1, 0, 'B'},
        {'9', 0, 0, '9'},
        {'G', 0, 0, std::nullopt},
        {' ', 0, 0, {}},
        {'c', 2, 0, {}},
        {'c', 2, 1, 'C'} /* over a selection */,
    };
    for (const Key& k : keys) {
        SCOPED_TRACE(std::string(1, k.c) + " at length " + std::to_string(k.length));
        EXPECT_EQ(hexEditorKey(k.c, k.length, k.selected), k.typed);
    }
    // Typing a then b gives AB; an emptied cell is FF and a single digit takes a zero behind it.
    std::string typed;
    for (char c : {'a', 'b'})
        typed += *hexEditorKey(c, typed.size(), 0);
    EXPECT_EQ(hexCellValue(typed), 0xAB);
    EXPECT_EQ(hexCellValue(""), 0xFF);
    EXPECT_EQ(hexCellValue("7"), 0x70);
    EXPECT_EQ(hexCellValue("A"), 0xA0);
}

TEST(MemoryMap, EnterWalksRightThenDownUntilRow128) {
    struct Case {
        MapCell from, to;
    };
    const std::vector<Case> cases = {
        {{1, 1}, {1, 2}},       {{1, 16}, {2, 1}},      {{127, 16}, {128, 1}},  {{128, 15}, {128, 16}},
        {{128, 16}, {128, 16}}, {{200, 16}, {200, 16}}, {{256, 16}, {256, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from.row) + "," + std::to_string(c.from.column));
        EXPECT_EQ(memoryMapCellAfterEnter(c.from), c.to);
    }
}

TEST(RadioPresets, TypedFrequencyRoundsToFiveKilohertzAndClampsWithNotice) {
    struct Case {
        const char* typed;
        Frequency value;
        bool outOfRange;
    };
    const std::vector<Case> cases = {
        {"88.1", 8810000, false},
        {"88.1023", 8810000, false},
        {"88.1026", 8810500, false},
        {"88.1025", 8810500, false},
        {"88,1026", 8810500, false},
        {"65", 7000000, true},
        {"69.999", 7000000, true},
        {".", 7000000, true},
        {"108", 10797500, true},
        {"107.976", 10797500, true},
        {"107.975", 10797500, false},
        {"70", 7000000, false},
        {"", 0, false},
        {"8,8,8", 7000000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(presetFromText(c.typed), (PresetEntry{c.value, c.outOfRange}));
    }
    for (char c : std::string("0123456789.,"))
        EXPECT_TRUE(presetEditorAccepts(c)) << c;
    for (char c : std::string("-+ eA"))
        EXPECT_FALSE(presetEditorAccepts(c)) << c;
}

TEST(RadioPresets, LoadAndSaveTheSelectionAndTheFrequencyBytes) {
    RadioImage img;
    setBytes(img, radioPresetAddress(1), hex("08 75 00 00"));
    setBytes(img, radioPresetAddress(25), hex("10 79 75 00"));
    setBytes(img, 0x8B4, hex("08 75 00 00"));
    RadioPresets p = loadRadioPresets(img);
    EXPECT_EQ(p.selected, 0); // 0x839 = 0xFF opens on CH1
    EXPECT_EQ(p.frequencies[0], 8750000U);
    EXPECT_EQ(p.frequencies[1], 0U); // erased: shown empty
    EXPECT_EQ(p.frequencies[24], 10797500U);

    p.frequencies[0] = 0; // a cleared preset
    p.frequencies[1] = 8810500;
    saveRadioPresets(img, p);
    EXPECT_EQ(img.at(kRadioSelectedAddress), 0x00);
    EXPECT_EQ(bytesAt(img, radioPresetAddress(1), 8), hex("FF FF FF FF 08 81 05 00"));
    EXPECT_EQ(bytesAt(img, radioPresetAddress(25), 8), hex("10 79 75 00 08 75 00 00")); // 0x8B4 stays
    EXPECT_EQ(loadRadioPresets(img), p);

    img.set(kRadioSelectedAddress, 24);
    EXPECT_EQ(loadRadioPresets(img).selected, 24);
    img.set(kRadioSelectedAddress, 25);
    EXPECT_EQ(loadRadioPresets(img).selected, 0);
}

TEST(RadioPresets, GridPlacesThePresetsInThreeColumnPairs) {
    struct Case {
        int preset;
        PresetCell cell;
    };
    for (const Case& c : std::vector<Case>{{1, {1, 1}}, {10, {10, 1}}, {11, {1, 3}}, {25, {5, 5}}}) {
        SCOPED_TRACE(c.preset);
        EXPECT_EQ(presetCell(c.preset), c.cell);
        EXPECT_EQ(presetAtFrequencyCell(c.cell), c.preset);
        EXPECT_EQ(presetAtNumberCell({c.cell.row, c.cell.column - 1}), c.preset);
        EXPECT_EQ(presetAtNumberCell(c.cell), 0);
    }
    EXPECT_EQ(presetAtFrequencyCell({6, 5}), 0);
    EXPECT_EQ(presetAtNumberCell({6, 4}), 0);
    EXPECT_EQ(presetAtFrequencyCell({0, 1}), 0);
}

TEST(RadioPresets, EnterWalksDownAndAcrossThenLeavesTheGrid) {
    struct Case {
        PresetCell from;
        std::optional<PresetCell> to;
    };
    const std::vector<Case> cases = {
        {{1, 1}, PresetCell{2, 1}}, {{10, 1}, PresetCell{1, 3}}, {{10, 3}, PresetCell{1, 5}},
        {{4, 5}, PresetCell{5, 5}}, {{5, 5}, std::nullopt},      {{3, 2}, PresetCell{3, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from.row) + "," + std::to_string(c.from.column));
        EXPECT_EQ(presetCellAfterEnter(c.from), c.to);
    }
}

TEST(EmbeddedMessage, TypingAndPastingKeepSixteenStorableCharacters) {
    struct Case {
        const char* what;
        std::size_t length, selected;
        std::u32string typed, inserted;
    };
    const std::vector<Case> cases = {
        {"into an empty box", 0, 0, U"HELLO", U"HELLO"},
        {"a seventeenth character", 16, 0, U"X", U""},
        {"over a selection in a full box", 16, 1, U"X", U"X"},
        {"a long paste is cut", 10, 2, U"ABCDEFGHIJ", U"ABCDEFGH"},
        {"codes a byte cannot hold", 0, 0, U"A\u20ACB\u00FF\n\u00E9", U"AB\u00E9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(messageInsertion(c.length, c.selected, c.typed), c.inserted);
    }
}
