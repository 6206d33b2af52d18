#pragma once

// One object of a kind per application, made the first time anyone asks
// for it and kept until the application ends. Two threads that ask at the
// same time get the same object, made once (std::call_once). The registry
// of services holds one SharedInstances per application, installed before
// anything can ask, so a test that runs two devices side by side gets one
// object per device, as a real process gets exactly one.

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <typeindex>

namespace cw {

class SharedInstances {
public:
    template<typename T>
    T& get(std::function<std::unique_ptr<T>()> const& make)
    {
        Slot& slot = slot_for(std::type_index(typeid(T)));
        std::call_once(slot.once, [&] { slot.object = std::shared_ptr<void>(make()); });
        return *static_cast<T*>(slot.object.get());
    }

private:
    struct Slot {
        std::once_flag once;
        std::shared_ptr<void> object;
    };

    Slot& slot_for(std::type_index type)
    {
        std::lock_guard lock(m_mutex);
        auto& slot = m_slots[type];
        if (!slot)
            slot = std::make_unique<Slot>();
        return *slot;
    }

    std::mutex m_mutex;
    std::map<std::type_index, std::unique_ptr<Slot>> m_slots;
};

}
