#pragma once

// The remote sender screen: turns this device into a remote control for
// the prompters nearby. From its load it browses for prompters and invites
// every one it finds; its buttons and slider each send one message to
// every connected prompter. It shows no script and no alerts; the activity
// indicator turns while a connection is being made. Closing the screen
// ends browsing and its connections.

#include "platform/services/peer_session.h"
#include "platform/ui/activity_indicator.h"
#include "platform/ui/controls.h"
#include "platform/ui/screen.h"
#include "platform/ui/slider.h"

#include <memory>
#include <string_view>

namespace cw {

class RemoteCommandSenderViewController final : public Screen
    , public PeerSessionDelegate
    , public PeerBrowserDelegate {
public:
    explicit RemoteCommandSenderViewController(AppContext&);
    ~RemoteCommandSenderViewController() override;

    char const* class_name() const override { return "RemoteCommandSenderViewController"; }
    void loadView() override;
    void viewDidLoad() override;

    // Actions.
    void sendStartCommand();
    void stopStartCommand();
    void backToStartCommand();
    void sliderValueChanged(Slider&);
    void back(View* sender);

    // The peer service's handlers. The browser's arrive on a platform
    // queue and invite at once; session changes hop to the main queue.
    void browserFoundPeerWithDiscoveryInfo(PeerID const&, Record const& info) override;
    void browserLostPeer(PeerID const&) override { }
    void sessionPeerDidChangeState(PeerID const&, PeerSessionState) override;
    // Prompters send nothing back; whatever arrives is ignored.
    void sessionDidReceiveDataFromPeer(Bytes const&, PeerID const&) override { }

    // Outlets; the view tree owns them.
    Slider* slider { nullptr };
    ActivityIndicator* activityIndicator { nullptr };

    PeerID myPeerID;
    PeerSession* session() const { return m_session.get(); }
    PeerBrowser* browser() const { return m_browser.get(); }

private:
    void sendCommand(std::string_view word);
    void showPeerState(PeerID const&, PeerSessionState);

    std::unique_ptr<PeerSession> m_session;
    // Made after the session and released before it.
    std::unique_ptr<PeerBrowser> m_browser;
};

}
