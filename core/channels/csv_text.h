#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace norvik {

// One record of a comma-separated file and the line it starts on (1-based).
struct CsvRecord {
    int line = 0;
    std::vector<std::string> cells;
};

struct CsvTable {
    char separator = ',';
    // Records holding at least one non-blank cell; blank lines and rows of empty cells are
    // skipped, as spreadsheets write them for empty rows.
    std::vector<CsvRecord> records;
    // Line of a quoted cell that the file never closes (0 when every quote is closed); that
    // record and everything after it are not in `records`.
    int unclosedQuoteLine = 0;
};

// Reads text as spreadsheets write it: CR LF, LF or CR line ends, quoted cells holding
// separators, doubled quotes and line breaks. The separator is the one of ',', ';' and tab the
// first line uses most (',' on a tie), unless that line is Excel's "sep=X" hint, which is then
// skipped.
CsvTable readCsv(std::string_view text);

// The bytes of a text file as UTF-8: a byte-order mark is dropped, and a file that is not valid
// UTF-8 is read as Latin-1 (what a spreadsheet saves as plain "CSV" in western locales).
std::string csvTextAsUtf8(std::string_view bytes);

// Whether the bytes are UTF-16 text (a byte-order mark, or the NUL of every other byte that
// plain text in UTF-16 has), which a spreadsheet writes as "Unicode text".
bool isUtf16Text(std::string_view bytes);

// A cell as written: quoted when it holds the separator, a quote or a line break, or starts or
// ends with a space (which a reader could trim).
std::string csvCell(std::string_view cell, char separator = ',');

} // namespace norvik
