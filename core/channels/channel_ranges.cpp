#include "core/channels/channel_ranges.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "core/channels/channel_csv.h"
#include "core/channels/csv_text.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

// "NRVC", the format's version, the channel count; then each channel's record and name.
constexpr std::array<char, 4> kClipMagic{'N', 'R', 'V', 'C'};
constexpr std::uint8_t kClipVersion = 1;
constexpr std::size_t kClipHeader = kClipMagic.size() + 2;
constexpr std::size_t kClipEntry = kRowSize + kNameLength;

std::size_t bit(int n) {
    return static_cast<std::size_t>(n);
}

int firstOf(const ChannelSet& set) {
    for (int n = 1; n <= kChannelCount; ++n) {
        if (set.test(bit(n)))
            return n;
    }
    return 0;
}

int lastOf(const ChannelSet& set) {
    for (int n = kChannelCount; n >= 1; --n) {
        if (set.test(bit(n)))
            return n;
    }
    return 0;
}

std::string lowerTrimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

int csvColumnOf(std::string_view cell) {
    const std::string name = lowerTrimmed(cell);
    for (int c = 0; c < kCsvColumnCount; ++c) {
        if (lowerTrimmed(csvColumnName(static_cast<CsvColumn>(c))) == name)
            return c;
    }
    return -1;
}

bool looksLikeFrequency(std::string_view cell) {
    return cell.find('.') != std::string_view::npos || cell.find(',') != std::string_view::npos;
}

void writeLine(std::string& out, const std::vector<std::string>& cells, char sep) {
    for (std::size_t i = 0; i < cells.size(); ++i)
        out += (i ? std::string(1, sep) : std::string()) + csvCell(cells[i], sep);
    out += '\n';
}

} // namespace

ChannelClip copyChannels(const RadioImage& image, const ChannelSet& channels) {
    ChannelClip clip;
    bool used = false;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (!channels.test(bit(n)))
            continue;
        ChannelBytes c;
        for (int i = 0; i < kRowSize; ++i)
            c.record[static_cast<std::size_t>(i)] = image.at(channelAddress(n) + i);
        for (int i = 0; i < kNameLength; ++i)
            c.name[static_cast<std::size_t>(i)] = image.at(nameAddress(n) + i);
        used = used || channelInUse(image, n);
        clip.push_back(c);
    }
    return used ? clip : ChannelClip{};
}

std::string encodeChannelClip(const ChannelClip& clip) {
    std::string out(kClipMagic.begin(), kClipMagic.end());
    out += static_cast<char>(kClipVersion);
    out += static_cast<char>(clip.size());
    for (const ChannelBytes& c : clip) {
        out.append(c.record.begin(), c.record.end());
        out.append(c.name.begin(), c.name.end());
    }
    return out;
}

std::optional<ChannelClip> decodeChannelClip(std::string_view bytes) {
    if (bytes.size() < kClipHeader || !std::equal(kClipMagic.begin(), kClipMagic.end(), bytes.begin()) ||
        static_cast<std::uint8_t>(bytes[4]) != kClipVersion)
        return std::nullopt;
    const std::size_t count = static_cast<std::uint8_t>(bytes[5]);
    if (count < 1 || count > static_cast<std::size_t>(kChannelCount) ||
        bytes.size() != kClipHeader + count * kClipEntry)
        return std::nullopt;
    ChannelClip clip(count);
    for (std::size_t k = 0; k < count; ++k) {
        const std::string_view entry = bytes.substr(kClipHeader + k * kClipEntry, kClipEntry);
        std::copy_n(entry.begin(), kRowSize, clip[k].record.begin());
        std::copy_n(entry.begin() + kRowSize, kNameLength, clip[k].name.begin());
    }
    return clip;
}

std::string channelsClipboardText(const RadioImage& image, const ChannelSet& channels) {
    // The export itself, cut down to the selected lines: the same columns and texts by making.
    const CsvTable file = readCsv(exportChannelsCsv(image));
    std::string out;
    for (std::size_t i = 0; i < file.records.size(); ++i) {
        const std::vector<std::string>& cells = file.records[i].cells;
        const int channel = i == 0 ? 0 : std::atoi(cells.front().c_str());
        if (i == 0 || (channel >= 1 && channel <= kChannelCount && channels.test(bit(channel))))
            writeLine(out, cells, '\t');
    }
    return out;
}

