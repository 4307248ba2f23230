#include "core/channels/channel_csv.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "core/channels/channel_edits.h"
#include "core/channels/channel_rules.h"
#include "core/channels/csv_text.h"
#include "core/image/number_format.h"
#include "core/image/tones.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

using Kind = CsvProblem::Kind;

constexpr Language kFileLanguage = Language::English;
constexpr char kFilePoint = '.';

// The grid column each file column mirrors (0 for the panel's fields), and its record field.
struct ColumnDef {
    int tableColumn;
    int headerId;
    std::optional<RecordField> field;
};

const ColumnDef& def(CsvColumn c) {
    static const std::array<ColumnDef, kCsvColumnCount> defs = {{
        {col::Channel, ids::HeaderChannel, {}},
        {col::Rx, ids::HeaderRxFreq, {}},
        {col::Tx, ids::HeaderTxFreq, {}},
        {col::Decode, ids::HeaderDecode, {}},
        {col::Encode, ids::HeaderEncode, {}},
        {col::Power, ids::HeaderTxPower, RecordField::Power},
        {col::Scan, ids::HeaderScanAdd, RecordField::Scan},
        {col::Bandwidth, ids::HeaderWidthNarrow, RecordField::Bandwidth},
        {col::Name, ids::HeaderName, {}},
        {col::Bcl, ids::HeaderBcl, RecordField::Bcl},
        {col::PttId, ids::HeaderPttId, RecordField::PttId},
        {col::Vox, ids::HeaderVox, RecordField::Vox},
        {col::Option, ids::HeaderOption, RecordField::Option},
        {col::Scrambler, ids::HeaderScrambler, RecordField::ScramblerGroup},
        {col::Offset, ids::HeaderOffset, {}},
        {col::Duplex, ids::HeaderDuplex, {}},
        {0, ids::OptionSignal, RecordField::SignalType},
        {0, ids::AutoResponse, RecordField::AutoResponse},
    }};
    return defs[static_cast<std::size_t>(c)];
}

constexpr std::array<CsvColumn, 8> kListColumns = {CsvColumn::Power,  CsvColumn::Scan,     CsvColumn::Bandwidth,
                                                   CsvColumn::Bcl,    CsvColumn::PttId,    CsvColumn::Vox,
                                                   CsvColumn::Option, CsvColumn::Scrambler};

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

std::string trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return std::string(s.substr(first, s.find_last_not_of(" \t") - first + 1));
}

// Digits with at most one decimal point, "." or ",": what a frequency cell may hold.
bool plainNumber(std::string_view s) {
    int digits = 0, points = 0;
    for (char c : s) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.' || c == ',')
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

std::optional<int> entryOf(const std::vector<std::string>& entries, std::string_view cell) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (sameText(entries[i], cell))
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::string joined(const std::vector<std::string>& entries) {
    std::string out;
    for (const std::string& e : entries)
        out += (out.empty() ? "" : ", ") + e;
    return out;
}

// A tone cell as the tone list writes it. A spreadsheet turns "67.0" into 67, so a CTCSS tone is
// also taken as a number.
std::optional<std::string> toneText(std::string_view cell) {
    static const std::vector<std::string> list = toneList(kFileLanguage, kFilePoint);
    if (cell.empty())
        return list.front();
    if (const auto i = entryOf(list, cell))
        return list[static_cast<std::size_t>(*i)];
    const std::optional<Frequency> tenHz = plainNumber(cell) ? frequencyFromText(cell) : std::nullopt;
    constexpr Frequency kPerTenth = kHz10PerMHz / 10;
    if (!tenHz || *tenHz % kPerTenth != 0)
        return std::nullopt;
    const std::string text = formatScaled(*tenHz / kPerTenth, 1, kFilePoint);
    if (std::find(list.begin() + 1, list.end(), text) == list.end())
        return std::nullopt;
    return text;
}

// Code points of a UTF-8 text (the reader hands over valid UTF-8).
std::vector<char32_t> codePoints(std::string_view s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : 4;
        char32_t cp = len == 1 ? c : len == 2 ? c & 0x1FU : len == 3 ? c & 0x0FU : c & 0x07U;
        for (std::size_t k = 1; k < len && i + k < s.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3FU);
        out.push_back(cp);
        i += len;
    }
    return out;
}

