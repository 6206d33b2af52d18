#pragma once

// Who paints the display refreshes. A page that is open and visible paints
// with the real screen's refresh (requestAnimationFrame) and sends one tick
// per painted frame; the run loop then takes its frames from those ticks
// (`RunLoop::set_external_frames(true)`), so each painted frame shows
// exactly one step of whatever moves. Only one page drives: the one focused
// most recently among the visible ones, the same page whose viewport gives
// the window its size.
//
// The loop's own steady 60 Hz clock takes over again when no page can drive
// (none open, all hidden) and also when the driving page stops ticking while
// something listens to display refreshes (a background tab gets no
// animation frames): a run keeps going for the pages that still watch, and
// the driving page takes over again with its next tick.
//
// Everything here runs on the main loop.

#include "platform/foundation/run_loop.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace cw::web {

using ClientId = std::uint64_t;

class FrameDriver {
public:
    explicit FrameDriver(RunLoop&);
    ~FrameDriver();

    void page_opened(ClientId, bool focused, bool visible);
    void page_closed(ClientId);
    void page_focused(ClientId);
    void page_visibility(ClientId, bool visible);

    std::optional<ClientId> driver() const { return m_driver; }
    bool drives(ClientId page) const { return m_driver == page; }

    // A painted frame from a page: fires one display refresh when that page
    // drives, and answers whether it did.
    bool tick(ClientId);

    // Called when another page (or none) becomes the driver.
    std::function<void(std::optional<ClientId>)> on_driver_changed;

    // How long the driving page may go without a tick, while refreshes are
    // wanted, before the loop's own clock takes over.
    static constexpr double stall_seconds = 0.25;

private:
    struct Page {
        ClientId id;
        bool visible;
    };

    void choose_driver();
    void watch();
    void use_page_frames(bool);

    RunLoop& m_loop;
    // Least recently focused first.
    std::vector<Page> m_pages;
    std::optional<ClientId> m_driver;
    double m_last_tick { 0 };
    double m_links_since { 0 };
    bool m_had_links { false };
    LoopHandle m_watchdog;
};

}
