#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "core/channels/channel_edits.h"
#include "core/channels/channel_rules.h"
#include "core/channels/channel_table.h"
#include "core/image/channel_record.h"
#include "core/image/radio_document.h"
#include "core/strings/string_ids.h"
#include "helpers.h"

using namespace norvik;
using namespace norvik::test;

namespace {

// Everything an operation moves for one channel.
struct ChannelState {
    Bytes record, name;
    std::vector<std::string> texts;
    friend bool operator==(const ChannelState&, const ChannelState&) = default;
};

struct Fixture {
    RadioDocument doc;
    ChannelTable table{doc};

    // Channel n receives 136 + n * 0.1 MHz, transmits 0.6 MHz above, and is named "CH<n>".
    explicit Fixture(const std::vector<int>& used) {
        RadioImage img = doc.image();
        for (int n : used) {
            const Frequency rx = 13600000 + static_cast<Frequency>(n) * 10000;
            encodeFrequency(img, channelAddress(n) + rec::Rx, rx);
            encodeFrequency(img, channelAddress(n) + rec::Tx, rx + 60000);
            setBytes(img, channelAddress(n) + 8, hex("85 08 FF FF 04 00 46 00"));
            img.set(channelAddress(n) + rec::Flags14, static_cast<std::uint8_t>(n & 0x07)); // scrambler group
            encodeName(img, n, "CH" + std::to_string(n));
        }
        doc.replace(img, 0, RadioDocument::SavedImage::Take);
    }
    static std::vector<int> all() {
        std::vector<int> v(kChannelCount);
        std::iota(v.begin(), v.end(), 1);
        return v;
    }

    ChannelState state(int channel) const {
        ChannelState s{bytesAt(doc.image(), channelAddress(channel), kRowSize),
                       bytesAt(doc.image(), nameAddress(channel), kNameLength),
                       {}};
        for (int c = 1; c < kTableColumns; ++c)
            s.texts.push_back(table.text(channel, c));
        return s;
    }
    std::vector<ChannelState> states() const { // index = channel
        std::vector<ChannelState> out(1);
        for (int n = 1; n <= kChannelCount; ++n)
            out.push_back(state(n));
        return out;
    }
    void expectEmptied(int channel) const {
        EXPECT_EQ(state(channel).record, Bytes(kRowSize, 0xFF)) << channel;
        EXPECT_EQ(state(channel).texts, std::vector<std::string>(kTableColumns - 1)) << channel;
    }
};

} // namespace

TEST(ChannelEdits, CopyFiveMoveNineUpPasteIntoTwenty) {
    Fixture f({5, 8, 9});
    const ChannelState five = f.state(5), eight = f.state(8), nine = f.state(9);
    CopyBuffer buffer;
    ASSERT_TRUE(copyChannel(f.table, 5, buffer));

    f.table.current().set(9, 1);
    EXPECT_EQ(moveChannelUp(f.table), (EditResult{true, 8, 9, 8}));
    EXPECT_EQ(f.state(8), nine);
    EXPECT_EQ(f.state(9), eight);

    EXPECT_EQ(pasteChannel(f.table, 20, buffer), (EditResult{true, 20, 20, 20}));
    EXPECT_EQ(f.state(20), five);
    EXPECT_EQ(f.state(5), five);
    EXPECT_EQ(f.table.text(20, col::Channel), "20"); // the number column is never moved

    // Copying an empty channel keeps the earlier copy; a paste after a language switch shows
    // the new language's texts, not the copied ones.
    EXPECT_FALSE(copyChannel(f.table, 30, buffer));
    f.table.setLanguage(Language::Chinese);
    pasteChannel(f.table, 21, buffer);
    EXPECT_EQ(f.state(21).record, five.record);
    EXPECT_EQ(f.state(21).texts, f.state(5).texts);
    EXPECT_NE(f.table.text(21, col::Power), buffer.row.texts[col::Power]);
}

