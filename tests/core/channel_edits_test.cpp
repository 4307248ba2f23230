#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "core/channels/channel_csv.h"
#include "core/channels/channel_edits.h"
#include "core/channels/channel_ranges.h"
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

ChannelState stateOf(const RadioImage& image, const ChannelRows& rows, int n) {
    const auto& texts = rows[static_cast<std::size_t>(n)].texts;
    return {bytesAt(image, channelAddress(n), kRowSize), bytesAt(image, nameAddress(n), kNameLength),
            std::vector<std::string>(texts.begin() + 1, texts.end())};
}

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

    ChannelState state(int channel) const { return stateOf(doc.image(), table.rows(), channel); }
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
        const auto state = [&](int n) { return stateOf(image, rows, n); };
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

namespace {

ChannelSet setOf(std::initializer_list<int> channels) {
    ChannelSet s;
    for (int n : channels)
        s.set(static_cast<std::size_t>(n));
    return s;
}

} // namespace

// Each operation on a selection, at the start, in the middle, at the end and with gaps, against
// a model of where every channel must end up (0: emptied, its name entry kept); one undo takes
// it all back.
TEST(ChannelRanges, SelectionOperationsMoveWholeChannelsAndUndoAsOneStep) {
    enum class Op { Delete, Insert, Clear, Up, Down, Paste };
    struct Case {
        Op op;
        ChannelSet set;
        int pasteAt = 0;
    };
    const Case cases[] = {
        {Op::Delete, setOf({1, 2, 3})},  {Op::Delete, setOf({60, 61})},      {Op::Delete, setOf({126, 127, 128})},
        {Op::Delete, setOf({2, 5, 9})},  {Op::Insert, setOf({1, 2})},        {Op::Insert, setOf({64, 65, 66})},
        {Op::Insert, setOf({127, 128})}, {Op::Insert, setOf({3, 7})},        {Op::Clear, setOf({1, 64, 128})},
        {Op::Up, setOf({2, 3, 4})},      {Op::Down, setOf({125, 126, 127})}, {Op::Paste, setOf({1, 2, 3}), 60},
        {Op::Paste, setOf({5, 9}), 127}, {Op::Paste, setOf({126, 128}), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.op)) + " " + c.set.to_string().substr(0, 20));
        Fixture f(Fixture::all());
        const std::vector<ChannelState> before = f.states();
        std::vector<int> from(kChannelCount + 1); // channel n ends up holding what channel from[n] held
        std::iota(from.begin(), from.end(), 0);
        std::vector<int> selected;
        for (int n = 1; n <= kChannelCount; ++n) {
            if (c.set.test(static_cast<std::size_t>(n)))
                selected.push_back(n);
        }
        EditResult r;
        switch (c.op) {
        case Op::Delete:
            std::erase_if(from, [&](int n) { return n > 0 && c.set.test(static_cast<std::size_t>(n)); });
            r = deleteChannels(f.table, c.set);
            break;
        case Op::Insert:
            for (auto n = selected.rbegin(); n != selected.rend(); ++n)
                from.insert(from.begin() + *n, 0);
            r = insertChannels(f.table, c.set);
            break;
        case Op::Clear:
            for (int n : selected)
                from[n] = 0;
            r = clearChannels(f.table, c.set);
            break;
        case Op::Up:
        case Op::Down: {
            const int delta = c.op == Op::Up ? -1 : 1;
            const int first = selected.front(), last = selected.back();
            for (int n = first; n <= last; ++n)
                from[n + delta] = n;
            from[delta < 0 ? last : first] = delta < 0 ? first - 1 : last + 1;
            r = moveChannelBlock(f.table, c.set, delta);
            break;
        }
        case Op::Paste: {
            const ChannelClip clip = copyChannels(f.doc.image(), c.set);
            ASSERT_EQ(clip.size(), selected.size());
            const bool fits = pasteFits(c.pasteAt, static_cast<int>(clip.size()));
            if (fits) {
                for (std::size_t k = 0; k < selected.size(); ++k)
                    from[static_cast<std::size_t>(c.pasteAt) + k] = selected[k];
            }
            // Through the clipboard's own format, as another copy of the program would paste it.
            const auto decoded = decodeChannelClip(encodeChannelClip(clip));
            ASSERT_TRUE(decoded.has_value());
            r = pasteChannels(f.table, c.pasteAt, *decoded);
            EXPECT_EQ(r.ran, fits);
            break;
        }
        }
        from.resize(kChannelCount + 1);
        for (int n = 1; n <= kChannelCount; ++n) {
            const ChannelState& got = f.state(n);
            if (from[n] == 0) {
                f.expectEmptied(n);
            } else {
                ASSERT_EQ(got.record, before[from[n]].record) << n;
                ASSERT_EQ(got.texts, before[from[n]].texts) << n;
                if (c.op != Op::Clear) {
                    ASSERT_EQ(got.name, before[from[n]].name) << n;
                }
            }
        }
        if (r.ran) {
            f.doc.undo();
            EXPECT_EQ(f.states(), before);
            EXPECT_FALSE(f.doc.canUndo());
        }
    }
    // A set with gaps does not move; pushing channels in use past 128 is asked about.
    Fixture f({1, 126});
    EXPECT_FALSE(moveChannelBlock(f.table, setOf({2, 4}), 1).ran);
    EXPECT_FALSE(insertLosesChannelCount(f.doc.image(), 2));
    EXPECT_TRUE(insertLosesChannelCount(f.doc.image(), 3));
    EXPECT_TRUE(pasteOverwritesChannels(f.doc.image(), 125, 2));
    EXPECT_FALSE(pasteOverwritesChannels(f.doc.image(), 2, 100));
    EXPECT_TRUE(copyChannels(f.doc.image(), setOf({2, 3})).empty());
}

