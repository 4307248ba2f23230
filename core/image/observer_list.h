#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace norvik {

/*
 * Observers told in the order they subscribed. While being told, an observer may drop its own or
 * another's subscription (a dropped one is not told), subscribe a new one (told from the next
 * notice on) or cause another notice (everyone is told again, inside). A subscription keeps its
 * observer registered for its own lifetime and is harmless when it outlives the list.
 */
template <class... Args> class ObserverList {
public:
    using Observer = std::function<void(Args...)>;

private:
    struct Entries {
        std::vector<std::pair<int, Observer>> list;
        int nextId = 1;
    };

public:
    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&& other) noexcept
            : m_entries(std::move(other.m_entries)), m_id(std::exchange(other.m_id, 0)) {}
        Subscription& operator=(Subscription&& other) noexcept {
            if (this != &other) {
                reset();
                m_entries = std::move(other.m_entries);
                m_id = std::exchange(other.m_id, 0);
            }
            return *this;
        }
        Subscription(const Subscription&) = delete;
        Subscription& operator=(const Subscription&) = delete;
        ~Subscription() { reset(); }

        void reset() {
            if (const auto entries = m_entries.lock())
                std::erase_if(entries->list, [id = m_id](const auto& entry) { return entry.first == id; });
            m_entries.reset();
            m_id = 0;
        }

    private:
        friend class ObserverList;
        Subscription(std::weak_ptr<Entries> entries, int id) : m_entries(std::move(entries)), m_id(id) {}
        std::weak_ptr<Entries> m_entries;
        int m_id = 0;
    };

    ObserverList() = default;
    ObserverList(const ObserverList&) = delete;
    ObserverList& operator=(const ObserverList&) = delete;

    [[nodiscard]] Subscription add(Observer observer) {
        const int id = m_entries->nextId++;
        m_entries->list.emplace_back(id, std::move(observer));
        return Subscription(m_entries, id);
    }

    void tell(Args... args) const {
        // By id, and each observer from a copy: the list may change under us.
        std::vector<int> ids;
        ids.reserve(m_entries->list.size());
        for (const auto& entry : m_entries->list)
            ids.push_back(entry.first);
        const std::shared_ptr<Entries> keep = m_entries;
        for (const int id : ids) {
            const auto at = std::find_if(keep->list.begin(), keep->list.end(),
                                         [id](const auto& entry) { return entry.first == id; });
            if (at == keep->list.end())
                continue;
            const Observer observer = at->second;
            observer(args...);
        }
    }

private:
    std::shared_ptr<Entries> m_entries = std::make_shared<Entries>();
};

} // namespace norvik
