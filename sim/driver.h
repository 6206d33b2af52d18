#pragma once

// The automation protocol: one JSON object per line in, one per line out.
// The headless driver `cuewright-sim` speaks it on stdin and stdout; the
// browser front end speaks the same protocol over its WebSocket. The
// commands are documented in docs/automation.md.
//
// A request is {"cmd": "...", "id": <optional>, "device": <optional>, ...};
// the answer carries the same id and either "ok": true with the command's
// results, or "ok": false with an "error" text. A bad request never stops
// the driver.

#include "sim/sim_device.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace cw {

// Thrown by a command to answer with an error.
struct DriverError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

nlohmann::json typed_json(Value const&);
nlohmann::json plain_json(Value const&);

class Driver {
public:
    using Json = nlohmann::json;
    using Handler = std::function<Json(Driver&, Json const& request)>;

    // A driver with its own virtual clock, for the headless driver and tests.
    Driver();
    // A driver on a loop the caller runs, e.g. the live program's real-time
    // loop; its device comes in through `adopt_device`.
    explicit Driver(RunLoop&);
    ~Driver();

    // Answers one request line.
    std::string handle_line(std::string const& line);
    Json handle(Json const& request);

    void add_command(std::string name, Handler);

    RunLoop& loop() { return *m_loop; }
    // The device a request names ("device", default "main"); throws when it
    // was not launched.
    SimDevice& device(Json const& request);
    SimDevice& launch_device(std::string const& name, SimDeviceOptions);
    // Takes over a device the caller built and launched.
    SimDevice& adopt_device(std::string const& name, std::unique_ptr<SimDevice>);
    std::map<std::string, std::unique_ptr<SimDevice>>& devices() { return m_devices; }
    void settle_all();

private:
    std::unique_ptr<RunLoop> m_own_loop;
    RunLoop* m_loop { nullptr };
    std::map<std::string, std::unique_ptr<SimDevice>> m_devices;
    std::map<std::string, Handler> m_commands;
    // Every device this driver launches is in range of the others.
    std::shared_ptr<sim::SimPeerAir> m_air { sim::make_peer_air() };
};

// Each area registers its commands in its own file.
void register_core_commands(Driver&);
void register_library_commands(Driver&);
void register_input_commands(Driver&);
void register_prompter_commands(Driver&);
void register_settings_commands(Driver&);
void register_voice_commands(Driver&);
void register_home_commands(Driver&);
void register_remote_commands(Driver&);
void register_videos_commands(Driver&);
void register_import_commands(Driver&);

// Small readers for request fields.
std::string required_string(nlohmann::json const&, char const* field);
double optional_number(nlohmann::json const&, char const* field, double fallback);

}
