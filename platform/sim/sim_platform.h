#pragma once

// The simulated platform of one device: its platform queue and the handles
// a test uses to script each simulated service. `install` puts the
// simulated services into an application's registry; it is the only place
// that chooses them.

#include "platform/sim/platform_queue.h"
#include "platform/sim/sim_watch_session.h"

#include <memory>

namespace cw {
class AppContext;
}

namespace cw::sim {

struct SimPlatform {
    PlatformQueue queue;
    std::shared_ptr<SimWatchSession> watch { std::make_shared<SimWatchSession>(queue) };

    void install(AppContext&);
};

}
