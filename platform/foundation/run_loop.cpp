#include "run_loop.h"

#include <chrono>
#include <utility>
#include <cmath>
#include <limits>

namespace cw {

static constexpr std::int64_t never = std::numeric_limits<std::int64_t>::max();

static std::int64_t to_ns(double seconds)
{
    return static_cast<std::int64_t>(std::llround(seconds * 1e9));
}

LoopHandle::LoopHandle(std::weak_ptr<RunLoop*> loop, std::uint64_t id)
    : m_loop(std::move(loop))
    , m_id(id)
{
}

LoopHandle::LoopHandle(LoopHandle&& other) noexcept
    : m_loop(std::move(other.m_loop))
    , m_id(std::exchange(other.m_id, 0))
{
}

LoopHandle& LoopHandle::operator=(LoopHandle&& other) noexcept
{
    if (this != &other) {
        cancel();
        m_loop = std::move(other.m_loop);
        m_id = std::exchange(other.m_id, 0);
    }
    return *this;
}

LoopHandle::~LoopHandle()
{
    cancel();
}

void LoopHandle::cancel()
{
    if (m_id == 0)
        return;
    if (auto loop = m_loop.lock())
        (*loop)->cancel(m_id);
    m_id = 0;
}

bool LoopHandle::active() const
{
    auto loop = m_loop.lock();
    return loop && m_id != 0 && (*loop)->has(m_id);
}

RunLoop::RunLoop(Time time, double refresh_rate)
    : m_time(time)
    , m_refresh_rate(refresh_rate)
    , m_alive(std::make_shared<RunLoop*>(this))
{
    m_real_start_ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

RunLoop::~RunLoop() = default;

std::int64_t RunLoop::clock_ns() const
{
    if (m_time == Time::Virtual)
        return m_now_ns;
    auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
    return now - m_real_start_ns;
}

double RunLoop::now() const
{
    return static_cast<double>(clock_ns()) / 1e9;
}

double RunLoop::seconds_since_1970() const
{
    if (m_time == Time::Virtual)
        return m_virtual_epoch + now();
    auto since = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count();
}

void RunLoop::post(std::function<void()> task)
{
    {
        std::lock_guard lock(m_queue_mutex);
        m_queue.push_back(std::move(task));
    }
    m_queue_cv.notify_one();
}

LoopHandle RunLoop::schedule_timer(double interval_seconds, bool repeats, LoopMode mode, std::function<void()> callback)
{
    auto id = m_next_id++;
    auto interval = std::max<std::int64_t>(to_ns(interval_seconds), repeats ? 1 : 0);
    m_timers.emplace(id, Timer { clock_ns() + interval, interval, repeats, mode, std::make_shared<std::function<void()>>(std::move(callback)) });
    m_queue_cv.notify_one();
    return LoopHandle(m_alive, id);
}

LoopHandle RunLoop::add_display_link(LoopMode mode, std::function<void()> callback)
{
    if (m_links.empty()) {
        // Frames only count while someone listens; the next one is the first
        // grid frame strictly after now.
        m_last_frame_index = static_cast<std::int64_t>(std::floor(static_cast<double>(clock_ns()) * m_refresh_rate / 1e9 + 1e-9));
    }
    auto id = m_next_id++;
    m_links.emplace(id, Link { mode, std::make_shared<std::function<void()>>(std::move(callback)) });
    m_queue_cv.notify_one();
    return LoopHandle(m_alive, id);
}

void RunLoop::cancel(std::uint64_t id)
{
    m_timers.erase(id);
    m_links.erase(id);
    m_turn_end_hooks.erase(id);
}

bool RunLoop::has(std::uint64_t id) const
{
    return m_timers.contains(id) || m_links.contains(id) || m_turn_end_hooks.contains(id);
}

void RunLoop::begin_tracking()
{
    m_tracking = true;
}

void RunLoop::end_tracking()
{
    m_tracking = false;
}

LoopHandle RunLoop::add_turn_end_hook(std::function<void()> hook)
{
    auto id = m_next_id++;
    m_turn_end_hooks.emplace(id, std::move(hook));
    return LoopHandle(m_alive, id);
}

void RunLoop::set_refresh_rate(double rate)
{
    m_refresh_rate = rate;
    m_last_frame_index = static_cast<std::int64_t>(std::floor(static_cast<double>(clock_ns()) * rate / 1e9 + 1e-9));
}

void RunLoop::set_external_frames(bool external)
{
    m_external_frames = external;
    if (!external)
        m_last_frame_index = static_cast<std::int64_t>(std::floor(static_cast<double>(clock_ns()) * m_refresh_rate / 1e9 + 1e-9));
    m_queue_cv.notify_one();
}

std::int64_t RunLoop::frame_time(std::int64_t index) const
{
    return static_cast<std::int64_t>(std::llround(static_cast<double>(index) * 1e9 / m_refresh_rate));
}

void RunLoop::run_turn(std::function<void()> const& work)
{
    work();
    for (auto& [id, hook] : m_turn_end_hooks)
        hook();
}

bool RunLoop::run_one_task()
{
    std::function<void()> task;
    {
        std::lock_guard lock(m_queue_mutex);
        if (m_queue.empty())
            return false;
        task = std::move(m_queue.front());
        m_queue.pop_front();
    }
    run_turn(task);
    return true;
}

std::int64_t RunLoop::next_event_time() const
{
    std::int64_t next = never;
    for (auto const& [id, timer] : m_timers) {
        if (m_tracking && timer.mode == LoopMode::Default)
            continue;
        next = std::min(next, timer.fire_at);
    }
    if (!m_links.empty() && !m_external_frames)
        next = std::min(next, frame_time(m_last_frame_index + 1));
    return next;
}

void RunLoop::fire_timer(std::uint64_t id)
{
    auto it = m_timers.find(id);
    auto callback = it->second.callback;
    if (it->second.repeats) {
        it->second.fire_at += it->second.interval;
        // Missed firings (during a drag, or a slow turn) are skipped, not
        // replayed in a burst.
        if (it->second.fire_at <= clock_ns())
            it->second.fire_at = clock_ns() + it->second.interval;
    } else {
        m_timers.erase(it);
    }
    run_turn(*callback);
}

void RunLoop::fire_frame()
{
    ++m_frames_fired;
    std::vector<std::pair<std::uint64_t, std::shared_ptr<std::function<void()>>>> due;
    for (auto const& [id, link] : m_links) {
        if (m_tracking && link.mode == LoopMode::Default)
            continue;
        due.emplace_back(id, link.callback);
    }
    run_turn([&] {
        for (auto const& [id, callback] : due) {
            if (m_links.contains(id))
                (*callback)();
        }
    });
}

void RunLoop::tick_display()
{
    fire_frame();
}

void RunLoop::process_until(std::int64_t target)
{
    for (;;) {
        while (run_one_task()) { }
        auto next = next_event_time();
        if (next > target)
            break;
        if (m_time == Time::Virtual)
            m_now_ns = std::max(m_now_ns, next);
        // Timers first at equal times, in the order they were made.
        std::uint64_t due_timer = 0;
        for (auto const& [id, timer] : m_timers) {
            if (timer.fire_at == next && !(m_tracking && timer.mode == LoopMode::Default)) {
                due_timer = id;
                break;
            }
        }
        if (due_timer != 0) {
            fire_timer(due_timer);
        } else {
            ++m_last_frame_index;
            fire_frame();
        }
    }
    if (m_time == Time::Virtual)
        m_now_ns = std::max(m_now_ns, target);
    while (run_one_task()) { }
}

void RunLoop::advance(double seconds)
{
    process_until(m_now_ns + to_ns(seconds));
}

void RunLoop::advance_frames(int count)
{
    if (m_external_frames) {
        for (int i = 0; i < count; ++i) {
            advance(1.0 / m_refresh_rate);
            tick_display();
        }
        return;
    }
    std::int64_t current = m_links.empty()
        ? static_cast<std::int64_t>(std::floor(static_cast<double>(m_now_ns) * m_refresh_rate / 1e9 + 1e-9))
        : m_last_frame_index;
    process_until(frame_time(current + count));
}

void RunLoop::run_pending()
{
    process_until(clock_ns());
}

void RunLoop::run()
{
    for (;;) {
        process_until(clock_ns());
        std::unique_lock lock(m_queue_mutex);
        if (m_quit)
            break;
        if (!m_queue.empty())
            continue;
        auto next = next_event_time();
        if (next == never) {
            m_queue_cv.wait(lock);
        } else {
            auto wait_ns = next - clock_ns();
            if (wait_ns > 0)
                m_queue_cv.wait_for(lock, std::chrono::nanoseconds(wait_ns));
        }
    }
}

void RunLoop::quit()
{
    {
        std::lock_guard lock(m_queue_mutex);
        m_quit = true;
    }
    m_queue_cv.notify_all();
}

}
