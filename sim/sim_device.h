#pragma once

// One simulated device: an application on the simulated back ends, with a
// captured log, in one object. Tests and the headless driver both build on
// it, so a test reads like a user session:
//
//     RunLoop loop;
//     SimDevice device(loop);
//     device.launch();
//     device.tap("startButton");
//     loop.advance_frames(120);
//
// Several devices may share one run loop (one virtual clock).

#include "app/application.h"
#include "platform/foundation/log.h"
#include "platform/sim/sim_platform.h"
#include "platform/ui/alert_controller.h"
#include "sim/touch_input.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace cw {

struct SimDeviceOptions {
    // The store's content before launch (in-memory store).
    std::map<std::string, Value> store;
    // When set, the store lives in this data folder instead (real SQLite).
    std::optional<std::string> data_dir;
    Size window_size { 390, 844 };
    Idiom idiom { Idiom::Phone };
    std::string device_name { "Presenter's device" };
    // The peer-to-peer air shared with other devices; none gives the
    // device an air of its own.
    std::shared_ptr<sim::SimPeerAir> air;
};

class SimDevice {
public:
    explicit SimDevice(RunLoop&, SimDeviceOptions = {});
    // A device around an application the caller built on other back ends:
    // the live program builds its application on the real clock, the SQLite
    // store and the log file, and hands it over here so that every driver
    // command works on it as well. `platform` holds the simulated services
    // the application still uses; `log` is a sink the application already
    // writes to.
    SimDevice(RunLoop&, std::unique_ptr<Application>, std::unique_ptr<sim::SimPlatform>, std::shared_ptr<CapturedLogSink> log);
    ~SimDevice();

    void launch();

    RunLoop& loop() { return m_loop; }
    Application& app() { return *m_app; }
    AppContext& context() { return m_app->context(); }
    Defaults& store() { return context().defaults; }
    sim::SimPlatform& platform() { return *m_platform; }
    CapturedLogSink& log() { return *m_log; }

    // Delivers everything waiting on the platform queue, then runs the main
    // queue, until both are quiet. On a real-time loop, which runs by
    // itself, it only delivers the platform queue: running the main queue
    // from inside a turn would run other work in the middle of this one.
    void settle();

    Screen* top() const;
    template<typename T>
    T* top_as() const { return dynamic_cast<T*>(top()); }
    AlertController* alert() const { return dynamic_cast<AlertController*>(top()); }

    // Finds a view by outlet name on the top screen.
    View* find(std::string const& name) const;
    // Taps a button by outlet name on the top screen; false if there is none.
    bool tap(std::string const& name);
    // Answers the top alert; false if there is no alert or no such action.
    bool choose(std::string const& action_title);
    bool type_into_alert(size_t field, std::string const& text);
    // The presenter swipes the top sheet away (or presses Esc in the
    // browser): the platform dismisses it without the screen's own close
    // running; a document picker is cancelled. False when the top screen
    // is not a presented sheet.
    bool swipe_away_sheet();
    // The finger on the top screen (touch_input.h).
    TouchInput& touches() { return *m_touches; }

private:
    void pump_platform_queue_each_turn();

    RunLoop& m_loop;
    std::unique_ptr<sim::SimPlatform> m_platform;
    std::shared_ptr<CapturedLogSink> m_log;
    std::unique_ptr<Application> m_app;
    std::unique_ptr<TouchInput> m_touches;
    LoopHandle m_platform_pump;
    bool m_pump_posted { false };
    std::shared_ptr<int> m_alive { std::make_shared<int>(0) };
};

}