std::string number(std::int64_t n) {
    return std::to_string(n);
}

// The pattern with %1.. replaced by the arguments, in one pass, so that a "%2" inside an argument
// stays as it is.
std::string filledIn(std::string_view pattern, const std::vector<std::string>& args) {
    std::string result;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t arg = i + 1 < pattern.size() ? static_cast<std::size_t>(pattern[i + 1] - '1') : 9;
        if (pattern[i] == '%' && arg < args.size()) {
            result += args[arg];
            ++i;
        } else {
            result += pattern[i];
        }
    }
    return result;
}

// Whether a frequency cell names another frequency than the one taken: the raster moved it, or
// it had digits below 10 Hz.
bool takenOtherwise(std::string_view cell, std::string_view taken) {
    if (const std::size_t point = cell.find_first_of(".,"); point != std::string_view::npos) {
        const std::string_view below = cell.substr(point + 1);
        if (below.size() > 5 && below.find_first_not_of('0', 5) != std::string_view::npos)
            return true;
    }
    return frequencyFromText(cell) != frequencyFromText(taken);
}

// Applies the lines of one file to a scratch document through its channel table.
class LineImporter {
public:
    LineImporter(RadioImage& image, ChannelRows& rows, const std::array<int, kCsvColumnCount>& index)
        : m_img(image), m_rows(rows), m_index(index) {
        m_style.bands.load(image);
    }

    std::optional<CsvProblem> apply(const CsvRecord& line, int channel) {
        m_line = &line;
        m_channel = channel;
        m_rounded.clear();
        if (auto p = frequencies())
            return p;
        if (isEmpty())
            return std::nullopt; // an empty RX Freq: the channel is cleared, the rest has no place
        for (CsvColumn c : {CsvColumn::Decode, CsvColumn::Encode}) {
            if (auto p = tone(c))
                return p;
        }
        for (CsvColumn c : kListColumns) {
            if (auto p = list(c))
                return p;
        }
        if (auto p = name())
            return p;
        return signalling();
    }

    // The roundings of the line last applied.
    const std::vector<CsvRounding>& rounded() const { return m_rounded; }

private:
    void noteRounding(CsvColumn c, const std::string& cell) {
        if (takenOtherwise(cell, shown(c)))
            m_rounded.push_back({m_line->line, m_channel, def(c).tableColumn, cell, shown(c)});
    }

    std::optional<std::string> cell(CsvColumn c) const {
        const int i = m_index[static_cast<std::size_t>(c)];
        if (i < 0)
            return std::nullopt;
        const std::string& raw = m_line->cells[static_cast<std::size_t>(i)];
        return c == CsvColumn::Name ? raw : trimmed(raw);
    }
    ChannelRow& row() { return m_rows[static_cast<std::size_t>(m_channel)]; }
    const ChannelRow& row() const { return m_rows[static_cast<std::size_t>(m_channel)]; }
    bool isEmpty() const { return row().texts[col::Rx].empty(); }
    const std::string& shown(CsvColumn c) const { return row().texts[static_cast<std::size_t>(def(c).tableColumn)]; }
    CsvProblem problem(Kind kind, std::vector<std::string> args) const { return {m_line->line, kind, std::move(args)}; }
    static std::string nameOf(CsvColumn c) { return csvColumnName(c); }

