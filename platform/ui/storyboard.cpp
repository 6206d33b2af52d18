#include "storyboard.h"

#include "app_context.h"
#include "screen.h"

namespace cw {

void StoryboardRegistry::add(std::string identifier, Factory factory)
{
    m_factories[std::move(identifier)] = std::move(factory);
}

std::unique_ptr<Screen> StoryboardRegistry::instantiate(AppContext& context, std::string const& identifier) const
{
    auto it = m_factories.find(identifier);
    if (it == m_factories.end()) {
        context.log.line("Storyboard (Main) doesn't contain a view controller with identifier '" + identifier + "'");
        return nullptr;
    }
    auto controller = it->second(context);
    if (controller)
        controller->storyboard_identifier = identifier;
    return controller;
}

}
