#include "core/channels/current_cell.h"

#include <algorithm>

#include "core/channels/channel_columns.h"
#include "core/image/channel_record.h"

namespace norvik {

void CurrentCell::set(int channel, int column) {
    if (channel < 0 || channel > kChannelCount || column < 0 || column >= kTableColumns)
        return;
    if (channel == m_channel && column == m_column && !m_rows)
        return;
    m_channel = channel;
    m_column = column;
    m_rows.reset();
    tell(Move::Moved);
}

void CurrentCell::selectRows(int first, int last) {
    if (first < 1 || last < first || last > kChannelCount)
        return;
    const ChannelBlock block{first, last};
    if (m_rows == block && m_channel == first && m_column == 1)
        return;
    m_channel = first;
    m_column = 1;
    m_rows = block;
    tell(Move::Moved);
}

void CurrentCell::restart() {
    m_channel = 1;
    m_column = 1;
    m_rows.reset();
    tell(Move::Refilled);
}

CurrentCell::Subscription CurrentCell::observe(Observer observer) {
    return m_observers.add(std::move(observer));
}

void CurrentCell::tell(Move move) {
    m_observers.tell(move);
}

} // namespace norvik