// The block operations on the image and the rows, at the start, in the middle and at the end,
// against what each must leave in every channel (record, name entry and row together).
TEST(ChannelRules, BlockOperationsMoveRecordsNamesAndRowsTogether) {
    enum class Op { Insert, Delete, Up, Down, Empty };
    struct Case {
        Op op;
        int first, last;
    };
    const Case cases[] = {
        {Op::Insert, 1, 1},   {Op::Insert, 64, 66},   {Op::Insert, 126, 128}, {Op::Delete, 1, 3},
        {Op::Delete, 64, 64}, {Op::Delete, 128, 128}, {Op::Up, 2, 4},         {Op::Up, 128, 128},
        {Op::Down, 1, 1},     {Op::Down, 60, 70},     {Op::Down, 125, 127},   {Op::Empty, 10, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.op)) + ": " + std::to_string(c.first) + "-" +
                     std::to_string(c.last));
        const Fixture f(Fixture::all());
        RadioImage image = f.doc.image();
        ChannelRows rows = channelRows(image, Language::English, '.');
        const auto state = [&](int n) {
            ChannelState s{
                bytesAt(image, channelAddress(n), kRowSize), bytesAt(image, nameAddress(n), kNameLength), {}};
            for (int col = 1; col < kTableColumns; ++col)
                s.texts.push_back(rows[static_cast<std::size_t>(n)].texts[static_cast<std::size_t>(col)]);
            return s;
        };
        std::vector<ChannelState> before(1), expected(1);
        for (int n = 1; n <= kChannelCount; ++n)
            before.push_back(state(n));
        expected = before;
        const auto emptied = [&](int n) {
            expected[n] = {Bytes(kRowSize, 0xFF), before[n].name, std::vector<std::string>(kTableColumns - 1)};
        };
        const int size = c.last - c.first + 1;
        bool ran = false;
        switch (c.op) {
        case Op::Insert:
            ran = insertChannels(image, rows, c.first, c.last);
            for (int n = c.last + 1; n <= kChannelCount; ++n)
                expected[n] = before[n - size];
            for (int n = c.first; n <= c.last; ++n)
                emptied(n);
            break;
        case Op::Delete:
            ran = deleteChannels(image, rows, c.first, c.last);
            for (int n = c.first; n + size <= kChannelCount; ++n)
                expected[n] = before[n + size];
            for (int n = kChannelCount - size + 1; n <= kChannelCount; ++n)
                emptied(n);
            break;
        case Op::Up:
        case Op::Down: {
            const int delta = c.op == Op::Up ? -1 : 1;
            ran = moveChannels(image, rows, c.first, c.last, delta);
            for (int n = c.first; n <= c.last; ++n)
                expected[n + delta] = before[n];
            expected[delta < 0 ? c.last : c.first] = before[delta < 0 ? c.first - 1 : c.last + 1];
            break;
        }
        case Op::Empty:
            ran = emptyChannels(image, rows, c.first, c.last);
            for (int n = c.first; n <= c.last; ++n)
                emptied(n);
            break;
        }
        EXPECT_TRUE(ran);
        for (int n = 1; n <= kChannelCount; ++n)
            ASSERT_EQ(state(n), expected[n]) << n;
        // Outside the records and names nothing moves.
        EXPECT_EQ(bytesAt(image, 0x810, 0xB0), bytesAt(f.doc.image(), 0x810, 0xB0));
        EXPECT_EQ(bytesAt(image, 0xC40, 0x3C0), bytesAt(f.doc.image(), 0xC40, 0x3C0));
    }
    // Blocks that cannot move or do not exist change nothing.
    {
        const Fixture f(Fixture::all());
        RadioImage image = f.doc.image();
        ChannelRows rows = channelRows(image, Language::English, '.');
        EXPECT_FALSE(moveChannels(image, rows, 1, 3, -1));
        EXPECT_FALSE(moveChannels(image, rows, 126, 128, 1));
        EXPECT_FALSE(insertChannels(image, rows, 5, 4));
        EXPECT_FALSE(deleteChannels(image, rows, 0, 2));
        EXPECT_EQ(image, f.doc.image());
    }
    // What an insert pushes past 128 is what the user is asked about.
    Fixture f({1, 126});
    EXPECT_FALSE(insertLosesChannels(f.doc.image(), 1, 2));
    EXPECT_TRUE(insertLosesChannels(f.doc.image(), 1, 3));
    EXPECT_FALSE(insertLosesLastChannel(f.table));
}

