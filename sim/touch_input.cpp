#include "touch_input.h"

#include "platform/ui/collection_view.h"
#include "platform/ui/controls.h"
#include "platform/ui/gesture_recognizer.h"
#include "platform/ui/screen.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/stepper.h"
#include "platform/ui/switch.h"
#include "platform/ui/text_view.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace cw {

View* view_at_path(View& root, std::vector<size_t> const& path)
{
    View* view = &root;
    for (auto index : path) {
        if (index >= view->subviews().size())
            return nullptr;
        view = view->subviews()[index].get();
    }
    return view;
}

// The linear part of a transform, undone. A transform that flattens the view
// (determinant 0) cannot be undone; the vector then stays as it was.
static Point undo_linear(AffineTransform const& t, Point v)
{
    double det = t.a * t.d - t.b * t.c;
    if (std::abs(det) < 1e-12)
        return v;
    return { (t.d * v.x - t.c * v.y) / det, (-t.b * v.x + t.a * v.y) / det };
}

Point window_vector_to_view(View const& view, Point vector)
{
    std::vector<View const*> chain;
    for (View const* v = &view; v; v = v->superview())
        chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        vector = undo_linear((*it)->transform, vector);
    return vector;
}

Point window_point_to_view(View const& view, Point point)
{
    auto origin = view.convert_to_root({});
    return { point.x - origin.x, point.y - origin.y };
}