    std::optional<CsvProblem> frequencies() {
        const auto rx = cell(CsvColumn::Rx);
        if (rx && rx->empty()) {
            commitReceive(m_img, row(), m_channel, {}, m_style);
            return std::nullopt;
        }
        if (rx) {
            if (!plainNumber(*rx))
                return problem(Kind::BadFrequency, {nameOf(CsvColumn::Rx), *rx});
            if (commitReceive(m_img, row(), m_channel, *rx, m_style).noticeId)
                return problem(Kind::OutOfBand, {nameOf(CsvColumn::Rx), *rx});
            noteRounding(CsvColumn::Rx, *rx);
        } else if (isEmpty()) {
            return problem(Kind::EmptyWithoutRx, {number(m_channel)});
        }

        const auto tx = cell(CsvColumn::Tx);
        if (tx && tx->empty()) {
            commitTransmit(m_img, row(), m_channel, {}, m_style);
        } else if (tx) {
            if (!plainNumber(*tx))
                return problem(Kind::BadFrequency, {nameOf(CsvColumn::Tx), *tx});
            if (commitTransmit(m_img, row(), m_channel, *tx, m_style).noticeId)
                return problem(Kind::OutOfBand, {nameOf(CsvColumn::Tx), *tx});
            noteRounding(CsvColumn::Tx, *tx);
        }
        return offsetAndDuplex(tx.has_value());
    }

    // Offset Freq and Duplex say again what RX and TX Freq say. With a TX Freq column they must
    // agree with it; without one they set the transmit frequency as the grid's offset and duplex
    // do.
    std::optional<CsvProblem> offsetAndDuplex(bool hasTxColumn) {
        auto offset = cell(CsvColumn::Offset);
        auto duplex = cell(CsvColumn::Duplex);
        if (offset && offset->empty())
            offset.reset();
        if (duplex && duplex->empty())
            duplex.reset();
        if (offset && !plainNumber(*offset))
            return problem(Kind::BadFrequency, {nameOf(CsvColumn::Offset), *offset});
        const std::vector<std::string> duplexEntries = norvik::duplexEntries(kFileLanguage);
        std::optional<std::string> duplexText;
        if (duplex) {
            const auto entry = entryOf(duplexEntries, *duplex);
            if (!entry)
                return problem(Kind::UnknownValue, {nameOf(CsvColumn::Duplex), *duplex, joined(duplexEntries)});
            duplexText = duplexEntries[static_cast<std::size_t>(*entry)];
        }
        const bool offsetSame = !offset || frequencyFromText(*offset) == frequencyFromText(shown(CsvColumn::Offset));
        const bool duplexSame = !duplexText || *duplexText == shown(CsvColumn::Duplex);
        if (offsetSame && duplexSame)
            return std::nullopt;
        if (hasTxColumn) {
            return problem(Kind::TxMismatch, {cell(CsvColumn::Tx).value_or(std::string()),
                                              offset.value_or(std::string()), duplex.value_or(std::string())});
        }
        // Duplex off first, so the offset commit computes nothing the duplex commit undoes.
        const std::string target = duplexText.value_or(shown(CsvColumn::Duplex));
        commitList(m_img, row(), m_channel, col::Duplex, duplexEntries.front(), m_style);
        commitOffset(m_img, row(), m_channel, offset.value_or(shown(CsvColumn::Offset)), m_style);
        if (offset)
            noteRounding(CsvColumn::Offset, *offset);
        if (commitList(m_img, row(), m_channel, col::Duplex, target, m_style).noticeId) {
            const std::int64_t rx = frequencyFromText(shown(CsvColumn::Rx)).value_or(0);
            const std::int64_t o = frequencyFromText(shown(CsvColumn::Offset)).value_or(0);
            const std::int64_t tx = target == duplexEntries[1] ? rx + o : rx - o;
            return problem(Kind::OutOfBand, {nameOf(CsvColumn::Tx), formatScaled(tx, 5, kFilePoint)});
        }
        return std::nullopt;
    }

    std::optional<CsvProblem> tone(CsvColumn c) {
        const auto value = cell(c);
        if (!value)
            return std::nullopt;
        const auto text = toneText(*value);
        if (!text)
            return problem(Kind::UnknownTone, {nameOf(c), *value});
        // Without a transmit frequency there is no encode tone to set.
        if (c == CsvColumn::Encode && row().texts[col::Tx].empty())
            return std::nullopt;
        if (*text != shown(c))
            commitTone(m_img, row(), m_channel, def(c).tableColumn, *text);
        return std::nullopt;
    }

