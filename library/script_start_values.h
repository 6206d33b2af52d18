#pragma once

// The settings a new script starts with: text size 56, normal scrolling,
// white text on black, no vertical mirror, no voice scrolling, no
// recording. The horizontal mirror is one flag for every script and gets
// nothing here.

#include "platform/foundation/value.h"

#include <array>

namespace cw {

// One value per per-script settings list, in the order of
// keys::perScriptSettings, which is also the order they are written in.
std::array<Value, 7> script_start_values();

}
