#pragma once

// The application's notification centre. A poster names a notification and
// optionally the object it concerns; each observer receives the
// notifications of that name, optionally only those about one object.
// Observing hands back a token; destroying the token ends the observation,
// so a screen that holds its tokens stops listening when it goes away.
//
// Posting happens on the main thread and calls observers synchronously, in
// the order they registered.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cw {

class NotificationCenter;

class ObservationToken {
public:
    ObservationToken() = default;
    ObservationToken(ObservationToken&&) noexcept;
    ObservationToken& operator=(ObservationToken&&) noexcept;
    ~ObservationToken();
    void cancel();
    bool active() const { return m_center != nullptr; }

private:
    friend class NotificationCenter;
    ObservationToken(std::weak_ptr<NotificationCenter*>, NotificationCenter*, std::uint64_t id);
    std::weak_ptr<NotificationCenter*> m_alive;
    NotificationCenter* m_center { nullptr };
    std::uint64_t m_id { 0 };
};

class NotificationCenter {
public:
    NotificationCenter();
    ~NotificationCenter();

    [[nodiscard]] ObservationToken observe(std::string name, void const* object, std::function<void()> handler);
    void post(std::string const& name, void const* object = nullptr);

private:
    friend class ObservationToken;
    void remove(std::uint64_t id);

    struct Observer {
        std::uint64_t id;
        std::string name;
        void const* object;
        std::shared_ptr<std::function<void()>> handler;
    };
    std::vector<Observer> m_observers;
    std::uint64_t m_next_id { 1 };
    std::shared_ptr<NotificationCenter*> m_alive;
};

}
