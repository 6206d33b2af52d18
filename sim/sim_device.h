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
};

class SimDevice {
public:
    explicit SimDevice(RunLoop&, SimDeviceOptions = {});
    ~SimDevice();

    void launch();

    RunLoop& loop() { return m_loop; }
    Application& app() { return *m_app; }
    AppContext& context() { return m_app->context(); }
    Defaults& store() { return context().defaults; }
    sim::SimPlatform& platform() { return *m_platform; }
    CapturedLogSink& log() { return *m_log; }

    // Delivers everything waiting on the platform queue, then runs the main
    // queue, until both are quiet.
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

private:
    RunLoop& m_loop;
    std::unique_ptr<sim::SimPlatform> m_platform;
    std::shared_ptr<CapturedLogSink> m_log;
    std::unique_ptr<Application> m_app;
};

}
