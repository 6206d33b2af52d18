#pragma once

// The main run loop. Everything that touches screens, the store or the
// scroll engine runs on it, one "turn" at a time. A turn is one posted task,
// one timer firing or one display-refresh frame; after every turn the loop
// runs its end-of-turn hooks (the defaults store flushes there), so what one
// turn changed reaches the disk together.
//
// Other threads never touch the system directly: they `post` work, and the
// loop runs it on the main thread in the order it was posted.
//
// Time. The loop keeps its own clock in nanoseconds since it started. In a
// virtual loop (tests, the headless driver) time moves only when someone
// calls `advance`; due timers and frames then fire in time order, and nothing
// sleeps. In a real loop `run` follows the steady clock and waits in between.
//
// Display refresh. Frames fall on a fixed grid, frame k at k / rate seconds.
// Each frame calls every registered display link. A front end that paints
// for real (the browser) can take over with `set_external_frames(true)` and
// then call `tick_display` once per painted frame.
//
// Modes. Timers and display links belong to the default mode or to the
// common modes. While the user drags (`begin_tracking` .. `end_tracking`)
// only common-mode work fires; default-mode timers that fell due meanwhile
// fire once when tracking ends, and default-mode frames are skipped.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace cw {

enum class LoopMode { Default, Common };

class RunLoop;

// Cancels its timer or display link when destroyed or cancelled. Safe to
// cancel from inside the callback it guards, and after the loop is gone.
class LoopHandle {
public:
    LoopHandle() = default;
    LoopHandle(LoopHandle&&) noexcept;
    LoopHandle& operator=(LoopHandle&&) noexcept;
    ~LoopHandle();
    void cancel();
    bool active() const;

private:
    friend class RunLoop;
    LoopHandle(std::weak_ptr<RunLoop*>, std::uint64_t id);
    std::weak_ptr<RunLoop*> m_loop;
    std::uint64_t m_id { 0 };
};

class RunLoop {
public:
    enum class Time { Virtual, Real };

    explicit RunLoop(Time time = Time::Virtual, double refresh_rate = 60.0);
    ~RunLoop();
    RunLoop(RunLoop const&) = delete;
    RunLoop& operator=(RunLoop const&) = delete;

    // Thread-safe. The task runs on the main thread in a later turn.
    void post(std::function<void()> task);

    [[nodiscard]] LoopHandle schedule_timer(double interval_seconds, bool repeats, LoopMode, std::function<void()>);
    [[nodiscard]] LoopHandle add_display_link(LoopMode, std::function<void()>);

    void begin_tracking();
    void end_tracking();
    bool tracking() const { return m_tracking; }

    // Runs after every turn until the handle goes away.
    [[nodiscard]] LoopHandle add_turn_end_hook(std::function<void()>);

    // Seconds since the loop started.
    double now() const;
    // A real loop follows the steady clock and runs by itself (`run`).
    bool real_time() const { return m_time == Time::Real; }
    // Seconds since 1970-01-01 00:00 UTC. Virtual loops start at a fixed,
    // settable moment so that anything stamped with the time is repeatable.
    double seconds_since_1970() const;
    void set_virtual_epoch(double seconds_since_1970) { m_virtual_epoch = seconds_since_1970; }

    double refresh_rate() const { return m_refresh_rate; }
    void set_refresh_rate(double);
    void set_external_frames(bool);
    bool external_frames() const { return m_external_frames; }
    // One painted frame from an external driver.
    void tick_display();
    std::uint64_t frames_fired() const { return m_frames_fired; }
    // Whether anything listens to display refreshes, i.e. whether an
    // external driver needs to tick at all.
    bool has_display_links() const { return !m_links.empty(); }

    // Virtual time: run everything due up to now + seconds.
    void advance(double seconds);
    // Virtual time: move to the n-th frame boundary after now, firing it.
    void advance_frames(int count);
    // Runs posted tasks (and whatever they post) without moving time.
    void run_pending();

    // Real time: runs until `quit`. `quit` is thread-safe.
    void run();
    void quit();

private:
    friend class LoopHandle;
    struct Timer {
        std::int64_t fire_at;
        std::int64_t interval;
        bool repeats;
        LoopMode mode;
        std::shared_ptr<std::function<void()>> callback;
    };
    struct Link {
        LoopMode mode;
        std::shared_ptr<std::function<void()>> callback;
    };

    void cancel(std::uint64_t id);
    bool has(std::uint64_t id) const;
    void run_turn(std::function<void()> const&);
    bool run_one_task();
    void process_until(std::int64_t target_ns);
    std::int64_t next_event_time() const;
    std::int64_t frame_time(std::int64_t index) const;
    std::int64_t next_frame_index() const;
    void fire_timer(std::uint64_t id);
    void fire_frame();
    std::int64_t clock_ns() const;

    Time m_time;
    double m_refresh_rate;
    double m_virtual_epoch { 1'800'000'000.0 };
    std::int64_t m_now_ns { 0 };
    std::int64_t m_last_frame_index { 0 };
    std::uint64_t m_frames_fired { 0 };
    bool m_tracking { false };
    bool m_external_frames { false };
    std::uint64_t m_next_id { 1 };
    std::map<std::uint64_t, Timer> m_timers;
    std::map<std::uint64_t, Link> m_links;
    std::map<std::uint64_t, std::function<void()>> m_turn_end_hooks;
    std::shared_ptr<RunLoop*> m_alive;

    mutable std::mutex m_queue_mutex;
    std::condition_variable m_queue_cv;
    std::deque<std::function<void()>> m_queue;
    bool m_quit { false };
    std::int64_t m_real_start_ns { 0 };
};

}
