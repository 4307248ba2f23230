#include "core/history/transfer_history.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "core/channels/csv_text.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr std::size_t kFields = 9;

constexpr struct {
    HistoryOutcome outcome;
    std::string_view word;
    bool detail;
} kOutcomes[] = {
    {HistoryOutcome::Completed, "completed", false}, {HistoryOutcome::Verified, "verified", false},
    {HistoryOutcome::Differs, "differs", true},      {HistoryOutcome::Failed, "failed", true},
    {HistoryOutcome::Cancelled, "cancelled", false},
};

// A field on one line: line breaks and other control characters become spaces.
std::string oneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    }
    return out;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

// The fields of one line; none when a quote is left open or stray text follows a closing quote.
// `lastQuoted` tells whether the last field came in quotes.
std::optional<std::vector<std::string>> splitLine(std::string_view line, bool& lastQuoted) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (true) {
        std::string field;
        lastQuoted = i < line.size() && line[i] == '"';
        if (lastQuoted) {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                field += line[i++];
            }
            if (!closed || (i < line.size() && line[i] != ','))
                return std::nullopt;
        } else {
            while (i < line.size() && line[i] != ',')
                field += line[i++];
        }
        fields.push_back(std::move(field));
        if (i >= line.size())
            return fields;
        ++i; // the comma
    }
}

std::string secondsText(double seconds) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", seconds);
    return buffer;
}

} // namespace

std::string historyResult(const HistoryEntry& entry) {
    for (const auto& o : kOutcomes) {
        if (o.outcome == entry.outcome) {
            std::string result(o.word);
            if (o.detail && !entry.detail.empty())
                result += ": " + entry.detail;
            return result;
        }
    }
    return {};
}

std::string historyLine(const HistoryEntry& e) {
    std::string line;
    for (const std::string& field : {e.time, e.operation, e.port, e.identification, e.dataFile, e.checksum,
                                     historyResult(e), secondsText(e.seconds)})
        line += csvCell(oneLine(field)) + ',';
    return line + quoted(oneLine(e.backupPath));
}

std::optional<HistoryEntry> parseHistoryLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    bool lastQuoted = false;
    const std::optional<std::vector<std::string>> fields = splitLine(line, lastQuoted);
    if (!fields || fields->size() != kFields || !lastQuoted)
        return std::nullopt;
    const std::vector<std::string>& f = *fields;
    HistoryEntry e{f[0], f[1], f[2], f[3], f[4], f[5], {}, {}, 0, f[8]};
    const std::string& result = f[6];
    bool known = false;
    for (const auto& o : kOutcomes) {
        if (result == o.word || (o.detail && result.starts_with(std::string(o.word) + ": "))) {
            e.outcome = o.outcome;
            if (result.size() > o.word.size())
                e.detail = result.substr(o.word.size() + 2);
            known = true;
            break;
        }
    }
    const std::string& seconds = f[7];
    const auto [end, error] = std::from_chars(seconds.data(), seconds.data() + seconds.size(), e.seconds);
    if (!known || e.time.empty() || error != std::errc() || end != seconds.data() + seconds.size())
        return std::nullopt;
    return e;
}

std::vector<HistoryEntry> parseHistory(std::string_view text) {
    std::vector<HistoryEntry> entries;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        // A last line without its line end was cut short by a crash, whatever it looks like.
        if (end == std::string_view::npos)
            break;
        if (std::optional<HistoryEntry> entry = parseHistoryLine(text.substr(0, end)))
            entries.push_back(std::move(*entry));
        text.remove_prefix(end + 1);
    }
    return entries;
}

std::string historyResultText(const HistoryEntry& entry, Language lang) {
    const auto withDetail = [&](int id) {
        std::string text = textString(id, lang);
        const std::size_t at = text.find("%1");
        if (at != std::string::npos)
            text.replace(at, 2, entry.detail);
        return text;
    };
    switch (entry.outcome) {
    case HistoryOutcome::Completed:
        return textString(ids::ResultCompleted, lang);
    case HistoryOutcome::Verified:
        return textString(ids::ResultVerified, lang);
    case HistoryOutcome::Differs:
        return withDetail(ids::ResultDiffers);
    case HistoryOutcome::Failed:
        return withDetail(ids::ResultFailed);
    case HistoryOutcome::Cancelled:
        return textString(ids::ResultCancelled, lang);
    }
    return {};
}

std::string historyOperationText(const std::string& operation, Language lang) {
    constexpr std::pair<std::string_view, int> kOperations[] = {{"read", ids::HistoryRead},
                                                                {"write", ids::HistoryWrite},
                                                                {"service-read", ids::HistoryServiceRead},
                                                                {"service-write", ids::HistoryServiceWrite}};
    for (const auto& [name, id] : kOperations) {
        if (operation == name)
            return textString(id, lang);
    }
    return operation;
}

std::string historyCsv(const std::vector<HistoryEntry>& entries) {
    std::string out = "time,operation,port,identification,data file,checksum,result,seconds,backup\r\n";
    for (const HistoryEntry& e : entries) {
        for (const std::string& field : {e.time, e.operation, e.port, e.identification, e.dataFile, e.checksum,
                                         historyResult(e), secondsText(e.seconds)})
            out += csvCell(field) + ',';
        out += csvCell(e.backupPath) + "\r\n";
    }
    return out;
}

std::string rowsChecksum(const RadioImage& image, int first, int count) {
    static constexpr auto kTable = [] {
        std::array<std::uint32_t, 256> table{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1U) ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        return table;
    }();
    std::uint32_t crc = 0xFFFFFFFFU;
    const auto begin = image.bytes().begin() + RadioImage::address(first, 0);
    for (auto it = begin; it != begin + count * kRowSize; ++it)
        crc = kTable[(crc ^ *it) & 0xFFU] ^ (crc >> 8);
    char buffer[9];
    std::snprintf(buffer, sizeof buffer, "%08X", crc ^ 0xFFFFFFFFU);
    return buffer;
}

} // namespace norvik
