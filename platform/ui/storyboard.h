#pragma once

// Screens made from layout resources, by identifier. An unknown identifier
// is not a crash: `instantiate` logs a clear line and answers none, and the
// caller leaves the screen where it was.

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace cw {

class AppContext;
class Screen;

class StoryboardRegistry {
public:
    using Factory = std::function<std::unique_ptr<Screen>(AppContext&)>;

    void add(std::string identifier, Factory);
    bool contains(std::string const& identifier) const { return m_factories.contains(identifier); }
    std::unique_ptr<Screen> instantiate(AppContext&, std::string const& identifier) const;

private:
    std::map<std::string, Factory> m_factories;
};

}
