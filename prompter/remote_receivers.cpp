// The prompter's ends of both remotes: the peer session (commands and speed
// from a remote sender screen) and the watch session (commands from the
// companion watch). Both are delivered on a platform queue; what they ask
// for runs on the main queue, in the order it arrived.

#include "scriptViewController.h"

#include "remote/peer_protocol.h"
#include "remote/watch_protocol.h"
#include "platform/foundation/format.h"
#include "platform/ui/app_context.h"

namespace cw {

void scriptViewController::sessionDidReceiveDataFromPeer(Bytes const& data, PeerID const& peer)
{
    // Decoded here, on the delivering queue; acted on in the main queue.
    auto message = remote::decode_peer_message(data);
    using Kind = remote::PeerMessage::Kind;
    if (message.kind == Kind::Unreadable) {
        // Too short to hold a speed and no command word: nothing to obey.
        context().log.line(format("Ignored %ld bytes from peer %@: no command and no speed value.", { static_cast<std::int64_t>(data.data.size()), peer.display_name }));
        return;
    }
    defer([this, message] {
        switch (message.kind) {
        case Kind::Start:
            startScript();
            startButton->hidden = true;
            stopButton->hidden = false;
            break;
        case Kind::Stop:
            stopScript();
            startButton->hidden = false;
            stopButton->hidden = true;
            break;
        case Kind::BackToStart:
            stopScript();
            ScriptTextView->set_content_offset({ 0, 0 }, true);
            ScriptTextView->set_content_offset({ 0, 0 }, false);
            startButton->hidden = true;
            stopButton->hidden = false;
            // The second stop leaves the run buttons as after any stop.
            stopScript();
            break;
        case Kind::Speed:
            handleReceivedSliderValue(message.speed);
            break;
        case Kind::Unreadable:
            break;
        }
    });
}

void scriptViewController::sessionPeerDidChangeState(PeerID const& peer, PeerSessionState state)
{
    defer([this, name = peer.display_name, state] {
        switch (state) {
        case PeerSessionState::Connecting:
            context().log.line(format("Connecting to peer: %@", { name }));
            activityIndicator->start_animating();
            break;
        case PeerSessionState::Connected:
            context().log.line(format("Connected to peer: %@", { name }));
            activityIndicator->stop_animating();
            showAlertWithTitleMessage("Connected", format("Connected to %@", { name }));
            break;
        case PeerSessionState::NotConnected:
            context().log.line(format("Disconnected from peer: %@", { name }));
            activityIndicator->stop_animating();
            showAlertWithTitleMessage("Disconnected", format("Disconnected from %@", { name }));
            break;
        }
    });
}

void scriptViewController::sessionActivationDidCompleteWithStateError(WatchActivationState, std::string const&)
{
    context().log.line("activation completed");
}

void scriptViewController::sessionDidBecomeInactive()
{
    context().log.line("session did become inactive");
}

void scriptViewController::sessionDidDeactivate()
{
    context().log.line("session did  deactivate");
}

void scriptViewController::sessionDidReceiveMessageReplyHandler(Record const& message, std::function<void(Record)>)
{
    auto command = remote::watch_command(message);
    context().log.line("Message received from watch!");
    if (!command)
        return;
    if (auto line = remote::watch_command_log_line(*command); !line.empty())
        context().log.line(line);

    defer([this, command = *command] {
        switch (command) {
        case remote::WatchCommand::Start:
            startScript();
            break;
        case remote::WatchCommand::Stop:
            stopScript();
            break;
        case remote::WatchCommand::BackToStart:
            backToStart();
            break;
        case remote::WatchCommand::Increase:
        case remote::WatchCommand::Decrease: {
            double speed = remote::watch_speed_after_step(command, SpeedSlider->value(), SpeedSlider->minimum_value, SpeedSlider->maximum_value);
            SpeedSlider->set_value(static_cast<float>(speed), true);
            handleReceivedSliderValue(speed);
            break;
        }
        }
    });
}

}