PastedText pastedTextAsCsv(std::string_view text, int first) {
    const CsvTable table = readCsv(csvTextAsUtf8(text));
    PastedText pasted;
    if (table.records.empty() && table.unclosedQuoteLine == 0)
        return pasted;

    std::vector<std::string> header;
    int channelAt = -1; // the pasted text's own channel column, replaced by the target channels
    std::size_t start = 0;
    const std::vector<std::string> firstCells =
        table.records.empty() ? std::vector<std::string>{} : table.records[0].cells;
    const bool hasHeader =
        std::any_of(firstCells.begin(), firstCells.end(), [](const std::string& c) { return csvColumnOf(c) >= 0; });
    if (hasHeader) {
        header = firstCells;
        for (std::size_t i = 0; i < header.size(); ++i) {
            if (csvColumnOf(header[i]) == static_cast<int>(CsvColumn::Channel))
                channelAt = static_cast<int>(i);
        }
        start = 1;
    } else {
        const bool fromRx = !firstCells.empty() && looksLikeFrequency(firstCells.front());
        const std::size_t width = firstCells.size();
        const int offset = fromRx ? 1 : 0;
        for (std::size_t i = 0; i < width && offset + static_cast<int>(i) < kCsvColumnCount; ++i)
            header.push_back(csvColumnName(static_cast<CsvColumn>(offset + static_cast<int>(i))));
        channelAt = fromRx ? -1 : 0;
    }

    std::vector<std::string> out = header;
    if (channelAt < 0)
        out.insert(out.begin(), csvColumnName(CsvColumn::Channel));
    writeLine(pasted.csv, out, ',');
    for (std::size_t i = start; i < table.records.size(); ++i) {
        std::vector<std::string> cells = table.records[i].cells;
        const std::string target = std::to_string(first + pasted.lines);
        if (channelAt < 0)
            cells.insert(cells.begin(), target);
        else if (static_cast<std::size_t>(channelAt) < cells.size())
            cells[static_cast<std::size_t>(channelAt)] = target;
        writeLine(pasted.csv, cells, ',');
        ++pasted.lines;
    }
    if (table.unclosedQuoteLine != 0) {
        // What followed the open quote is not taken; the import names it rather than it vanishing.
        pasted.csv += std::to_string(first + pasted.lines) + ",\"\n";
        ++pasted.lines;
    }
    return pasted;
}

bool pasteFits(int first, int count) {
    return first >= 1 && count >= 1 && first + count - 1 <= kChannelCount;
}

bool pasteOverwritesChannels(const RadioImage& image, int first, int count) {
    for (int n = std::max(first, 1); n < first + count && n <= kChannelCount; ++n) {
        if (channelInUse(image, n))
            return true;
    }
    return false;
}

bool insertLosesChannelCount(const RadioImage& image, int count) {
    return count >= 1 && count <= kChannelCount && insertLosesChannels(image, 1, count);
}

bool pasteChannelClip(RadioImage& image, int first, const ChannelClip& clip) {
    if (clip.empty() || !pasteFits(first, static_cast<int>(clip.size())))
        return false;
    for (std::size_t k = 0; k < clip.size(); ++k) {
        const int n = first + static_cast<int>(k);
        for (int i = 0; i < kRowSize; ++i)
            image.set(channelAddress(n) + i, clip[k].record[static_cast<std::size_t>(i)]);
        for (int i = 0; i < kNameLength; ++i)
            image.set(nameAddress(n) + i, clip[k].name[static_cast<std::size_t>(i)]);
        // A record from another copy of the program is taken as loading takes one.
        normaliseRecord(image, n);
    }
    return true;
}

void clearChannelSet(RadioImage& image, ChannelRows& rows, const ChannelSet& channels) {
    for (int n = 1; n <= kChannelCount; ++n) {
        if (channels.test(bit(n)))
            emptyChannels(image, rows, n, n);
    }
}

void deleteChannelSet(RadioImage& image, ChannelRows& rows, const ChannelSet& channels) {
    for (int n = kChannelCount; n >= 1; --n) {
        if (channels.test(bit(n)))
            deleteChannels(image, rows, n, n);
    }
}

void insertChannelSet(RadioImage& image, ChannelRows& rows, const ChannelSet& channels) {
    for (int n = kChannelCount; n >= 1; --n) {
        if (channels.test(bit(n)))
            insertChannels(image, rows, n, n);
    }
}

std::vector<int> setColumnOnChannels(RadioImage& image, ChannelRows& rows, const ChannelSet& channels, int column,
                                     std::string_view text, const ChannelStyle& style) {
    std::vector<int> refused;
    if (column < 1 || column >= kTableColumns)
        return refused;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (!channels.test(bit(n)) || !channelInUse(image, n))
            continue;
        // Tried on a copy: a refusal moves the frequency to the band edge, which is not asked for.
        RadioImage trial = image;
        ChannelRow row = rows[bit(n)];
        if (commitCell(trial, row, n, column, text, style).noticeId != 0) {
            refused.push_back(n);
            continue;
        }
        copyChannel(trial, n, image, n);
        rows[bit(n)] = row;
    }
    return refused;
}