    std::optional<CsvProblem> list(CsvColumn c) {
        const auto value = cell(c);
        if (!value || value->empty())
            return std::nullopt;
        const std::vector<std::string> entries = fieldEntries(*def(c).field, kFileLanguage);
        const auto entry = entryOf(entries, *value);
        if (!entry)
            return problem(Kind::UnknownValue, {nameOf(c), *value, joined(entries)});
        const std::string& text = entries[static_cast<std::size_t>(*entry)];
        if (text != shown(c))
            commitList(m_img, row(), m_channel, def(c).tableColumn, text, m_style);
        return std::nullopt;
    }

    std::optional<CsvProblem> name() {
        const auto value = cell(CsvColumn::Name);
        if (!value)
            return std::nullopt;
        const std::vector<char32_t> chars = codePoints(*value);
        // 0xFF marks an unused position of the name entry, so it cannot be a character; control
        // codes are nothing the grid lets anyone type, and would reach a terminal or the display.
        const auto storable = [](char32_t c) {
            return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0x9F) && c < 0xFF;
        };
        if (!std::all_of(chars.begin(), chars.end(), storable))
            return problem(Kind::NameCharacter, {*value});
        if (chars.size() > static_cast<std::size_t>(kNameLength))
            return problem(Kind::NameTooLong, {*value});
        if (*value != shown(CsvColumn::Name))
            commitName(m_img, row(), m_channel, *value);
        return std::nullopt;
    }

    // The panel's fields, set as its lists set them.
    std::optional<CsvProblem> signalling() {
        const auto entryFor = [this](CsvColumn c, std::optional<int>& entry) -> std::optional<CsvProblem> {
            const auto value = cell(c);
            if (!value || value->empty())
                return std::nullopt;
            const std::vector<std::string> entries = fieldEntries(*def(c).field, kFileLanguage);
            entry = entryOf(entries, *value);
            if (!entry)
                return problem(Kind::UnknownValue, {nameOf(c), *value, joined(entries)});
            return std::nullopt;
        };
        std::optional<int> type, autoResponse;
        if (auto p = entryFor(CsvColumn::SignalType, type))
            return p;
        if (auto p = entryFor(CsvColumn::AutoResponse, autoResponse))
            return p;
        const int channel = m_channel;
        if (type && *type != signalTypeEntry(m_img, channel))
            setSignalType(m_img, channel, *type);
        // Auto response means something only to 5-tone signalling.
        const RecordField field = RecordField::AutoResponse;
        if (autoResponse && isFiveTone(signalTypeEntry(m_img, channel)) &&
            *autoResponse != fieldEntryIndex(field, fieldValue(m_img, channel, field)))
            setAutoResponse(m_img, channel, *autoResponse);
        return std::nullopt;
    }

    RadioImage& m_img;
    ChannelRows& m_rows;
    ChannelStyle m_style{{}, kFileLanguage, kFilePoint};
    const std::array<int, kCsvColumnCount>& m_index;
    const CsvRecord* m_line = nullptr;
    int m_channel = 0;
    std::vector<CsvRounding> m_rounded;
};

std::optional<CsvColumn> columnNamed(std::string_view name) {
    for (int c = 0; c < kCsvColumnCount; ++c) {
        if (sameText(csvColumnName(static_cast<CsvColumn>(c)), name))
            return static_cast<CsvColumn>(c);
    }
    return std::nullopt;
}

