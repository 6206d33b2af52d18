#include "watch_protocol.h"

namespace cw::remote {

std::optional<WatchCommand> watch_command(Record const& message)
{
    auto it = message.find(watch_command_key);
    if (it == message.end() || !it->second.is_string())
        return std::nullopt;
    auto const& word = it->second.as_string();
    if (word == "START")
        return WatchCommand::Start;
    if (word == "STOP")
        return WatchCommand::Stop;
    if (word == "BACK TO START")
        return WatchCommand::BackToStart;
    if (word == "INCREASE")
        return WatchCommand::Increase;
    if (word == "DECREASE")
        return WatchCommand::Decrease;
    return std::nullopt;
}

std::string watch_command_log_line(WatchCommand command)
{
    switch (command) {
    case WatchCommand::Start:
        return "iPhone app: Received 'START' command from Watch app.";
    case WatchCommand::Stop:
        return "iPhone app: Received 'STOP' command from Watch app.";
    case WatchCommand::BackToStart:
        return "iPhone app: Received 'BACK TO START' command from Watch app.";
    case WatchCommand::Increase:
    case WatchCommand::Decrease:
        break;
    }
    return {};
}

double watch_speed_after_step(WatchCommand command, double value, double minimum, double maximum)
{
    if (command == WatchCommand::Increase) {
        double raised = value + watch_speed_step;
        return raised > maximum ? maximum : raised;
    }
    double lowered = value - watch_speed_step;
    return lowered < minimum ? minimum : lowered;
}

}
