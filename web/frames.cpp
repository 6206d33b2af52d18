#include "frames.h"

#include <algorithm>

namespace cw::web {

FrameDriver::FrameDriver(RunLoop& loop)
    : m_loop(loop)
{
}

FrameDriver::~FrameDriver()
{
    use_page_frames(false);
}

void FrameDriver::page_opened(ClientId id, bool focused, bool visible)
{
    std::erase_if(m_pages, [id](Page const& page) { return page.id == id; });
    if (focused)
        m_pages.push_back({ id, visible });
    else
        m_pages.insert(m_pages.begin(), { id, visible });
    choose_driver();
}

void FrameDriver::page_closed(ClientId id)
{
    std::erase_if(m_pages, [id](Page const& page) { return page.id == id; });
    choose_driver();
}

void FrameDriver::page_focused(ClientId id)
{
    auto it = std::find_if(m_pages.begin(), m_pages.end(), [id](Page const& page) { return page.id == id; });
    if (it == m_pages.end())
        return;
    Page page = *it;
    page.visible = true;
    m_pages.erase(it);
    m_pages.push_back(page);
    choose_driver();
}

void FrameDriver::page_visibility(ClientId id, bool visible)
{
    for (auto& page : m_pages) {
        if (page.id == id)
            page.visible = visible;
    }
    choose_driver();
}

void FrameDriver::choose_driver()
{
    std::optional<ClientId> chosen;
    for (auto it = m_pages.rbegin(); it != m_pages.rend(); ++it) {
        if (it->visible) {
            chosen = it->id;
            break;
        }
    }
    if (m_pages.empty())
        m_watchdog.cancel();
    else if (!m_watchdog.active())
        m_watchdog = m_loop.schedule_timer(0.1, true, LoopMode::Common, [this] { watch(); });
    if (chosen == m_driver)
        return;
    m_driver = chosen;
    // The new driver starts from its next tick; until then the loop's clock
    // keeps time.
    use_page_frames(false);
    m_last_tick = m_loop.now();
    if (on_driver_changed)
        on_driver_changed(m_driver);
}

void FrameDriver::use_page_frames(bool external)
{
    if (m_loop.external_frames() != external)
        m_loop.set_external_frames(external);
}

bool FrameDriver::tick(ClientId id)
{
    if (!drives(id))
        return false;
    m_last_tick = m_loop.now();
    use_page_frames(true);
    m_loop.tick_display();
    return true;
}

void FrameDriver::watch()
{
    bool links = m_loop.has_display_links();
    if (links && !m_had_links)
        m_links_since = m_loop.now();
    m_had_links = links;
    if (!links || !m_loop.external_frames())
        return;
    if (m_loop.now() - std::max(m_last_tick, m_links_since) > stall_seconds)
        use_page_frames(false);
}

}