// Whatever another program puts under the type is refused whole, never half read.
TEST(ChannelRanges, MalformedClipboardBytesAreRefused) {
    Fixture f({5, 6});
    const std::string good = encodeChannelClip(copyChannels(f.doc.image(), setOf({5, 6})));
    ASSERT_EQ(good.size(), 6U + 2 * (kRowSize + kNameLength));
    std::string badVersion = good, countZero = good, countHigh = good, badMagic = good;
    badVersion[4] = 2;
    countZero[5] = 0;
    countHigh[5] = 3;
    badMagic[0] = 'X';
    for (const std::string& bytes : {std::string(), good.substr(0, 5), good.substr(0, good.size() - 1), good + "x",
                                     badVersion, countZero, countHigh, badMagic})
        EXPECT_FALSE(decodeChannelClip(bytes).has_value()) << bytes.size();
    EXPECT_TRUE(decodeChannelClip(good).has_value());
}

// The text form is the export's columns and texts, tab-separated; pasted back from a
// spreadsheet, with or without a header, it lands from the chosen channel on through the import's
// rules, a refused line named and the others taken.
TEST(ChannelRanges, SpreadsheetTextGoesOutAsTheExportAndComesBackThroughTheImport) {
    Fixture f({5, 9});
    const std::string text = channelsClipboardText(f.doc.image(), setOf({5, 9, 30}));
    std::vector<std::string> lines;
    for (std::size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
        lines.push_back(text.substr(at, nl - at));
    ASSERT_EQ(lines.size(), 3U);
    std::string header = exportChannelsCsv(f.doc.image());
    header = header.substr(0, header.find('\n'));
    std::replace(header.begin(), header.end(), ',', '\t');
    EXPECT_EQ(lines[0], header);
    EXPECT_EQ(lines[1].substr(0, 2), "5\t");
    EXPECT_EQ(std::count(lines[1].begin(), lines[1].end(), '\t'), kCsvColumnCount - 1);

    struct Case {
        const char* what;
        std::string pasted;
        int at;
        std::vector<int> taken; // channels that then show the RX of channel 5 or 9 in turn
        int refused;
    };
    const std::string rx5 = f.table.text(5, col::Rx), rx9 = f.table.text(9, col::Rx);
    const Case cases[] = {
        {"own text with its header", text, 40, {40, 41}, 0},
        {"without a header, channel column first", lines[1] + "\n" + lines[2] + "\n", 50, {50, 51}, 0},
        {"without a header, from RX Freq", rx5 + ",,\r\n" + rx9 + ",,\r\n", 60, {60, 61}, 0},
        {"a refused line", "RX Freq\tCH.Name\n" + rx5 + "\tA\nabc\tB\n" + rx9 + "\tC\n", 70, {70, 72}, 1},
        {"a quote left open", "RX Freq,CH.Name\n" + rx5 + ",\"AB\n", 80, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PastedText p = pastedTextAsCsv(c.pasted, c.at);
        const CsvImport imp = importChannelsCsv(p.csv, f.doc.image());
        EXPECT_EQ(imp.refusedCount(), c.refused);
        EXPECT_EQ(imp.changedCount(), static_cast<int>(c.taken.size()));
        const ChannelRows rows = channelRows(imp.image, Language::English, '.');
        for (std::size_t k = 0; k < c.taken.size(); ++k)
            EXPECT_EQ(rows[static_cast<std::size_t>(c.taken[k])].texts[col::Rx], k == 0 ? rx5 : rx9);
        if (c.refused == 1 && c.taken.size() == 2) {
            EXPECT_EQ(rows[72].texts[col::Name], "C");
        }
    }
    // The whole own text reproduces the channels' bytes.
    const CsvImport back = importChannelsCsv(pastedTextAsCsv(text, 40).csv, f.doc.image());
    EXPECT_EQ(bytesAt(back.image, channelAddress(40), kRowSize), f.state(5).record);
    EXPECT_EQ(bytesAt(back.image, nameAddress(41), kNameLength), f.state(9).name);
}

// One value into many channels: every selected channel in use takes it through the typing rule,
// an empty one stays empty; a value the rule refuses leaves every channel as it was.
TEST(ChannelRanges, OneValueIntoManyChannels) {
    Fixture f({10, 11, 12, 13, 14});
    const ChannelSet set = setOf({10, 11, 12, 13, 14, 15});
    EXPECT_TRUE(setColumnOnChannels(f.table, set, col::Name, "FLEET").empty());
    EXPECT_TRUE(setColumnOnChannels(f.table, set, col::Tx, "150.000").empty());
    for (int n = 10; n <= 14; ++n) {
        EXPECT_EQ(f.table.text(n, col::Name), "FLEET");
        EXPECT_EQ(f.table.text(n, col::Tx), "150.00000");
    }
    EXPECT_TRUE(f.table.isEmpty(15));
    const std::vector<ChannelState> before = f.states();
    EXPECT_EQ(setColumnOnChannels(f.table, set, col::Tx, "999.000"), (std::vector<int>{10, 11, 12, 13, 14}));
    EXPECT_EQ(f.states(), before);
    EXPECT_EQ(channelListText({3, 7, 12}), "3, 7, 12");
    f.doc.undo();
    f.doc.undo();
    EXPECT_EQ(f.table.text(10, col::Name), "CH10");
}

// Fill across the top of a band: the channel that would leave it is named and nothing is written;
// inside the band every channel takes its step and its transmit frequency.
TEST(ChannelRanges, FillRefusesWholeAcrossABandEdgeAndStepsInsideIt) {
    Fixture f({10});
    const std::vector<int> channels{10, 11, 12, 13};
    struct Case {
        FillPlan plan;
        std::vector<int> refused;
        std::vector<std::string> rx, tx;
    };
    using T = FillPlan::Transmit;
    const Case cases[] = {
        {{"173.950", "0.025", T::Off, ""}, {13}, {}, {}},
        {{"145,000", "0.0125", T::Plus, "0.6"},
         {},
         {"145.00000", "145.01250", "145.02500", "145.03750"},
         {"145.60000", "145.61250", "145.62500", "145.63750"}},
        {{"440.000", "-0.1", T::Fixed, "435.000"},
         {},
         {"440.00000", "439.90000", "439.80000", "439.70000"},
         {"435.00000", "435.00000", "435.00000", "435.00000"}},
        {{"150.000", "0.1", T::Fixed, "300.000"}, {10, 11, 12, 13}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plan.start);
        const std::vector<ChannelState> before = f.states();
        const FillResult preview = previewFill(f.doc.image(), channelRows(f.doc.image(), Language::English, '.'),
                                               channels, c.plan, f.table.style());
        EXPECT_EQ(f.states(), before);
        const FillResult r = fillFrequencies(f.table, channels, c.plan);
        EXPECT_EQ(r.refused, c.refused);
        EXPECT_EQ(preview.refused, c.refused);
        if (!c.refused.empty()) {
            EXPECT_EQ(f.states(), before);
            continue;
        }
        EXPECT_EQ(preview.firstRx, c.rx.front());
        EXPECT_EQ(preview.lastRx, c.rx.back());
        for (std::size_t k = 0; k < channels.size(); ++k) {
            EXPECT_EQ(f.table.text(channels[k], col::Rx), c.rx[k]);
            EXPECT_EQ(f.table.text(channels[k], col::Tx), c.tx[k]);
        }
        f.doc.undo();
        EXPECT_EQ(f.states(), before);
    }
    EXPECT_FALSE(fillFrequencies(f.table, channels, {"abc", "0.1", T::Off, ""}).readable);
}

// Sort keeps equal keys in their order and puts empty channels at the end of the sorted block;
// Find goes round past channel 128.
TEST(ChannelRanges, SortIsStableWithEmptyChannelsLastAndFindGoesRound) {
    Fixture f({1, 2, 3, 5, 6, 7});
    const char* rx[] = {nullptr, "150.000", "140.000", "150.000", nullptr, "140.000", "145.000"};
    for (int n : {1, 2, 3, 5, 6})
        f.table.commitReceive(n, rx[n]);
    const std::vector<ChannelState> before = f.states();
    sortChannels(f.table, setOf({1, 2, 3, 4, 5, 6}), SortKey::Receive);
    const int byRx[] = {2, 5, 6, 1, 3};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(f.state(k + 1), before[byRx[k]]) << k;
    f.expectEmptied(6);
    EXPECT_EQ(f.state(7), before[7]); // outside the sorted block
    sortChannels(f.table, setOf({1, 2, 3, 4, 5, 6}), SortKey::Name);
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(f.table.text(k, col::Name), "CH" + std::to_string(k < 4 ? k : k + 1));
    f.doc.undo();
    f.doc.undo();
    EXPECT_EQ(f.states(), before);

    EXPECT_EQ(findChannel(f.table, "ch5", 0), 5);
    EXPECT_EQ(findChannel(f.table, "140,0", 2), 5);
    EXPECT_EQ(findChannel(f.table, "140.0", 5), 2); // round past 128
    EXPECT_EQ(findChannel(f.table, "nothing", 0), 0);
    EXPECT_EQ(findChannel(f.table, "  ", 0), 0);
}
