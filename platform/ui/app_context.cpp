#include "app_context.h"

#include "screen.h"

namespace cw {

AppContext::AppContext(RunLoop& loop, std::unique_ptr<Persistence> persistence, Paths paths, Size window_size, Idiom idiom)
    : loop(loop)
    , defaults(std::move(persistence))
    , paths(std::move(paths))
    , window(window_size, idiom)
{
    m_flush_hook = loop.add_turn_end_hook([this] {
        defaults.flush();
        release_retired();
    });
}

AppContext::~AppContext()
{
    // Screens go first: they may still hold timers and observations.
    window.set_root(nullptr);
    release_retired();
    defaults.flush();
}

void AppContext::retire(std::unique_ptr<Screen> controller)
{
    m_retired.push_back(std::move(controller));
}

}

namespace cw {

void AppContext::release_retired()
{
    // A screen's destructor may retire screens it presented; keep going
    // until nothing is left.
    while (!m_retired.empty()) {
        auto leaving = std::move(m_retired);
        m_retired.clear();
        leaving.clear();
    }
}

}
