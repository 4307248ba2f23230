#include "core/channels/current_cell.h"

#include <algorithm>

#include "core/channels/channel_columns.h"
#include "core/image/channel_record.h"

namespace norvik {

void CurrentCell::set(int channel, int column) {
    if (channel < 0 || channel > kChannelCount || column < 0 || column >= kTableColumns)
        return;
    if (channel == m_channel && column == m_column && m_selected.none())
        return;
    m_channel = channel;
    m_column = column;
    m_anchor = std::max(channel, 1);
    m_selected.reset();
    tell(Move::Moved);
}

void CurrentCell::moveWithin(int channel, int column) {
    if (m_selected.count() < 2 || channel < 1 || channel > kChannelCount ||
        !m_selected.test(static_cast<std::size_t>(channel)) || column < 0 || column >= kTableColumns) {
        set(channel, column);
        return;
    }
    if (channel == m_channel && column == m_column)
        return;
    m_channel = channel;
    m_column = column;
    tell(Move::Moved);
}

void CurrentCell::selectRows(int first, int last) {
    if (first < 1 || last < first || last > kChannelCount)
        return;
    ChannelSet block;
    for (int n = first; n <= last; ++n)
        block.set(static_cast<std::size_t>(n));
    if (m_selected == block && m_channel == first && m_column == 1)
        return;
    m_channel = first;
    m_column = 1;
    m_anchor = first;
    m_selected = block;
    tell(Move::Moved);
}

void CurrentCell::extendRows(int channel) {
    if (channel < 1 || channel > kChannelCount)
        return;
    ChannelSet block;
    for (int n = std::min(m_anchor, channel); n <= std::max(m_anchor, channel); ++n)
        block.set(static_cast<std::size_t>(n));
    if (m_selected == block && m_channel == channel && m_column == 1)
        return;
    m_selected = block;
    m_channel = channel;
    m_column = 1;
    tell(Move::Moved);
}

void CurrentCell::toggleRow(int channel) {
    if (channel < 1 || channel > kChannelCount)
        return;
    // A cell alone counts as its channel selected, so Ctrl+click adds to it rather than replacing it.
    if (m_selected.none() && m_channel >= 1 && m_channel != channel)
        m_selected.set(static_cast<std::size_t>(m_channel));
    m_selected.flip(static_cast<std::size_t>(channel));
    m_channel = channel;
    m_column = 1;
    m_anchor = channel;
    tell(Move::Moved);
}

std::optional<ChannelBlock> CurrentCell::rows() const {
    if (m_selected.none())
        return std::nullopt;
    int first = 0;
    int last = 0;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (!m_selected.test(static_cast<std::size_t>(n)))
            continue;
        if (first == 0)
            first = n;
        else if (n != last + 1)
            return std::nullopt;
        last = n;
    }
    return ChannelBlock{first, last};
}

ChannelSet CurrentCell::targets() const {
    ChannelSet set = m_selected;
    if (set.none() && m_channel >= 1)
        set.set(static_cast<std::size_t>(m_channel));
    return set;
}

void CurrentCell::restart() {
    m_channel = 1;
    m_column = 1;
    m_anchor = 1;
    m_selected.reset();
    tell(Move::Refilled);
}

CurrentCell::Subscription CurrentCell::observe(Observer observer) {
    return m_observers.add(std::move(observer));
}

void CurrentCell::tell(Move move) {
    m_observers.tell(move);
}

} // namespace norvik
