#pragma once

// The notifications an open prompter listens to. The settings screens post
// them, without payload, on the application's notification centre.

namespace cw::notifications {

// The per-script settings were saved: reload the whole presentation.
inline constexpr char TestNotification[] = "TestNotification";
// The horizontal mirror (one flag for all scripts) was switched on or off,
// or the settings screen came into view and repeats its state.
inline constexpr char HMirrorTurnedOnNotification[] = "HMirrorTurnedOnNotification";
inline constexpr char HMirrorTurnedOffNotification[] = "HMirrorTurnedOffNotification";

}
