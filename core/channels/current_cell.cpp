#include "core/channels/current_cell.h"

#include <algorithm>

#include "core/channels/channel_columns.h"
#include "core/image/channel_record.h"

namespace norvik {

CurrentCell::Subscription::Subscription(Subscription&& other) noexcept
    : m_observers(std::move(other.m_observers)), m_id(std::exchange(other.m_id, 0)) {}

CurrentCell::Subscription& CurrentCell::Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        m_observers = std::move(other.m_observers);
        m_id = std::exchange(other.m_id, 0);
    }
    return *this;
}

void CurrentCell::Subscription::reset() {
    if (const auto observers = m_observers.lock())
        std::erase_if(observers->list, [this](const auto& entry) { return entry.first == m_id; });
    m_observers.reset();
    m_id = 0;
}

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
    const int id = m_observers->nextId++;
    m_observers->list.emplace_back(id, std::move(observer));
    return Subscription(m_observers, id);
}

void CurrentCell::tell(Move move) {
    // By id and from a copy: an observer may move the cell again, subscribe or leave meanwhile.
    std::vector<int> ids;
    for (const auto& entry : m_observers->list)
        ids.push_back(entry.first);
    const std::shared_ptr<Observers> keep = m_observers;
    for (const int id : ids) {
        const auto at =
            std::find_if(keep->list.begin(), keep->list.end(), [id](const auto& entry) { return entry.first == id; });
        if (at == keep->list.end())
            continue;
        const Observer observer = at->second;
        observer(move);
    }
}

} // namespace norvik