static double distance(Point a, Point b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

static Point difference(Point a, Point b)
{
    return { a.x - b.x, a.y - b.y };
}

// The nearest enabled recogniser of a kind, from the touched view upwards.
static GestureRecognizer* find_recognizer(View* view, GestureRecognizer::Type type)
{
    for (; view; view = view->superview()) {
        for (auto const& recognizer : view->gesture_recognizers()) {
            if (recognizer->type == type && recognizer->enabled)
                return recognizer.get();
        }
    }
    return nullptr;
}

// What a finger scrolls: text views, scroll views (tables too) and grids,
// each within its own range.
Point scroll_offset(View& view)
{
    if (auto* text = dynamic_cast<TextView*>(&view))
        return text->content_offset();
    if (auto* scroll = dynamic_cast<ScrollView*>(&view))
        return scroll->content_offset();
    if (auto* grid = dynamic_cast<CollectionView*>(&view))
        return grid->content_offset();
    return {};
}

bool is_scrollable(View const& view)
{
    if (auto const* scroll = dynamic_cast<ScrollView const*>(&view))
        return scroll->scroll_enabled;
    return dynamic_cast<TextView const*>(&view) || dynamic_cast<CollectionView const*>(&view);
}

void user_scroll(View& view, Point offset)
{
    if (auto* text = dynamic_cast<TextView*>(&view)) {
        double limit = std::max(0.0, text->content_size().height - text->frame.size.height);
        text->set_content_offset({ 0, std::clamp(offset.y, 0.0, limit) });
    } else if (auto* scroll = dynamic_cast<ScrollView*>(&view)) {
        scroll->user_scroll_to(offset);
    } else if (auto* grid = dynamic_cast<CollectionView*>(&view)) {
        grid->user_scroll_to(offset);
    }
}

// The nearest control a tap works, from the touched view upwards: a button
// taps, a switch flips, a segmented control selects the segment under the
// finger and a stepper steps down on its left half and up on its right.
static bool tap_control(View* view, Point window_point)
{
    for (; view; view = view->superview()) {
        if (auto* button = dynamic_cast<Button*>(view)) {
            button->tap();
            return true;
        }
        if (auto* toggle = dynamic_cast<Switch*>(view)) {
            toggle->user_toggle();
            return true;
        }
        auto local = window_point_to_view(*view, window_point);
        if (auto* segments = dynamic_cast<SegmentedControl*>(view)) {
            int count = segments->number_of_segments();
            if (count > 0 && view->frame.size.width > 0)
                segments->user_select_segment(std::clamp(static_cast<int>(local.x / (view->frame.size.width / count)), 0, count - 1));
            return true;
        }
        if (auto* stepper = dynamic_cast<Stepper*>(view)) {
            if (local.x < view->frame.size.width / 2)
                stepper->user_decrement();
            else
                stepper->user_increment();
            return true;
        }
    }
    return false;
}

static void report(GestureRecognizer& recognizer, GestureState state, Point window_point, Point start)
{
    if (recognizer.view) {
        recognizer.translation = window_vector_to_view(*recognizer.view, difference(window_point, start));
        recognizer.update(state, window_point_to_view(*recognizer.view, window_point));
    } else {
        recognizer.update(state, window_point);
    }
}

TouchInput::TouchInput(RunLoop& loop, std::function<Screen*()> top_screen)
    : m_loop(loop)
    , m_top_screen(std::move(top_screen))
{
}

TouchInput::~TouchInput()
{
    if (m_phase == Phase::Scrolling)
        m_loop.end_tracking();
}

View* TouchInput::touched_view() const
{
    if (!m_screen || m_screen_alive.expired())
        return nullptr;
    auto* view = view_at_path(m_screen->view(), m_path);
    if (!view || view->name != m_name)
        return nullptr;
    return view;
}

bool TouchInput::down(std::vector<size_t> const& path, Point where)
{
    cancel();
    auto* screen = m_top_screen();
    if (!screen)
        return false;
    auto* view = view_at_path(screen->view(), path);
    if (!view)
        return false;
    m_phase = Phase::Pressing;
    m_screen = screen;
    m_screen_alive = screen->weak_token();
    m_path = path;
    m_name = view->name;
    m_start = m_last = where;
    if (auto* long_press = find_recognizer(view, GestureRecognizer::Type::LongPress)) {
        m_long_press_timer = m_loop.schedule_timer(long_press->minimum_press_duration, false, LoopMode::Common, [this] {
            long_press_fired();
        });
    }
    return true;
}

void TouchInput::long_press_fired()
{
    auto* view = touched_view();
    if (m_phase != Phase::Pressing || !view) {
        cancel();
        return;
    }
    if (auto* recognizer = find_recognizer(view, GestureRecognizer::Type::LongPress)) {
        m_phase = Phase::LongPressing;
        report(*recognizer, GestureState::Began, m_last, m_start);
    }
}

// The nearest view that takes a moving finger: a pan recogniser, or else a
// view that scrolls; on one view the recogniser comes first.
void TouchInput::start_moving(View& view, Point where)
{
    m_long_press_timer.cancel();
    for (View* v = &view; v; v = v->superview()) {
        for (auto const& recognizer : v->gesture_recognizers()) {
            if (recognizer->type == GestureRecognizer::Type::Pan && recognizer->enabled) {
                m_phase = Phase::Panning;
                m_mover = v;
                report(*recognizer, GestureState::Began, where, m_start);
                return;
            }
        }
        if (is_scrollable(*v)) {
            m_phase = Phase::Scrolling;
            m_mover = v;
            m_start_offset = scroll_offset(*v);
            m_loop.begin_tracking();
            return;
        }
    }
    m_phase = Phase::Moved;
}

// The view `start_moving` chose, found again from the touched view.
View* TouchInput::mover(View* view) const
{
    for (; view; view = view->superview()) {
        if (view == m_mover)
            return view;
    }
    return nullptr;
}

static GestureRecognizer* pan_of(View* view)
{
    if (!view)
        return nullptr;
    for (auto const& recognizer : view->gesture_recognizers()) {
        if (recognizer->type == GestureRecognizer::Type::Pan && recognizer->enabled)
            return recognizer.get();
    }
    return nullptr;
}

void TouchInput::move(Point where)
{
    if (m_phase == Phase::Idle)
        return;
    auto* view = touched_view();
    if (!view) {
        cancel();
        return;
    }
    m_last = where;
    if (m_phase == Phase::Pressing) {
        if (distance(where, m_start) <= slop)
            return;
        start_moving(*view, where);
    }
    switch (m_phase) {
    case Phase::LongPressing:
        if (auto* recognizer = find_recognizer(view, GestureRecognizer::Type::LongPress))
            report(*recognizer, GestureState::Changed, where, m_start);
        break;
    case Phase::Panning:
        if (auto* recognizer = pan_of(mover(view)))
            report(*recognizer, GestureState::Changed, where, m_start);
        break;
    case Phase::Scrolling:
        if (auto* scrolled = mover(view)) {
            // The content follows the finger.
            auto moved = window_vector_to_view(*scrolled, difference(where, m_start));
            user_scroll(*scrolled, { m_start_offset.x - moved.x, m_start_offset.y - moved.y });
        }
        break;
    default:
        break;
    }
}

void TouchInput::up(Point where)
{
    finish(true, where);
}

void TouchInput::cancel()
{
    finish(false, m_last);
}

void TouchInput::finish(bool lifted, Point where)
{
    if (m_phase == Phase::Idle)
        return;
    auto phase = std::exchange(m_phase, Phase::Idle);
    m_long_press_timer.cancel();
    if (phase == Phase::Scrolling)
        m_loop.end_tracking();
    auto* view = touched_view();
    m_screen = nullptr;
    if (!view)
        return;
    auto state = lifted ? GestureState::Ended : GestureState::Cancelled;
    switch (phase) {
    case Phase::Pressing:
        if (!lifted || distance(where, m_start) > slop)
            break;
        if (!tap_control(view, where)) {
            if (auto* tap = find_recognizer(view, GestureRecognizer::Type::Tap))
                report(*tap, GestureState::Ended, where, m_start);
        }
        break;
    case Phase::LongPressing:
        if (auto* recognizer = find_recognizer(view, GestureRecognizer::Type::LongPress))
            report(*recognizer, state, where, m_start);
        break;
    case Phase::Panning:
        if (auto* recognizer = pan_of(mover(view)))
            report(*recognizer, state, where, m_start);
        break;
    default:
        break;
    }
}

}