namespace {

EditResult ranOver(const ChannelSet& changed, int current) {
    const int first = firstOf(changed);
    return first == 0 ? EditResult{} : EditResult{true, first, lastOf(changed), current};
}

ChannelSet upTo128From(int first) {
    ChannelSet set;
    for (int n = std::max(first, 1); n <= kChannelCount; ++n)
        set.set(bit(n));
    return set;
}

} // namespace

EditResult pasteChannels(ChannelTable& table, int first, const ChannelClip& clip) {
    if (clip.empty() || !pasteFits(first, static_cast<int>(clip.size())))
        return {};
    table.document().edit(
        ids::ChangePasteChannels, [&](RadioImage& image) { pasteChannelClip(image, first, clip); },
        static_cast<int>(clip.size()));
    return {true, first, first + static_cast<int>(clip.size()) - 1, first};
}

EditResult clearChannels(ChannelTable& table, const ChannelSet& channels) {
    if (channels.none())
        return {};
    table.editRows(
        ids::ChangeClearChannels, [&](RadioImage& image, ChannelRows& rows) { clearChannelSet(image, rows, channels); },
        static_cast<int>(channels.count()));
    return ranOver(channels, firstOf(channels));
}

EditResult deleteChannels(ChannelTable& table, const ChannelSet& channels) {
    if (channels.none())
        return {};
    table.editRows(
        ids::ChangeDeleteChannels,
        [&](RadioImage& image, ChannelRows& rows) { deleteChannelSet(image, rows, channels); },
        static_cast<int>(channels.count()));
    return ranOver(upTo128From(firstOf(channels)), firstOf(channels));
}

EditResult insertChannels(ChannelTable& table, const ChannelSet& channels) {
    if (channels.none())
        return {};
    table.editRows(
        ids::ChangeInsertChannels,
        [&](RadioImage& image, ChannelRows& rows) { insertChannelSet(image, rows, channels); },
        static_cast<int>(channels.count()));
    return ranOver(upTo128From(firstOf(channels)), firstOf(channels));
}

EditResult moveChannelBlock(ChannelTable& table, const ChannelSet& channels, int delta) {
    const int first = firstOf(channels);
    const int last = lastOf(channels);
    if (first == 0 || static_cast<int>(channels.count()) != last - first + 1 || (delta != 1 && delta != -1) ||
        first + delta < 1 || last + delta > kChannelCount)
        return {};
    table.editRows(delta < 0 ? ids::ChangeMoveUp : ids::ChangeMoveDown,
                   [&](RadioImage& image, ChannelRows& rows) { moveChannels(image, rows, first, last, delta); });
    return {true, std::min(first, first + delta), std::max(last, last + delta), first + delta};
}

std::vector<int> setColumnOnChannels(ChannelTable& table, const ChannelSet& channels, int column,
                                     std::string_view text) {
    // Tried on a copy first: the step is named by how many channels take the value.
    RadioImage trial = table.document().image();
    ChannelRows trialRows = table.rows();
    std::vector<int> refused = setColumnOnChannels(trial, trialRows, channels, column, text, table.style());
    int taking = 0;
    for (int n = 1; n <= kChannelCount; ++n)
        taking += channels.test(bit(n)) && channelInUse(table.document().image(), n) ? 1 : 0;
    taking -= static_cast<int>(refused.size());
    table.editRows(
        ids::ChangeSetColumn,
        [&](RadioImage& image, ChannelRows& rows) {
            refused = setColumnOnChannels(image, rows, channels, column, text, table.style());
        },
        std::max(taking, 0));
    return refused;
}

namespace {

// MHz text as 10 Hz units; nothing for a text that is not a number.
std::optional<long long> tensOfHertz(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    char* end = nullptr;
    const double mhz = std::strtod(text.c_str(), &end);
    if (text.empty() || end == text.c_str() || *end != '\0')
        return std::nullopt;
    return std::llround(mhz * 100000.0);
}

} // namespace

