#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/channels/channel_texts.h"
#include "core/image/band_limits.h"
#include "core/image/channel_record.h"
#include "core/image/radio_image.h"
#include "core/strings/strings.h"

namespace norvik {

/*
 * The rules of editing channels, as functions of the image and the rows the grid shows.
 *
 * A row is more than its record: a duplex chosen before its offset, or an offset kept while the
 * duplex is Off for the next Plus or Minus, live only in the texts. So every rule takes the
 * image and the rows together and keeps them in step: it writes the record and name bytes and
 * sets the texts they stand for. Column 0 (the channel number) is the view's, never a rule's.
 * Nothing here records undo steps or tells anyone: a caller that edits the open document runs
 * the rules inside one of its changes; the channel list import and the demo image run them on
 * an image of their own.
 */

// The rows of channels 1..128 as shown; index 0 is unused.
using ChannelRows = std::array<ChannelRow, kChannelCount + 1>;

// What the texts are written in, and what every frequency is checked against.
struct ChannelStyle {
    BandLimits bands;
    Language lang = Language::English;
    char sep = '.';
};

// The rows an image gives, reading only.
ChannelRows channelRows(const RadioImage& image, Language lang, char sep);

// What a commit did to the row, for the view to redraw and to tell the user.
struct CommitResult {
    std::uint32_t changedColumns = 0; // bit c set: text of column c changed
    int noticeId = 0;                 // string id of a message to show, 0 for none

    bool changed(int column) const { return (changedColumns >> column) & 1U; }
    bool anyChange() const { return changedColumns != 0; }
};

// The commit of a closed in-cell editor. Unchanged text commits nothing, except on the tone
// columns which always write their field. A channel without a receive frequency takes only a
// receive frequency.
CommitResult commitCell(RadioImage& image, ChannelRow& row, int channel, int column, std::string_view text,
                        const ChannelStyle& style);

// The single commits; the panel and the import call them directly. Out-of-band frequencies are
// moved to the band's lower limit with the FrequencyOutOfRange notice.
CommitResult commitReceive(RadioImage& image, ChannelRow& row, int channel, std::string_view text,
                           const ChannelStyle& style);
CommitResult commitTransmit(RadioImage& image, ChannelRow& row, int channel, std::string_view text,
                            const ChannelStyle& style);
CommitResult commitOffset(RadioImage& image, ChannelRow& row, int channel, std::string_view text,
                          const ChannelStyle& style);
CommitResult commitName(RadioImage& image, ChannelRow& row, int channel, std::string_view text);
CommitResult commitTone(RadioImage& image, ChannelRow& row, int channel, int column, std::string_view text);
// A list text names an entry of the column's list in the style's language; the duplex column's
// text is taken as the duplex of that entry (Off for a text that is none).
CommitResult commitList(RadioImage& image, ChannelRow& row, int channel, int column, std::string_view text,
                        const ChannelStyle& style);
// Plus and Minus put the transmit frequency the offset above or below the receive frequency,
// Off on it; the offset stays for the next Plus or Minus.
CommitResult commitDuplex(RadioImage& image, ChannelRow& row, int channel, Duplex duplex, const ChannelStyle& style);

// The edit operations, on the block of channels first..last (1 <= first <= last <= 128). Names
// are packed 7 bytes apiece across row boundaries, so they move byte by byte through their
// addresses, never as rows. Each gives false, changing nothing, for a block it cannot take.

// Records and rows emptied; the name entries keep their bytes.
bool emptyChannels(RadioImage& image, ChannelRows& rows, int first, int last);
// The block swapped with its neighbour above (delta -1) or below (+1), records, names and rows.
bool moveChannels(RadioImage& image, ChannelRows& rows, int first, int last, int delta);
// Channels from `first` on move down by the block's size; what passes channel 128 is gone. The
// block's records and rows are emptied, its name entries keep the bytes they had.
bool insertChannels(RadioImage& image, ChannelRows& rows, int first, int last);
// The block is gone; the channels after it move up, and the last ones left free are emptied
// (record and row; their name entries keep the bytes they had).
bool deleteChannels(RadioImage& image, ChannelRows& rows, int first, int last);
// Whether inserting the block pushes a channel in use past 128: ask the user first.
bool insertLosesChannels(const RadioImage& image, int first, int last);

} // namespace norvik
