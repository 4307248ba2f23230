#pragma once

#include <array>
#include <cstdint>

#include "core/channels/channel_table.h"

namespace norvik {

// One channel as the user copied it: its record, its name entry and its row.
// The main window keeps one for its whole life, so a copy survives Open, New and a read.
struct CopyBuffer {
    std::array<std::uint8_t, kRowSize> record{};
    std::array<std::uint8_t, kNameLength> name{};
    ChannelRow row{};
    // The texts are only good for a table in the same language and number format.
    Language language = Language::English;
    char decimalSeparator = '.';
    bool holdsCopy = false;
};

// What an operation did: the channels whose rows changed (firstChannel..lastChannel) and the
// channel that is current afterwards. ran is false for the cases that do nothing, after which
// the view leaves its selection alone.
struct EditResult {
    bool ran = false;
    int firstChannel = 0;
    int lastChannel = 0;
    int currentChannel = 0;
    friend bool operator==(const EditResult&, const EditResult&) = default;
};

// The button bar, by index.
enum class ChannelButton { MoveUp = 0, MoveDown = 1, Insert = 2, Delete = 3, Clear = 4 };
inline constexpr int kChannelButtonCount = 5;

// Edit menu operations, on the given channel (the grid's current row).
// Copy takes nothing from an empty channel; the buffer then keeps what it held.
bool copyChannel(const ChannelTable& table, int channel, CopyBuffer& buffer);
// Does nothing while the buffer holds no copy.
EditResult pasteChannel(ChannelTable& table, int channel, const CopyBuffer& buffer);
// Empties the record and the row; the name entry stays.
EditResult clearChannel(ChannelTable& table, int channel);

// Button bar operations, on the table's current channel; nothing happens while it is 0.
EditResult clearCurrentChannel(ChannelTable& table);
EditResult moveChannelUp(ChannelTable& table);
EditResult moveChannelDown(ChannelTable& table);
// Insert pushes the last channel out: ask the user first when this is true.
bool insertLosesLastChannel(const ChannelTable& table);
EditResult insertChannel(ChannelTable& table);
EditResult deleteChannel(ChannelTable& table);
EditResult runChannelButton(ChannelTable& table, ChannelButton button);

// The option-signalling choices of the single-channel panel (list positions of the signal type
// entries and of the auto-response "Off"/"On"). Every type but 5-tone clears the auto-response
// bit and record byte 15, which only 5-tone uses.
void setSignalType(RadioImage& image, int channel, int entry);
void setAutoResponse(RadioImage& image, int channel, int entry);
int signalTypeEntry(const RadioImage& image, int channel);
bool isFiveTone(int signalTypeEntry);

} // namespace norvik