FillResult fillFrequencies(RadioImage& image, ChannelRows& rows, const std::vector<int>& channels, const FillPlan& plan,
                           const ChannelStyle& style) {
    FillResult result;
    const auto start = tensOfHertz(plan.start);
    const auto step = tensOfHertz(plan.step);
    if (!start || !step || channels.empty()) {
        result.readable = start.has_value() && step.has_value();
        return result;
    }
    RadioImage trial = image;
    ChannelRows trialRows = rows;
    for (std::size_t k = 0; k < channels.size(); ++k) {
        const int n = channels[k];
        if (n < 1 || n > kChannelCount)
            continue;
        ChannelRow& row = trialRows[bit(n)];
        const long long rx = *start + static_cast<long long>(k) * *step;
        bool refused = rx <= 0;
        if (!refused)
            refused = commitReceive(trial, row, n, frequencyText(static_cast<Frequency>(rx), '.'), style).noticeId != 0;
        if (!refused) {
            switch (plan.transmit) {
            case FillPlan::Transmit::Off:
                commitDuplex(trial, row, n, Duplex::Off, style);
                break;
            case FillPlan::Transmit::Plus:
            case FillPlan::Transmit::Minus:
                commitOffset(trial, row, n, plan.offsetOrTx, style);
                refused = commitDuplex(trial, row, n,
                                       plan.transmit == FillPlan::Transmit::Plus ? Duplex::Plus : Duplex::Minus, style)
                              .noticeId != 0;
                break;
            case FillPlan::Transmit::Fixed:
                refused = commitTransmit(trial, row, n, plan.offsetOrTx, style).noticeId != 0;
                break;
            }
        }
        if (refused)
            result.refused.push_back(n);
        if (k == 0)
            result.firstRx = row.texts[col::Rx];
        result.lastRx = row.texts[col::Rx];
    }
    if (result.refused.empty()) {
        image = trial;
        rows = trialRows;
    }
    return result;
}

FillResult previewFill(const RadioImage& image, const ChannelRows& rows, const std::vector<int>& channels,
                       const FillPlan& plan, const ChannelStyle& style) {
    RadioImage copy = image;
    ChannelRows copyRows = rows;
    return fillFrequencies(copy, copyRows, channels, plan, style);
}

FillResult fillFrequencies(ChannelTable& table, const std::vector<int>& channels, const FillPlan& plan) {
    FillResult result;
    table.editRows(
        ids::ChangeFill,
        [&](RadioImage& image, ChannelRows& rows) {
            result = fillFrequencies(image, rows, channels, plan, table.style());
        },
        static_cast<int>(channels.size()));
    return result;
}

void sortChannelSet(RadioImage& image, ChannelRows& rows, const ChannelSet& channels, SortKey key) {
    std::vector<int> places;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (channels.test(bit(n)))
            places.push_back(n);
    }
    std::vector<int> order = places;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const bool usedA = channelInUse(image, a), usedB = channelInUse(image, b);
        if (usedA != usedB)
            return usedA;
        if (!usedA)
            return false;
        if (key == SortKey::Receive)
            return decodeFrequency(image, channelAddress(a) + rec::Rx) <
                   decodeFrequency(image, channelAddress(b) + rec::Rx);
        return rows[bit(a)].texts[col::Name] < rows[bit(b)].texts[col::Name];
    });
    const RadioImage before = image;
    const ChannelRows beforeRows = rows;
    for (std::size_t k = 0; k < places.size(); ++k) {
        copyChannel(before, order[k], image, places[k]);
        rows[bit(places[k])] = beforeRows[bit(order[k])];
    }
}

EditResult sortChannels(ChannelTable& table, const ChannelSet& channels, SortKey key) {
    if (channels.count() < 2)
        return {};
    table.editRows(
        ids::ChangeSort, [&](RadioImage& image, ChannelRows& rows) { sortChannelSet(image, rows, channels, key); },
        static_cast<int>(channels.count()));
    return ranOver(channels, firstOf(channels));
}

int findChannel(const ChannelTable& table, std::string_view text, int after) {
    const std::string wanted = lowerTrimmed(text);
    if (wanted.empty())
        return 0;
    for (int k = 1; k <= kChannelCount; ++k) {
        const int n = (after + k - 1) % kChannelCount + 1;
        if (table.isEmpty(n))
            continue;
        // Either decimal point finds a frequency, whichever the grid shows.
        const auto point = [](std::string t) {
            std::replace(t.begin(), t.end(), ',', '.');
            return t;
        };
        const std::string name = lowerTrimmed(table.text(n, col::Name));
        if (name.find(wanted) != std::string::npos || point(table.text(n, col::Rx)).starts_with(point(wanted)) ||
            point(table.text(n, col::Tx)).starts_with(point(wanted)))
            return n;
    }
    return 0;
}

std::string channelListText(const std::vector<int>& channels) {
    std::string out;
    for (const int n : channels)
        out += (out.empty() ? "" : ", ") + std::to_string(n);
    return out;
}

} // namespace norvik