TEST(ChannelEdits, CasesThatDoNothingChangeNothing) {
    using Op = std::function<EditResult(ChannelTable&, CopyBuffer&)>;
    auto button = [](ChannelButton b) {
        return Op([b](ChannelTable& t, CopyBuffer&) { return runChannelButton(t, b); });
    };
    const std::vector<std::tuple<const char*, int, Op>> cases = {
        {"move up at 1", 1, button(ChannelButton::MoveUp)},
        {"move down at 128", 128, button(ChannelButton::MoveDown)},
        {"move up, none current", 0, button(ChannelButton::MoveUp)},
        {"move down, none current", 0, button(ChannelButton::MoveDown)},
        {"insert, none current", 0, button(ChannelButton::Insert)},
        {"delete, none current", 0, button(ChannelButton::Delete)},
        {"clear, none current", 0, button(ChannelButton::Clear)},
        {"paste before any copy", 3, [](ChannelTable& t, CopyBuffer& b) { return pasteChannel(t, 3, b); }},
        {"paste onto row 0", 0,
         [](ChannelTable& t, CopyBuffer& b) { return copyChannel(t, 1, b), pasteChannel(t, 0, b); }},
        {"clear row 0", 0, [](ChannelTable& t, CopyBuffer&) { return clearChannel(t, 0); }},
        {"copy of an empty channel", 2,
         [](ChannelTable& t, CopyBuffer& b) { return copyChannel(t, 2, b), pasteChannel(t, 3, b); }},
    };
    for (const auto& [what, current, op] : cases) {
        SCOPED_TRACE(what);
        Fixture f({1, 3, 128});
        f.table.current().set(current, 5);
        const RadioImage image = f.doc.image();
        const std::vector<ChannelState> before = f.states();
        CopyBuffer buffer;
        EXPECT_FALSE(op(f.table, buffer).ran);
        EXPECT_EQ(f.doc.image(), image);
        EXPECT_TRUE(f.states() == before);
        EXPECT_EQ(f.table.currentChannel(), current);
    }
}

TEST(ChannelEdits, SignalTypeOwnsTheAutoResponseBitAndByteFifteen) {
    Fixture f({6});
    RadioImage img = f.doc.image();
    const int base = channelAddress(6);
    const std::vector<std::string> types = fieldEntries(RecordField::SignalType, Language::English);
    const auto entry = [&](const char* name) {
        return static_cast<int>(std::find(types.begin(), types.end(), name) - types.begin());
    };
    setBytes(img, base + rec::Flags13, hex("0B 43"));

    setSignalType(img, 6, entry("5-Tone"));
    setAutoResponse(img, 6, 1);
    img.set(base + rec::Reserved15, 0x21);
    EXPECT_EQ(bytesAt(img, base + rec::Flags13, 3), hex("8B C3 21"));
    EXPECT_TRUE(isFiveTone(signalTypeEntry(img, 6)));
    setSignalType(img, 6, entry("5-Tone")); // choosing it again keeps its data
    EXPECT_EQ(bytesAt(img, base + rec::Flags13, 3), hex("8B C3 21"));

    setSignalType(img, 6, entry("2-Tone"));
    EXPECT_EQ(bytesAt(img, base + rec::Flags13, 3), hex("4B 43 00"));
    EXPECT_EQ(signalTypeEntry(img, 6), entry("2-Tone"));

    img.set(base + rec::Flags13, 0x3B); // nibble 3 is no type: shown as "None"
    EXPECT_EQ(signalTypeEntry(img, 6), entry("None"));
}

TEST(ChannelEdits, EachCommitAndOperationIsOneNamedUndoStepAndTheRowsFollow) {
    Fixture f({1, 2, 3});
    CopyBuffer buffer;
    copyChannel(f.table, 1, buffer);
    struct Step {
        const char* what;
        int label;
        unsigned areas;
        std::function<void()> run;
    };
    const std::vector<Step> steps = {
        {"cell commit", ids::ChangeCellEdit, area::Channels, [&] { f.table.commitCell(2, col::Rx, "146.5"); }},
        {"paste", ids::ChangePaste, area::Channels, [&] { pasteChannel(f.table, 5, buffer); }},
        {"insert", ids::ChangeInsert, area::Channels,
         [&] {
             f.table.current().set(1, 1);
             insertChannel(f.table);
         }},
        {"manual", ids::ChangeManual, area::Options, [&] { f.table.setManualChecked(!f.table.manualChecked()); }},
    };
    std::vector<DocumentChange> told;
    const auto subscription = f.doc.observe([&](const DocumentChange& c) { told.push_back(c); });
    std::vector<std::vector<ChannelState>> states{f.states()};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        told.clear();
        s.run();
        ASSERT_EQ(told.size(), 1U);
        EXPECT_EQ(told[0].areas, s.areas);
        EXPECT_EQ(f.doc.undoLabelId(), s.label);
        states.push_back(f.states());
    }
    for (std::size_t i = steps.size(); i-- > 0;) {
        f.doc.undo();
        EXPECT_TRUE(f.states() == states[i]) << "undo " << steps[i].what;
    }
    EXPECT_FALSE(f.doc.isModified());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        f.doc.redo();
        EXPECT_TRUE(f.states() == states[i + 1]) << "redo " << steps[i].what;
    }
}
