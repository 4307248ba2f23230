#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "channels/channel_edits.h"
#include "channels/channel_table.h"
#include "image/channel_record.h"
#include "image/radio_document.h"

using namespace norvik;

namespace {

// Everything an operation moves for one channel.
struct ChannelState {
    std::vector<std::uint8_t> record;
    std::vector<std::uint8_t> name;
    std::vector<std::string> texts;
    friend bool operator==(const ChannelState&, const ChannelState&) = default;
};

ChannelState stateOf(const ChannelTable& t, int channel) {
    ChannelState s;
    const RadioImage& img = t.document().image();
    for (int i = 0; i < kRowSize; ++i)
        s.record.push_back(img.at(channelAddress(channel) + i));
    for (int i = 0; i < kNameLength; ++i)
        s.name.push_back(img.at(nameAddress(channel) + i));
    for (int c = 1; c < kTableColumns; ++c)
        s.texts.push_back(t.text(channel, c));
    return s;
}

std::vector<ChannelState> allStates(const ChannelTable& t) {
    std::vector<ChannelState> out(1); // index = channel
    for (int n = 1; n <= kChannelCount; ++n)
        out.push_back(stateOf(t, n));
    return out;
}

// Channel n receives 136 + n * 0.1 MHz, transmits 0.6 MHz above, and is named "CH<n>".
void useChannel(RadioDocument& doc, int n) {
    RadioImage& img = doc.image();
    const Frequency rx = 13600000 + static_cast<Frequency>(n) * 10000;
    encodeFrequency(img, channelAddress(n) + rec::Rx, rx);
    encodeFrequency(img, channelAddress(n) + rec::Tx, rx + 60000);
    const std::uint8_t rest[8] = {0x85, 0x08, 0xFF, 0xFF, 0x04, 0x00, 0x46, 0x00};
    for (int i = 0; i < 8; ++i)
        img.set(channelAddress(n) + 8 + i, rest[i]);
    img.set(channelAddress(n) + rec::Flags14, static_cast<std::uint8_t>(n & 0x07)); // scrambler group
    encodeName(img, n, "CH" + std::to_string(n));
}

struct Fixture {
    RadioDocument doc;
    ChannelTable table{doc};
    explicit Fixture(const std::vector<int>& used) {
        for (int n : used)
            useChannel(doc, n);
        table.fill();
    }
    static std::vector<int> all() {
        std::vector<int> v;
        for (int n = 1; n <= kChannelCount; ++n)
            v.push_back(n);
        return v;
    }
};

} // namespace

TEST(ChannelEdits, CopyFiveMoveNineUpPasteIntoTwenty) {
    Fixture f({5, 8, 9});
    const ChannelState five = stateOf(f.table, 5), eight = stateOf(f.table, 8), nine = stateOf(f.table, 9);
    CopyBuffer buffer;
    ASSERT_TRUE(copyChannel(f.table, 5, buffer));
    EXPECT_TRUE(buffer.holdsCopy);

    f.table.setCurrent(9, 1);
    EXPECT_EQ(moveChannelUp(f.table), (EditResult{true, 8, 9, 8}));
    EXPECT_EQ(stateOf(f.table, 8), nine);
    EXPECT_EQ(stateOf(f.table, 9), eight);

    EXPECT_EQ(pasteChannel(f.table, 20, buffer), (EditResult{true, 20, 20, 20}));
    EXPECT_EQ(stateOf(f.table, 20), five);
    EXPECT_EQ(stateOf(f.table, 5), five);
    EXPECT_EQ(f.table.text(20, col::Name), "CH5");
    EXPECT_EQ(f.table.text(20, col::Channel), "20"); // the number column is never moved
}

