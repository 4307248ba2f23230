#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/channels/channel_edits.h"
#include "core/channels/channel_table.h"
#include "core/channels/current_cell.h"

namespace norvik {

/*
 * The edit operations on many channels at once, and the two forms a copy of channels takes on
 * the system clipboard: the program's own (the exact record and name bytes) and tab-separated
 * text in the channel list file's columns, for a spreadsheet. Each operation is one change of the
 * document, so one undo takes it back whole.
 */

// One channel as copied: its record and its name entry.
struct ChannelBytes {
    std::array<std::uint8_t, kRowSize> record{};
    std::array<std::uint8_t, kNameLength> name{};
    friend bool operator==(const ChannelBytes&, const ChannelBytes&) = default;
};
using ChannelClip = std::vector<ChannelBytes>;

// The selected channels in channel order, empty ones among them kept so that a block pastes as
// it was; nothing when none of them is in use.
ChannelClip copyChannels(const RadioImage& image, const ChannelSet& channels);

// The program's own clipboard format.
inline constexpr std::string_view kChannelClipMime = "application/x-norvik-r7-channels";
std::string encodeChannelClip(const ChannelClip& clip);
// Nothing for bytes that are not exactly one clip of this version (another program may put
// anything under the type): the caller then falls back to the text.
std::optional<ChannelClip> decodeChannelClip(std::string_view bytes);

// Tab-separated, a header line, then one line per selected channel in use: the columns and
// texts of the channel list file.
std::string channelsClipboardText(const RadioImage& image, const ChannelSet& channels);

// Spreadsheet text (tab, comma or semicolon separated, with or without the header line) as a
// channel list file whose lines land on channels first, first + 1, ... in their order; without a
// header the columns are the file's (channel number first), or the grid's from RX Freq on when
// the first cell is a frequency. A quote left open comes through as a line the import refuses.
struct PastedText {
    std::string csv;
    int lines = 0; // channel lines
};
PastedText pastedTextAsCsv(std::string_view text, int first);

// Whether k channels from `first` stay within channel 128.
bool pasteFits(int first, int count);
// Whether any of the count channels from `first` is in use: ask before writing over it.
bool pasteOverwritesChannels(const RadioImage& image, int first, int count);
// Inserting count channels pushes a channel in use past 128.
bool insertLosesChannelCount(const RadioImage& image, int count);

// On the image and rows. Delete and insert act at every selected channel, highest first, so a
// block behaves as the block operations and a set with gaps as that many single operations.
bool pasteChannelClip(RadioImage& image, int first, const ChannelClip& clip);
void clearChannelSet(RadioImage& image, ChannelRows& rows, const ChannelSet& channels);
void deleteChannelSet(RadioImage& image, ChannelRows& rows, const ChannelSet& channels);
void insertChannelSet(RadioImage& image, ChannelRows& rows, const ChannelSet& channels);

// One value into many channels: the column's text committed to each selected channel with a
// receive frequency through the rule typing it uses. A channel whose rule refuses the value (a
// frequency out of band) is left as it was and listed.
std::vector<int> setColumnOnChannels(RadioImage& image, ChannelRows& rows, const ChannelSet& channels, int column,
                                     std::string_view text, const ChannelStyle& style);

// The same as changes of the table's document, each one step.
EditResult pasteChannels(ChannelTable& table, int first, const ChannelClip& clip);
EditResult clearChannels(ChannelTable& table, const ChannelSet& channels);
EditResult deleteChannels(ChannelTable& table, const ChannelSet& channels);
EditResult insertChannels(ChannelTable& table, const ChannelSet& channels);
// A block only: a set with gaps does not move.
EditResult moveChannelBlock(ChannelTable& table, const ChannelSet& channels, int delta);
// The channels refused; none changed when every one refused.
std::vector<int> setColumnOnChannels(ChannelTable& table, const ChannelSet& channels, int column,
                                     std::string_view text);

// Fill: receive frequencies from a start in steps, each channel's transmit frequency the duplex
// offset from it, on it (Off), or one fixed frequency. Texts in MHz, "." or "," as the point.
struct FillPlan {
    enum class Transmit { Off, Plus, Minus, Fixed };
    std::string start;
    std::string step;
    Transmit transmit = Transmit::Off;
    std::string offsetOrTx; // the offset for Plus and Minus, the frequency for Fixed
};
struct FillResult {
    std::vector<int> refused;    // channels whose value the band or the raster refuses
    std::string firstRx, lastRx; // as the grid would show them
    bool readable = true;        // start and step are numbers
};
// The channels in order from the first; nothing is written when any channel refuses.
FillResult fillFrequencies(RadioImage& image, ChannelRows& rows, const std::vector<int>& channels, const FillPlan& plan,
                           const ChannelStyle& style);
// The same on a copy, for the preview.
FillResult previewFill(const RadioImage& image, const ChannelRows& rows, const std::vector<int>& channels,
                       const FillPlan& plan, const ChannelStyle& style);
FillResult fillFrequencies(ChannelTable& table, const std::vector<int>& channels, const FillPlan& plan);

// Sort: the channels' contents rearranged over the same channels, by receive frequency or by
// name; equal keys keep their order, and empty channels go to the end.
enum class SortKey { Receive, Name };
void sortChannelSet(RadioImage& image, ChannelRows& rows, const ChannelSet& channels, SortKey key);
EditResult sortChannels(ChannelTable& table, const ChannelSet& channels, SortKey key);

// Find: the first channel after `after` (going round past 128) whose name holds the text, or
// whose receive or transmit frequency starts with it, case ignored; 0 for none.
int findChannel(const ChannelTable& table, std::string_view text, int after);

// "3, 7, 12" for a message.
std::string channelListText(const std::vector<int>& channels);

} // namespace norvik
