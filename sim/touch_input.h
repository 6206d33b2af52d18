#pragma once

// One finger on the screen, as the toolkit sees it. A front end reports
// where the finger went down, where it moved and where it lifted; this class
// decides what that was, the same way for the headless driver and the
// browser:
//
// - lifted where it went down: a tap, on the nearest control (a button
//   taps, a switch flips, a segmented control selects the segment under the
//   finger, a stepper steps down on its left half and up on its right),
//   else on the nearest tap recogniser, walking from the touched view up its
//   superviews;
// - rested without moving for a long-press recogniser's minimum duration:
//   that long press begins (timed on the run loop, so it takes its real
//   duration in the live program and virtual time in tests), follows the
//   finger and ends when it lifts;
// - moved further than a few points: the nearest view that takes it, a
//   pan recogniser's pan or a view that scrolls (text views, scroll views
//   and tables, grids), whose content then follows the finger while the run
//   loop tracks the drag (so default-mode timers and display ticks pause,
//   as they do for a real drag).
//
// The touched view is found again at every event by its path from the top
// screen's view, never kept as a pointer: the screen may close or rebuild
// its views between two events, and then the touch is simply cancelled.

#include "platform/foundation/run_loop.h"
#include "platform/ui/geometry.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cw {

class GestureRecognizer;
class Screen;
class TextView;
class View;

class TouchInput {
public:
    TouchInput(RunLoop&, std::function<Screen*()> top_screen);
    ~TouchInput();
    TouchInput(TouchInput const&) = delete;
    TouchInput& operator=(TouchInput const&) = delete;

    // `path` leads from the top screen's view to the touched view through
    // subview indices; points are in window coordinates. `down` answers
    // false when the path leads nowhere. A new `down` cancels a touch still
    // in progress.
    bool down(std::vector<size_t> const& path, Point);
    void move(Point);
    void up(Point);
    void cancel();

    bool active() const { return m_phase != Phase::Idle; }

    // How far the finger may wander and still tap or long-press.
    static constexpr double slop = 10;

private:
    enum class Phase { Idle, Pressing, Moved, LongPressing, Panning, Scrolling };

    View* touched_view() const;
    View* mover(View* touched) const;
    void long_press_fired();
    void start_moving(View&, Point);
    void finish(bool lifted, Point);

    RunLoop& m_loop;
    std::function<Screen*()> m_top_screen;

    Phase m_phase { Phase::Idle };
    Screen* m_screen { nullptr };
    std::weak_ptr<void> m_screen_alive;
    std::vector<size_t> m_path;
    std::string m_name;
    Point m_start;
    Point m_last;
    Point m_start_offset;
    // What took the moving finger; only compared, never followed, since it
    // is found again from the touched view at every event.
    View const* m_mover { nullptr };
    LoopHandle m_long_press_timer;
};

// Helpers the input commands share.

// The view at `path` under `root`, or none.
View* view_at_path(View& root, std::vector<size_t> const& path);
// A window-coordinate vector expressed in a view's own coordinates, through
// the transforms of the view and its superviews (translations aside).
Point window_vector_to_view(View const&, Point);
// A window point in a view's own coordinates.
Point window_point_to_view(View const&, Point);
// Scrolling as a user does it: text views, scroll views (tables too) and
// grids, each kept within its own range.
bool is_scrollable(View const&);
Point scroll_offset(View&);
void user_scroll(View&, Point offset);

}