std::optional<int> channelNumber(std::string_view cell) {
    if (cell.empty() || cell.size() > 3 ||
        !std::all_of(cell.begin(), cell.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int n = std::stoi(std::string(cell));
    return n >= 1 && n <= kChannelCount ? std::optional<int>(n) : std::nullopt;
}

} // namespace

std::string csvColumnName(CsvColumn column) {
    return std::string(text(def(column).headerId, kFileLanguage));
}

std::string exportChannelsCsv(const RadioImage& image) {
    // Loaded as a file is, with the normalising loading does, and read back as the grid shows it.
    RadioImage loaded = image;
    normaliseChannels(loaded);
    const ChannelRows rows = channelRows(loaded, kFileLanguage, kFilePoint);
    std::string out;
    const auto line = [&out](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            out += (i ? "," : "") + csvCell(cells[i]);
        out += '\n';
    };
    std::vector<std::string> cells;
    for (int c = 0; c < kCsvColumnCount; ++c)
        cells.push_back(csvColumnName(static_cast<CsvColumn>(c)));
    line(cells);
    for (int n = 1; n <= kChannelCount; ++n) {
        const RowTexts& texts = rows[static_cast<std::size_t>(n)].texts;
        if (texts[col::Rx].empty())
            continue;
        cells = {number(n)};
        for (int c = 1; c <= static_cast<int>(CsvColumn::Duplex); ++c)
            cells.push_back(texts[static_cast<std::size_t>(def(static_cast<CsvColumn>(c)).tableColumn)]);
        const int type = signalTypeEntry(loaded, n);
        cells.push_back(fieldText(loaded, n, RecordField::SignalType, kFileLanguage));
        cells.push_back(isFiveTone(type) ? fieldText(loaded, n, RecordField::AutoResponse, kFileLanguage) : "");
        line(cells);
    }
    return out;
}

std::string csvProblemText(const CsvProblem& problem, Language lang) {
    static const std::map<Kind, int> kIds = {
        {Kind::NoChannelColumn, ids::CsvNoChannelColumn},
        {Kind::DuplicateColumn, ids::CsvDuplicateColumn},
        {Kind::UnknownColumn, ids::CsvUnknownColumn},
        {Kind::BadChannel, ids::CsvBadChannel},
        {Kind::DuplicateChannel, ids::CsvDuplicateChannel},
        {Kind::BadFrequency, ids::CsvBadFrequency},
        {Kind::OutOfBand, ids::CsvOutOfBand},
        {Kind::UnknownTone, ids::CsvUnknownTone},
        {Kind::UnknownValue, ids::CsvUnknownValue},
        {Kind::NameTooLong, ids::CsvNameTooLong},
        {Kind::NameCharacter, ids::CsvNameCharacter},
        {Kind::CellCount, ids::CsvCellCount},
        {Kind::UnclosedQuote, ids::CsvUnclosedQuote},
        {Kind::EmptyWithoutRx, ids::CsvEmptyWithoutRx},
        {Kind::TxMismatch, ids::CsvTxMismatch},
        {Kind::Utf16File, ids::CsvUtf16File},
    };
    return filledIn(textString(kIds.at(problem.kind), lang), problem.args);
}

std::string csvRoundingText(const CsvRounding& rounding, Language lang) {
    // The column as the file names it, as the problems do.
    return filledIn(textString(ids::CsvRounded, lang),
                    {std::string(text(columnHeaderId(rounding.column), kFileLanguage)), rounding.cell, rounding.taken});
}

bool CsvImport::refused() const {
    return refusedCount() > 0;
}

void CsvImport::applyTo(RadioImage& target) const {
    for (int n = 1; n <= kChannelCount; ++n) {
        if (changed.test(static_cast<std::size_t>(n)))
            copyChannel(image, n, target, n);
    }
}

int CsvImport::refusedCount() const {
    return unlistedProblems + static_cast<int>(std::count_if(problems.begin(), problems.end(),
                                                             [](const CsvProblem& p) { return p.refused(); }));
}

CsvImport importChannelsCsv(std::string_view bytes, const RadioImage& base, CsvBase start) {
    CsvImport result;
    result.image = base;
    const auto note = [&result](CsvProblem&& p) {
        if (result.problems.size() < kMaxListedCsvProblems)
            result.problems.push_back(std::move(p));
        else
            ++result.unlistedProblems;
    };
    // Read as UTF-8 or Latin-1 it would be a header of NULs, named as a column cut at the first.
    if (isUtf16Text(bytes)) {
        result.problems.push_back({1, Kind::Utf16File, {}});
        return result;
    }
    const CsvTable csv = readCsv(csvTextAsUtf8(bytes));
    const auto finish = [&result, &csv, &note]() -> CsvImport& {
        if (csv.unclosedQuoteLine)
            note({csv.unclosedQuoteLine, Kind::UnclosedQuote, {}});
        std::stable_sort(result.problems.begin(), result.problems.end(),
                         [](const CsvProblem& a, const CsvProblem& b) { return a.line < b.line; });
        return result;
    };

    // The header names the columns; a file whose columns cannot be told apart is not taken at all.
    const int headerLine = csv.records.empty() ? 1 : csv.records.front().line;
    std::array<int, kCsvColumnCount> index;
    index.fill(-1);
    bool fatal = false;
    const std::vector<std::string> noCells;
    const std::vector<std::string>& header = csv.records.empty() ? noCells : csv.records.front().cells;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = trimmed(header[i]);
        const auto column = columnNamed(name);
        if (!column) {
            if (!name.empty())
                result.problems.push_back({headerLine, Kind::UnknownColumn, {name}});
            continue;
        }
        int& slot = index[static_cast<std::size_t>(*column)];
        if (slot >= 0) {
            result.problems.push_back({headerLine, Kind::DuplicateColumn, {name}});
            fatal = true;
        }
        slot = static_cast<int>(i);
    }
    if (index[0] < 0) {
        result.problems.push_back({headerLine, Kind::NoChannelColumn, {}});
        fatal = true;
    }
    if (fatal)
        return finish();

    RadioImage first = base;
    if (start == CsvBase::ReplaceAll) {
        for (int n = 1; n <= kChannelCount; ++n) {
            clearRecord(first, n);
            encodeName(first, n, {});
        }
    }
    normaliseChannels(first);
    RadioImage image = first;
    ChannelRows rows = channelRows(image, kFileLanguage, kFilePoint);
    LineImporter importer(image, rows, index);
    std::map<int, int> seen; // channel -> its line
    for (std::size_t r = 1; r < csv.records.size(); ++r) {
        const CsvRecord& line = csv.records[r];
        const std::size_t width = header.size();
        const bool extra =
            std::any_of(line.cells.begin() + static_cast<std::ptrdiff_t>(std::min(width, line.cells.size())),
                        line.cells.end(), [](const std::string& c) { return !trimmed(c).empty(); });
        if (line.cells.size() < width || extra) {
            note({line.line,
                  Kind::CellCount,
                  {number(static_cast<std::int64_t>(line.cells.size())), number(static_cast<std::int64_t>(width))}});
            continue;
        }
        const std::string channelCell = trimmed(line.cells[static_cast<std::size_t>(index[0])]);
        const auto channel = channelNumber(channelCell);
        if (!channel) {
            note({line.line, Kind::BadChannel, {channelCell}});
            continue;
        }
        if (const auto before = seen.find(*channel); before != seen.end()) {
            note({line.line, Kind::DuplicateChannel, {number(*channel), number(before->second)}});
            continue;
        }
        seen[*channel] = line.line;
        // The line is taken whole or not at all.
        const RadioImage snapshot = image;
        const ChannelRow shownBefore = rows[static_cast<std::size_t>(*channel)];
        if (auto problem = importer.apply(line, *channel)) {
            image = snapshot;
            rows[static_cast<std::size_t>(*channel)] = shownBefore;
            note(std::move(*problem));
            continue;
        }
        ++result.acceptedLines;
        for (const CsvRounding& rounding : importer.rounded()) {
            if (result.rounded.size() < kMaxListedCsvProblems)
                result.rounded.push_back(rounding);
        }
    }
    result.image = image;
    for (int n = 1; n <= kChannelCount; ++n)
        result.changed.set(static_cast<std::size_t>(n), !sameChannelBytes(base, result.image, n));
    return finish();
}

} // namespace norvik
