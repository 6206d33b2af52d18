#pragma once

// The scroll engine moves the prompter's text by a fixed number of points on
// every display refresh while a run is active, and stops by itself at the
// end of the text (or at the top, scrolling in reverse).
//
// It is frame-driven, not time-driven: each refresh takes one step of
// N / 100 points, where N is the number written in the speed field, so the
// speed on screen follows the display's refresh rate. The speed is read
// afresh at every step, so a change applies from the next step on.
//
// The tick source and the delayed start both belong to the main run loop's
// default mode, so they pause while the user drags the text. Both are
// handles owned here: replacing one cancels the one it replaces, so the
// engine never has two tick sources, and destroying the engine stops it.

#include "platform/foundation/run_loop.h"

namespace cw {

class TextField;
class TextView;

class ScrollEngine {
public:
    // How long a start waits before the tick source takes over from the
    // first, immediate step.
    static constexpr double delayed_start_seconds = 0.03;

    explicit ScrollEngine(RunLoop&);

    // The text to move and the field that holds the speed. The engine does
    // nothing until both are attached; they must outlive it.
    void attach(TextView&, TextField& speed_field);

    // YES: the text moves up (the offset grows) towards its end. NO: it
    // moves down towards the top.
    bool ScrollDirectionIsUp { true };
    // Cleared when a run ends at the limit; voice scrolling sets and reads it.
    bool ScrollIsRunning { false };

    // One step.
    void RunScroll();
    // Installs the tick source, replacing any earlier one.
    void startRunScrollTimer();
    void stopRunScrollTimer();
    bool has_tick_source() const { return m_scroll_link.active(); }

    // The one-shot delayed `startRunScrollTimer` of a start. A later start
    // replaces a pending one.
    void schedule_delayed_start();
    void cancel_delayed_start() { m_delayed_start.cancel(); }
    bool delayed_start_pending() const { return m_delayed_start.active(); }

private:
    void end_run();

    RunLoop& m_loop;
    TextView* m_text { nullptr };
    TextField* m_speed_field { nullptr };
    LoopHandle m_scroll_link;
    LoopHandle m_delayed_start;
};

}
