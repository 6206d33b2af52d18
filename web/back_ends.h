#pragma once

// The one place where the live program chooses its back ends. The store is
// real (SQLite, chosen by the caller because it must exist before the
// application); every other service starts out as its simulated stand-in
// and is replaced here by its real implementation as that lands.

namespace cw {
class AppContext;
namespace sim {
struct SimPlatform;
}
}

namespace cw::web {

void install_linux_services(AppContext&, sim::SimPlatform& stand_ins);

}
