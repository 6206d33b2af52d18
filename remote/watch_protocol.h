#pragma once

// The watch's commands: a message record whose "command" entry names one
// of five commands, compared exactly. The prompter obeys them; nothing is
// answered.

#include "platform/foundation/value.h"

#include <optional>
#include <string>

namespace cw::remote {

enum class WatchCommand { Start, Stop, BackToStart, Increase, Decrease };

inline constexpr char watch_command_key[] = "command";
inline constexpr double watch_speed_step = 5;

// The command a message carries, or none (no "command", not a string, or
// no command word).
std::optional<WatchCommand> watch_command(Record const& message);

// The line logged for a command before it is carried out; empty for the
// speed steps, which log nothing.
std::string watch_command_log_line(WatchCommand);

// The slider value after one step from `value`: up by 5 no further than
// `maximum`, or down by 5 no further than `minimum`.
double watch_speed_after_step(WatchCommand, double value, double minimum, double maximum);

}
