#pragma once

#include <bitset>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "core/image/channel_record.h"
#include "core/image/observer_list.h"

namespace norvik {

// Channels by number: bit n is channel n, bit 0 unused.
using ChannelSet = std::bitset<kChannelCount + 1>;

// A block of whole channels, first..last.
struct ChannelBlock {
    int first = 1;
    int last = 1;
    friend bool operator==(const ChannelBlock&, const ChannelBlock&) = default;
};

/*
 * The cell the views of the channel list stand on: the current channel and column, and the
 * whole channels selected when rows rather than one cell are (a block, or any set of them). The grid and the
 * single-channel panel both move it and both follow it; each hears every move, whoever made it, so neither has to tell
 * the other. Channel 0 is "none": edits on the current channel then do nothing.
 *
 * An observer may move the cell again while it is told (the panel keeps its channel over a
 * refill); everyone is told again, so observers read the state rather than keep the notice.
 */
class CurrentCell {
public:
    enum class Move {
        Moved,    // someone moved it
        Refilled, // every row was rebuilt and it went back to channel 1, column 1
    };
    using Observer = ObserverList<Move>::Observer;
    // Keeps an observer registered for its own lifetime; harmless when it outlives the cell.
    using Subscription = ObserverList<Move>::Subscription;

    int channel() const { return m_channel; }
    int column() const { return m_column; }
    // The selected whole channels as one block; none while a single cell is selected or the
    // selected channels have gaps between them.
    std::optional<ChannelBlock> rows() const;
    // The selected whole channels, none while a single cell is selected.
    const ChannelSet& selected() const { return m_selected; }
    bool hasSelection() const { return m_selected.any(); }
    int selectedCount() const { return static_cast<int>(m_selected.count()); }
    // What an edit acts on: the selected channels, else the current channel alone (nothing for
    // channel 0).
    ChannelSet targets() const;

    // One cell, the row selection gone. A channel outside 0..128 or a column outside 0..16
    // changes nothing; so does the cell it already is.
    void set(int channel, int column);
    // A move the user makes in the grid or the panel: inside a selection of several channels it
    // keeps the selection, elsewhere it is set().
    void moveWithin(int channel, int column);
    // The channels first..last as whole rows, first current at column 1.
    void selectRows(int first, int last);
    // Shift+click: the block from the anchor (the last channel clicked alone) to the channel,
    // which becomes current.
    void extendRows(int channel);
    // Ctrl+click: the channel joins or leaves the selection and becomes current and the anchor.
    void toggleRow(int channel);
    // Back to channel 1, column 1 after every row was rebuilt; told even when it was there.
    void restart();

    [[nodiscard]] Subscription observe(Observer observer);

private:
    void tell(Move move);

    int m_channel = 1;
    int m_column = 1;
    int m_anchor = 1;
    ChannelSet m_selected;
    ObserverList<Move> m_observers;
};

} // namespace norvik
