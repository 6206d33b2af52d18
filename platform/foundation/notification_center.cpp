#include "notification_center.h"

#include <algorithm>
#include <utility>

namespace cw {

ObservationToken::ObservationToken(std::weak_ptr<NotificationCenter*> alive, NotificationCenter* center, std::uint64_t id)
    : m_alive(std::move(alive))
    , m_center(center)
    , m_id(id)
{
}

ObservationToken::ObservationToken(ObservationToken&& other) noexcept
    : m_alive(std::move(other.m_alive))
    , m_center(std::exchange(other.m_center, nullptr))
    , m_id(other.m_id)
{
}

ObservationToken& ObservationToken::operator=(ObservationToken&& other) noexcept
{
    if (this != &other) {
        cancel();
        m_alive = std::move(other.m_alive);
        m_center = std::exchange(other.m_center, nullptr);
        m_id = other.m_id;
    }
    return *this;
}

ObservationToken::~ObservationToken()
{
    cancel();
}

void ObservationToken::cancel()
{
    if (m_center && !m_alive.expired())
        m_center->remove(m_id);
    m_center = nullptr;
}

NotificationCenter::NotificationCenter()
    : m_alive(std::make_shared<NotificationCenter*>(this))
{
}

NotificationCenter::~NotificationCenter() = default;

ObservationToken NotificationCenter::observe(std::string name, void const* object, std::function<void()> handler)
{
    auto id = m_next_id++;
    m_observers.push_back({ id, std::move(name), object, std::make_shared<std::function<void()>>(std::move(handler)) });
    return ObservationToken(m_alive, this, id);
}

void NotificationCenter::post(std::string const& name, void const* object)
{
    // Handlers may add or remove observers while we deliver, so deliver to a
    // snapshot and skip anyone removed in the meantime.
    std::vector<std::pair<std::uint64_t, std::shared_ptr<std::function<void()>>>> targets;
    for (auto const& observer : m_observers) {
        if (observer.name == name && (observer.object == nullptr || observer.object == object))
            targets.emplace_back(observer.id, observer.handler);
    }
    for (auto const& [id, handler] : targets) {
        bool still_there = std::any_of(m_observers.begin(), m_observers.end(), [id](auto const& o) { return o.id == id; });
        if (still_there)
            (*handler)();
    }
}

void NotificationCenter::remove(std::uint64_t id)
{
    std::erase_if(m_observers, [id](auto const& o) { return o.id == id; });
}

}