TEST(ChannelEdits, InsertAndDeleteShiftEveryChannelBehind) {
    struct Case {
        int channel;
        bool insert;
    };
    for (const Case c :
         {Case{1, true}, Case{64, true}, Case{128, true}, Case{1, false}, Case{64, false}, Case{128, false}}) {
        SCOPED_TRACE(std::to_string(c.channel) + (c.insert ? " insert" : " delete"));
        Fixture f(Fixture::all());
        const std::vector<ChannelState> before = allStates(f.table);
        f.table.setCurrent(c.channel, 3);
        EXPECT_TRUE(insertLosesLastChannel(f.table));
        const EditResult r = c.insert ? insertChannel(f.table) : deleteChannel(f.table);
        EXPECT_EQ(r, (EditResult{true, c.channel, kChannelCount, c.channel}));
        EXPECT_EQ(f.table.currentChannel(), c.channel);

        const std::vector<ChannelState> after = allStates(f.table);
        for (int n = 1; n < c.channel; ++n)
            ASSERT_EQ(after[n], before[n]) << n;
        // The emptied channel: record all 0xFF, texts empty, the name entry keeps its bytes.
        const int emptied = c.insert ? c.channel : kChannelCount;
        EXPECT_EQ(after[emptied].record, std::vector<std::uint8_t>(kRowSize, 0xFF));
        EXPECT_EQ(after[emptied].texts, std::vector<std::string>(kTableColumns - 1));
        EXPECT_EQ(after[emptied].name, before[emptied].name);
        if (c.insert) {
            for (int n = c.channel + 1; n <= kChannelCount; ++n)
                ASSERT_EQ(after[n], before[n - 1]) << n;
        } else {
            for (int n = c.channel; n < kChannelCount; ++n)
                ASSERT_EQ(after[n], before[n + 1]) << n;
        }
        EXPECT_EQ(c.insert && c.channel < kChannelCount, insertLosesLastChannel(f.table));
    }
}

TEST(ChannelEdits, LastChannelFreeMeansInsertLosesNothing) {
    Fixture f({1, 127});
    EXPECT_FALSE(insertLosesLastChannel(f.table));
    f.table.setCurrent(1, 1);
    insertChannel(f.table);
    EXPECT_TRUE(insertLosesLastChannel(f.table)); // 127 moved to 128
    EXPECT_EQ(f.table.text(128, col::Name), "CH127");
}

TEST(ChannelEdits, NameEntryStraddlingTwoRowsMovesWhole) {
    Fixture f({2, 3, 4});
    ASSERT_EQ(nameAddress(3), 0x8CE); // bytes 0x8CE..0x8D4: two in row 0x8C, five in row 0x8D
    encodeName(f.doc.image(), 3, "ABCDEFG");
    f.table.fill();
    const ChannelState three = stateOf(f.table, 3), four = stateOf(f.table, 4);

    f.table.setCurrent(3, 1);
    moveChannelDown(f.table);
    EXPECT_EQ(stateOf(f.table, 4), three);
    EXPECT_EQ(stateOf(f.table, 3), four);
    EXPECT_EQ(decodeName(f.doc.image(), 4), "ABCDEFG");
    for (int i = 0; i < kNameLength; ++i)
        EXPECT_EQ(f.doc.image().at(0x8D5 + i), "ABCDEFG"[i]);

    f.table.setCurrent(4, 1);
    deleteChannel(f.table); // channel 5 (empty) over 4, and so on
    f.table.setCurrent(3, 1);
    insertChannel(f.table);
    EXPECT_EQ(decodeName(f.doc.image(), 4), "CH4");
    EXPECT_EQ(decodeName(f.doc.image(), 3), "CH4"); // the emptied channel keeps the old bytes
}

TEST(ChannelEdits, ClearsEmptyTheRecordButKeepTheName) {
    for (const bool button : {false, true}) {
        SCOPED_TRACE(button ? "button bar" : "edit menu");
        Fixture f({7});
        f.table.setCurrent(7, 4);
        const EditResult r = button ? runChannelButton(f.table, ChannelButton::Clear) : clearChannel(f.table, 7);
        EXPECT_EQ(r, (EditResult{true, 7, 7, 7}));
        const ChannelState s = stateOf(f.table, 7);
        EXPECT_EQ(s.record, std::vector<std::uint8_t>(kRowSize, 0xFF));
        EXPECT_EQ(s.texts, std::vector<std::string>(kTableColumns - 1));
        EXPECT_EQ(decodeName(f.doc.image(), 7), "CH7");
        // A new frequency brings the old name back, as the record marks use, not the name.
        f.table.commitReceive(7, "145");
        EXPECT_EQ(f.table.text(7, col::Name), "CH7");
    }
}

