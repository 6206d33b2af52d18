#pragma once

// Driving the prompter on a simulated device, shared by the automation
// commands and the tests.

#include "sim/sim_device.h"

#include <cstdint>
#include <string>

namespace cw {

class scriptViewController;

// Opens the script at `index` the way the home screen does: writes the
// working keys ("currentlyEditingTitle", "currentlyEditingText",
// "currentlyEditingIndex", "isNewScript" = NO), then pushes "scriptID",
// animated, and settles. Answers the prompter, or none with `error` filled
// in when the store holds no script text at `index` or no prompter opened.
scriptViewController* open_script(SimDevice&, std::int64_t index, std::string& error);

// The prompter on top of the device, or none.
scriptViewController* top_prompter(SimDevice&);

}
