#pragma once

#include <bitset>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/channel_record.h"
#include "core/image/radio_image.h"
#include "core/strings/strings.h"

namespace norvik {

// The columns of a channel list file, in the order an export writes them: the channel number,
// the grid's columns RX Freq to Duplex, and the two settings only the single-channel panel shows.
enum class CsvColumn {
    Channel,
    Rx,
    Tx,
    Decode,
    Encode,
    Power,
    Scan,
    Bandwidth,
    Name,
    Bcl,
    PttId,
    Vox,
    Option,
    Scrambler,
    Offset,
    Duplex,
    SignalType,
    AutoResponse,
};
inline constexpr int kCsvColumnCount = 18;

// The header of a column: the English caption of the grid column or panel field it holds,
// whatever language the window shows.
std::string csvColumnName(CsvColumn column);

// UTF-8, a header line, then one line per used channel in channel order, "\n" line ends. Values
// are the grid's English texts with "." as the decimal point; names as stored; AutoResponse only
// for 5-Tone channels.
std::string exportChannelsCsv(const RadioImage& image);

// Why a line was not taken (or, for an unknown column, what was ignored).
struct CsvProblem {
    enum class Kind {
        NoChannelColumn,  // header: the file is not taken at all
        DuplicateColumn,  // header, %1 column: the file is not taken at all
        UnknownColumn,    // header, %1 column: only a note, the column is ignored
        BadChannel,       // %1 the cell
        DuplicateChannel, // %1 channel, %2 its first line
        BadFrequency,     // %1 column, %2 the cell
        OutOfBand,        // %1 column, %2 the cell
        UnknownTone,      // %1 column, %2 the cell
        UnknownValue,     // %1 column, %2 the cell, %3 the entries
        NameTooLong,      // %1 the name
        NameCharacter,    // %1 the name
        CellCount,        // %1 cells on the line, %2 in the header
        UnclosedQuote,    // the line the quoted cell starts on; nothing from there on is taken
        EmptyWithoutRx,   // %1 channel
        TxMismatch,       // %1 TX Freq, %2 Offset Freq, %3 Duplex
        Utf16File,        // the file is not taken at all
    };
    int line = 0;
    Kind kind = Kind::BadChannel;
    std::vector<std::string> args;

    // Every problem but an unknown column keeps its line (or the whole file) out.
    bool refused() const { return kind != Kind::UnknownColumn; }
    friend bool operator==(const CsvProblem&, const CsvProblem&) = default;
};

// The reason in the user's language, without the line number.
std::string csvProblemText(const CsvProblem& problem, Language lang);

// A file of thousands of bad lines is something else; listing every one would only bury the
// first, which are the ones worth reading.
inline constexpr std::size_t kMaxListedCsvProblems = 1000;

// A frequency of an accepted line that was taken rounded to the channel raster (or to 10 Hz),
// so that the user sees what became of it.
struct CsvRounding {
    int line = 0;
    int channel = 0;
    int column = 0;    // grid column: RX Freq, TX Freq or Offset Freq
    std::string cell;  // as the file has it
    std::string taken; // as the grid shows it
    friend bool operator==(const CsvRounding&, const CsvRounding&) = default;
};

// "RX Freq 145.0021 → 145.00000, rounded to the channel raster." in the user's language.
std::string csvRoundingText(const CsvRounding& rounding, Language lang);

struct CsvImport {
    RadioImage image;                       // the base with every accepted line applied
    std::vector<CsvProblem> problems;       // in line order, at most kMaxListedCsvProblems
    std::vector<CsvRounding> rounded;       // in line order, at most kMaxListedCsvProblems
    int unlistedProblems = 0;               // refused lines past those, only counted
    std::bitset<kChannelCount + 1> changed; // bit n: record or name of channel n differs from the base
    int acceptedLines = 0;

    bool refused() const;
    // Lines kept out, the unlisted ones included.
    int refusedCount() const;
    int changedCount() const { return static_cast<int>(changed.count()); }
    // Writes the changed channels (record and name entry) into image; nothing else there moves.
    void applyTo(RadioImage& target) const;
};

// What an import starts from: the channels as they are, or none at all ("Replace all channels":
// every channel record and name entry empty, so the image holds exactly the file's channels).
enum class CsvBase { KeepOthers, ReplaceAll };

// Applies the channel lines of a file (bytes as read; see csvTextAsUtf8) to a copy of base. Each
// line goes through the channel table's commits as typing into the grid does, in English with
// either decimal point; a line that cannot be taken whole is left out and named in the problems.
// A frequency taken other than the file wrote it (the raster, digits below 10 Hz) is named in
// the roundings.
// A missing column keeps the channel's value; an empty cell empties a frequency, a tone or the
// name and keeps a list value.
CsvImport importChannelsCsv(std::string_view bytes, const RadioImage& base, CsvBase start = CsvBase::KeepOthers);

} // namespace norvik
