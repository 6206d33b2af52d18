#include "RemoteCommandSenderViewController.h"

#include "remote/peer_protocol.h"
#include "remote/sender_layout.h"
#include "platform/foundation/format.h"
#include "platform/ui/app_context.h"

namespace cw {

RemoteCommandSenderViewController::RemoteCommandSenderViewController(AppContext& context)
    : Screen(context)
{
    modal_presentation_style = ModalPresentationStyle::FullScreen;
}

RemoteCommandSenderViewController::~RemoteCommandSenderViewController()
{
    // Browsing ends first, so nothing found in between is invited into a
    // session that is going away; then the session leaves its prompters.
    if (m_browser)
        m_browser->set_delegate(nullptr);
    m_browser.reset();
    if (m_session)
        m_session->set_delegate(nullptr);
    m_session.reset();
}

void RemoteCommandSenderViewController::loadView()
{
    SenderOutlets outlets;
    auto root = build_sender_view(context().window.size(), outlets);
    slider = outlets.slider;
    activityIndicator = outlets.activityIndicator;
    outlets.startButton->on_tap = [this] { sendStartCommand(); };
    outlets.stopButton->on_tap = [this] { stopStartCommand(); };
    outlets.backToStartButton->on_tap = [this] { backToStartCommand(); };
    outlets.backButton->on_tap = [this, button = outlets.backButton] { back(button); };
    slider->on_value_changed = [this](Slider& changed) { sliderValueChanged(changed); };
    set_view(std::move(root));
}

void RemoteCommandSenderViewController::viewDidLoad()
{
    Screen::viewDidLoad();
    auto& peers = context().services.get<PeerConnectivity>();
    myPeerID = PeerID { remote::peer_display_name(context().window.device_name) };
    m_session = peers.make_session(myPeerID);
    m_session->set_delegate(this);
    m_browser = peers.make_browser(myPeerID, remote::peer_service_type);
    m_browser->set_delegate(this);
    m_browser->start_browsing_for_peers();
}

void RemoteCommandSenderViewController::sendStartCommand()
{
    sendCommand(remote::start_word);
}

void RemoteCommandSenderViewController::stopStartCommand()
{
    sendCommand(remote::stop_word);
}

void RemoteCommandSenderViewController::backToStartCommand()
{
    sendCommand(remote::back_to_start_word);
}

void RemoteCommandSenderViewController::sendCommand(std::string_view word)
{
    auto error = m_session->send_data(remote::encode_command(word), m_session->connected_peers(), PeerSendMode::Reliable);
    if (error)
        context().log.line(format("Error sending data: %@", { error->description }));
}

void RemoteCommandSenderViewController::sliderValueChanged(Slider& changed)
{
    auto error = m_session->send_data(remote::encode_speed(changed.value()), m_session->connected_peers(), PeerSendMode::Reliable);
    if (error)
        context().log.line(format("Error sending slider value: %@", { error->description }));
}

void RemoteCommandSenderViewController::back(View*)
{
    dismiss(true);
}

// Every report of a prompter leads to an invitation, also for one that is
// already connected; the platform sorts that out.
void RemoteCommandSenderViewController::browserFoundPeerWithDiscoveryInfo(PeerID const& peer, Record const&)
{
    if (!peer.display_name.starts_with(remote::peer_name_prefix) || !m_session)
        return;
    m_browser->invite_peer_to_session(peer, *m_session, Bytes {}, remote::peer_invitation_timeout);
}

void RemoteCommandSenderViewController::sessionPeerDidChangeState(PeerID const& peer, PeerSessionState state)
{
    defer([this, peer, state] { showPeerState(peer, state); });
}

void RemoteCommandSenderViewController::showPeerState(PeerID const& peer, PeerSessionState state)
{
    auto const& device = context().window.device_name;
    switch (state) {
    case PeerSessionState::Connecting:
        context().log.line(format("Connecting to peer: %@ (Device: %@)", { peer.display_name, device }));
        activityIndicator->start_animating();
        break;
    case PeerSessionState::Connected:
        context().log.line(format("Connected to peer: %@ (Device: %@)", { peer.display_name, device }));
        activityIndicator->stop_animating();
        break;
    case PeerSessionState::NotConnected:
        context().log.line(format("Disconnected from peer: %@ (Device: %@)", { peer.display_name, device }));
        activityIndicator->stop_animating();
        break;
    }
}

}