TEST(ChannelEdits, CasesThatDoNothingChangeNothing) {
    struct Case {
        const char* what;
        int current;
        std::function<EditResult(ChannelTable&, CopyBuffer&)> op;
    };
    auto button = [](ChannelButton b) { return [b](ChannelTable& t, CopyBuffer&) { return runChannelButton(t, b); }; };
    const std::vector<Case> cases = {
        {"move up at 1", 1, button(ChannelButton::MoveUp)},
        {"move down at 128", 128, button(ChannelButton::MoveDown)},
        {"move up, none current", 0, button(ChannelButton::MoveUp)},
        {"move down, none current", 0, button(ChannelButton::MoveDown)},
        {"insert, none current", 0, button(ChannelButton::Insert)},
        {"delete, none current", 0, button(ChannelButton::Delete)},
        {"clear, none current", 0, button(ChannelButton::Clear)},
        {"paste before any copy", 3, [](ChannelTable& t, CopyBuffer& b) { return pasteChannel(t, 3, b); }},
        {"paste onto row 0", 0,
         [](ChannelTable& t, CopyBuffer& b) {
             copyChannel(t, 1, b);
             return pasteChannel(t, 0, b);
         }},
        {"clear row 0", 0, [](ChannelTable& t, CopyBuffer&) { return clearChannel(t, 0); }},
        {"copy of an empty channel", 2,
         [](ChannelTable& t, CopyBuffer& b) {
             EXPECT_FALSE(copyChannel(t, 2, b));
             return pasteChannel(t, 3, b);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f({1, 3, 128});
        f.table.setCurrent(c.current, 5);
        const RadioImage image = f.doc.image();
        const std::vector<ChannelState> before = allStates(f.table);
        CopyBuffer buffer;
        EXPECT_FALSE(c.op(f.table, buffer).ran);
        EXPECT_EQ(f.doc.image(), image);
        EXPECT_TRUE(allStates(f.table) == before);
        EXPECT_EQ(f.table.currentChannel(), c.current);
    }
}

TEST(ChannelEdits, CopyOfAnEmptyChannelKeepsTheEarlierCopy) {
    Fixture f({4});
    CopyBuffer buffer;
    ASSERT_TRUE(copyChannel(f.table, 4, buffer));
    const CopyBuffer held = buffer;
    EXPECT_FALSE(copyChannel(f.table, 9, buffer));
    EXPECT_EQ(buffer.record, held.record);
    EXPECT_EQ(buffer.texts, held.texts);
    pasteChannel(f.table, 9, buffer);
    EXPECT_EQ(stateOf(f.table, 9), stateOf(f.table, 4));
}

TEST(ChannelEdits, PasteAfterALanguageSwitchShowsTheNewLanguage) {
    Fixture f({4});
    CopyBuffer buffer;
    copyChannel(f.table, 4, buffer);
    f.table.setLanguage(Language::Chinese);
    pasteChannel(f.table, 9, buffer);
    EXPECT_EQ(stateOf(f.table, 9).texts, stateOf(f.table, 4).texts);
    EXPECT_NE(f.table.text(9, col::Power), buffer.texts[col::Power]);
}

TEST(ChannelEdits, SignalTypeOwnsTheAutoResponseBitAndByteFifteen) {
    Fixture f({6});
    RadioImage& img = f.doc.image();
    const int base = channelAddress(6);
    const std::vector<std::string> types = fieldEntries(RecordField::SignalType, Language::English);
    const auto entry = [&](const char* name) {
        return static_cast<int>(std::find(types.begin(), types.end(), name) - types.begin());
    };
    img.set(base + rec::Flags13, 0x0B);
    img.set(base + rec::Flags14, 0x43);

    setSignalType(img, 6, entry("5-Tone"));
    setAutoResponse(img, 6, 1);
    img.set(base + rec::Reserved15, 0x21);
    EXPECT_EQ(img.at(base + rec::Flags13), 0x8B);
    EXPECT_EQ(img.at(base + rec::Flags14), 0xC3);
    EXPECT_TRUE(isFiveTone(signalTypeEntry(img, 6)));

    setSignalType(img, 6, entry("5-Tone")); // choosing it again keeps its data
    EXPECT_EQ(img.at(base + rec::Flags14), 0xC3);
    EXPECT_EQ(img.at(base + rec::Reserved15), 0x21);

    setSignalType(img, 6, entry("2-Tone"));
    EXPECT_EQ(img.at(base + rec::Flags13), 0x4B);
    EXPECT_EQ(img.at(base + rec::Flags14), 0x43);
    EXPECT_EQ(img.at(base + rec::Reserved15), 0x00);
    EXPECT_EQ(signalTypeEntry(img, 6), entry("2-Tone"));

    img.set(base + rec::Flags13, 0x3B); // nibble 3 is no type: shown as "None"
    EXPECT_EQ(signalTypeEntry(img, 6), entry("None"));
}
