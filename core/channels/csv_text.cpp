#include "core/channels/csv_text.h"

#include <algorithm>
#include <array>

#include "core/channels/channel_table.h"

namespace norvik {
namespace {

bool isBlank(const std::vector<std::string>& cells) {
    return std::all_of(cells.begin(), cells.end(),
                       [](const std::string& c) { return c.find_first_not_of(" \t") == std::string::npos; });
}

std::string_view firstLine(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

// The candidate the first line holds most of outside quotes.
char detectSeparator(std::string_view line) {
    constexpr std::array<char, 3> kCandidates = {',', ';', '\t'};
    std::array<int, 3> counts{};
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        for (std::size_t i = 0; i < kCandidates.size() && !quoted; ++i)
            counts[i] += c == kCandidates[i] ? 1 : 0;
    }
    const auto best = std::max_element(counts.begin(), counts.end()); // first of equals: ','
    return kCandidates[static_cast<std::size_t>(best - counts.begin())];
}

bool validUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (len == 0 || i + len > s.size())
            return false;
        for (std::size_t k = 1; k < len; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += len;
    }
    return true;
}

} // namespace

CsvTable readCsv(std::string_view text) {
    CsvTable table;
    const std::string_view head = firstLine(text);
    int line = 1;
    if (head.size() == 5 && head.substr(0, 4) == "sep=") {
        table.separator = head[4];
        text.remove_prefix(head.size());
        text.remove_prefix(text.substr(0, 2) == "\r\n" ? 2 : std::min<std::size_t>(text.size(), 1));
        line = 2;
    } else {
        table.separator = detectSeparator(head);
    }

    CsvRecord record{line, {std::string()}};
    bool quoted = false;
    bool afterQuote = false; // a quoted cell has been closed; the rest of the cell is taken as is
    const auto endRecord = [&] {
        if (!isBlank(record.cells))
            table.records.push_back(std::move(record));
        record = CsvRecord{line, {std::string()}};
        afterQuote = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& cell = record.cells.back();
        const bool lineEnd = c == '\n' || c == '\r';
        const bool crlf = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
                afterQuote = true;
            } else {
                cell += lineEnd && crlf ? '\n' : c;
                if (crlf)
                    ++i;
                if (lineEnd)
                    ++line;
            }
        } else if (c == table.separator) {
            record.cells.emplace_back();
            afterQuote = false;
        } else if (lineEnd) {
            if (crlf)
                ++i;
            ++line;
            endRecord();
        } else if (c == '"' && !afterQuote && cell.find_first_not_of(" \t") == std::string::npos) {
            cell.clear(); // spaces before an opening quote are not part of the cell
            quoted = true;
        } else {
            cell += c;
        }
    }
    if (quoted)
        table.unclosedQuoteLine = record.line;
    else
        endRecord();
    return table;
}

std::string csvTextAsUtf8(std::string_view bytes) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom)
        bytes.remove_prefix(kBom.size());
    return validUtf8(bytes) ? std::string(bytes) : latin1ToUtf8(bytes);
}

bool isUtf16Text(std::string_view bytes) {
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")
        return true;
    // Without a mark: a NUL in every other byte of the start, as ASCII text in UTF-16 has.
    const std::string_view start = bytes.substr(0, 64);
    if (start.size() < 4)
        return false;
    for (std::size_t half = 0; half < 2; ++half) {
        bool allNul = true;
        for (std::size_t i = half; i < start.size() && allNul; i += 2)
            allNul = start[i] == '\0';
        if (allNul)
            return true;
    }
    return false;
}

std::string csvCell(std::string_view cell, char separator) {
    const bool plain = cell.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string_view::npos &&
                       (cell.empty() || (cell.front() != ' ' && cell.back() != ' '));
    if (plain)
        return std::string(cell);
    std::string out = "\"";
    for (char c : cell) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + '"';
}

} // namespace norvik
