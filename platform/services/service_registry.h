#pragma once

// The services one application instance uses, looked up by interface type.
// Start-up installs one implementation per interface (simulated or real) in
// one place; screens ask for the interface they need. Asking for a service
// nobody installed is a programming error and throws a clear message.

#include <any>
#include <memory>
#include <stdexcept>
#include <string>
#include <typeindex>
#include <unordered_map>

namespace cw {

class ServiceRegistry {
public:
    template<typename Interface>
    void provide(std::shared_ptr<Interface> service)
    {
        m_services[std::type_index(typeid(Interface))] = std::move(service);
    }

    template<typename Interface>
    Interface* find() const
    {
        auto it = m_services.find(std::type_index(typeid(Interface)));
        if (it == m_services.end())
            return nullptr;
        return std::any_cast<std::shared_ptr<Interface>>(it->second).get();
    }

    template<typename Interface>
    Interface& get() const
    {
        if (auto* service = find<Interface>())
            return *service;
        throw std::logic_error(std::string("no service installed for ") + typeid(Interface).name());
    }

    template<typename Interface>
    std::shared_ptr<Interface> shared() const
    {
        auto it = m_services.find(std::type_index(typeid(Interface)));
        if (it == m_services.end())
            return nullptr;
        return std::any_cast<std::shared_ptr<Interface>>(it->second);
    }

private:
    std::unordered_map<std::type_index, std::any> m_services;
};

}
