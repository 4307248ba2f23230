#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/channels/channel_columns.h"
#include "core/image/channel_record.h"
#include "core/strings/strings.h"

namespace norvik {

// One row of the channel table: the texts it shows and the duplex it stands for. The duplex is
// kept as a value: chosen before its offset, it is not what the two frequencies would give.
struct ChannelRow {
    RowTexts texts{};
    Duplex duplex = Duplex::Off;
    friend bool operator==(const ChannelRow&, const ChannelRow&) = default;
};

// The row a channel record gives in a language and number format, reading only: an empty
// record gives empty texts, a record without transmit frequency an empty transmit and encode.
// Column 0 (the channel number) is left empty.
ChannelRow channelRow(const RadioImage& image, int channel, Language lang, char sep);

// The text of a tone field of a record (decode or encode).
std::string toneText(const RadioImage& image, int address, Language lang, char sep);
// "0.60000": an offset with five decimals.
std::string offsetText(Frequency offset, char sep);
// The ">>" of the column that opens the single-channel panel.
inline constexpr std::string_view kMoreText = ">>";

// The duplex list: "Off", "Plus", "Minus" in the language, in the order of the enum.
std::vector<std::string> duplexEntries(Language lang);
std::string duplexText(Duplex duplex, Language lang);
int duplexEntry(Duplex duplex);
// The duplex at a list position; none outside the list.
std::optional<Duplex> duplexOfEntry(int entry);

// Channel names are single-byte codes in the image; the table holds them as UTF-8.
std::string latin1ToUtf8(std::string_view bytes);
// Characters above U+00FF become '?'.
std::string utf8ToLatin1(std::string_view text);

} // namespace norvik
