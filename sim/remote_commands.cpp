// The remote control's automation commands: the remote sender screen, the
// peer-to-peer air between the driver's devices (range, the platform's
// invitation prompt, raw data as a peer would send it) and the watch.
// The sender's buttons and slider go through "tap" and "set_value".

#include "driver.h"

#include "prompter/scriptViewController.h"
#include "remote/RemoteCommandSenderViewController.h"
#include "sim/prompter_driving.h"
#include "platform/ui/app_context.h"

namespace cw {

using Json = nlohmann::json;

// Cross-device deliveries need several rounds: a send on one device lands
// on another's platform queue.
static void settle_everything(Driver& driver)
{
    for (int round = 0; round < 20; ++round) {
        driver.settle_all();
        bool quiet = true;
        for (auto& [name, device] : driver.devices())
            quiet = quiet && device->platform().queue.empty();
        if (quiet)
            return;
    }
}

static RemoteCommandSenderViewController& sender(SimDevice& device)
{
    auto* shown = device.top_as<RemoteCommandSenderViewController>();
    if (!shown)
        throw DriverError("the remote sender screen is not the top screen");
    return *shown;
}

static Json open_remote(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto* top = device.top();
    if (!top)
        throw DriverError("no screen to present from");
    auto screen = device.context().storyboard.instantiate(device.context(), "RemoteID");
    if (!screen)
        throw DriverError("no remote sender screen in the layout");
    top->present(std::move(screen), true);
    settle_everything(driver);
    return { { "top", device.top()->class_name() } };
}

static Json remote_state(Driver& driver, Json const& request)
{
    auto& screen = sender(driver.device(request));
    Json peers = Json::array();
    for (auto const& peer : screen.session()->connected_peers())
        peers.push_back(peer.display_name);
    return {
        { "myPeerID", screen.myPeerID.display_name },
        { "slider", { { "value", screen.slider->value() }, { "minimum", screen.slider->minimum_value }, { "maximum", screen.slider->maximum_value } } },
        { "activityIndicatorAnimating", screen.activityIndicator->is_animating() },
        { "connectedPeers", peers },
    };
}

static Json peer_range(Driver& driver, Json const& request)
{
    if (!request.contains("in_range") || !request["in_range"].is_boolean())
        throw DriverError("in_range must be true or false");
    driver.device(request).platform().peers->set_in_range(request["in_range"].get<bool>());
    settle_everything(driver);
    return {};
}

static Json peer_invitations(Driver& driver, Json const& request)
{
    Json list = Json::array();
    for (auto const& invitation : driver.device(request).platform().peers->pending_invitations())
        list.push_back({ { "from", invitation.from }, { "to", invitation.to } });
    return { { "invitations", list } };
}

static Json peer_answer(Driver& driver, Json const& request)
{
    if (!request.contains("accept") || !request["accept"].is_boolean())
        throw DriverError("accept must be true or false");
    auto from = request.value("from", std::string {});
    if (!driver.device(request).platform().peers->answer_invitation(request["accept"].get<bool>(), from))
        throw DriverError("no such invitation");
    settle_everything(driver);
    return {};
}

static Bytes request_bytes(Json const& request)
{
    if (request.contains("text") && request["text"].is_string())
        return Bytes { request["text"].get<std::string>() };
    if (request.contains("hex") && request["hex"].is_string()) {
        auto hex = request["hex"].get<std::string>();
        if (hex.size() % 2 != 0 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            throw DriverError("hex must be pairs of hexadecimal digits");
        Bytes bytes;
        for (std::size_t i = 0; i < hex.size(); i += 2)
            bytes.data.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        return bytes;
    }
    throw DriverError("give the data as \"text\" or \"hex\"");
}

// Data as a peer's session would deliver it to the prompter on top.
static Json peer_data(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto* screen = top_prompter(device);
    if (!screen)
        throw DriverError("the prompter is not the top screen");
    auto bytes = request_bytes(request);
    PeerID from { request.value("from", std::string("Cuewright_Driver")) };
    device.platform().queue.post([screen, alive = screen->weak_token(), bytes, from] {
        if (!alive.expired())
            screen->sessionDidReceiveDataFromPeer(bytes, from);
    });
    settle_everything(driver);
    return {};
}

static Value value_from_json(Json const& json)
{
    if (json.is_string())
        return json.get<std::string>();
    if (json.is_boolean())
        return json.get<bool>();
    if (json.is_number_integer())
        return json.get<std::int64_t>();
    if (json.is_number())
        return json.get<double>();
    throw DriverError("watch message values must be strings, numbers or booleans");
}

static Json watch_message(Driver& driver, Json const& request)
{
    if (!request.contains("message") || !request["message"].is_object())
        throw DriverError("message must be an object");
    Record message;
    for (auto const& [key, value] : request["message"].items())
        message[key] = value_from_json(value);
    auto& device = driver.device(request);
    device.platform().watch->send_message(std::move(message), request.value("reply", true));
    settle_everything(driver);
    return {};
}

void register_remote_commands(Driver& driver)
{
    driver.add_command("open_remote", open_remote);
    driver.add_command("remote", remote_state);
    driver.add_command("peer_range", peer_range);
    driver.add_command("peer_invitations", peer_invitations);
    driver.add_command("peer_answer", peer_answer);
    driver.add_command("peer_data", peer_data);
    driver.add_command("watch_message", watch_message);
    driver.add_command("settle", [](Driver& d, Json const&) { settle_everything(d); return Json::object(); });
}

}
