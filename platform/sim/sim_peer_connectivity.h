#pragma once

// Peer connectivity through a simulated "air". Every device's
// `SimPeerConnectivity` is a station in one `SimPeerAir`; stations in the
// same air and both in range see each other's advertisers, invite, connect
// and exchange data. What a device's delegates receive is posted on that
// device's platform queue, so a test decides when it lands.
//
// A device on its own is in an air of its own. To put several devices (on
// one run loop) side by side, give them one air (`SimDeviceOptions::air`).
//
// The platform's accept/decline prompt for incoming invitations is the
// test's: `pending_invitations` lists what the advertising device is asked,
// `answer_invitation` answers it. Invitations lapse after their timeout on
// the device's run loop (`use_clock`).

#include "platform/services/peer_session.h"
#include "platform/sim/platform_queue.h"

#include <memory>
#include <string>
#include <vector>

namespace cw {
class RunLoop;
}

namespace cw::sim {

class SimPeerAir;
std::shared_ptr<SimPeerAir> make_peer_air();

struct SimAdvertisement {
    std::string service_type;
    std::string display_name;
};

struct SimInvitation {
    std::string from; // the inviter's display name
    std::string to;   // the advertiser's display name
};

class SimPeerConnectivity final : public PeerConnectivity {
public:
    explicit SimPeerConnectivity(PlatformQueue& queue);
    ~SimPeerConnectivity() override;

    std::unique_ptr<PeerSession> make_session(PeerID) override;
    std::unique_ptr<PeerAdvertiser> make_advertiser(std::string const& service_type, PeerSession&) override;
    std::unique_ptr<PeerBrowser> make_browser(PeerID const& me, std::string const& service_type) override;

    // Set-up: the clock for invitation timeouts, and the air shared with
    // other devices (call before the application makes anything).
    void use_clock(RunLoop&);
    void join_air(std::shared_ptr<SimPeerAir>);

    // Test side.
    void set_in_range(bool);
    bool in_range() const;
    // Invitations this device is being asked to accept, oldest first.
    std::vector<SimInvitation> pending_invitations() const;
    // Answers the oldest invitation, or the oldest from the inviter with
    // display name `from`; false when there is none.
    bool answer_invitation(bool accept, std::string const& from = {});
    int sessions_made() const { return m_sessions_made; }
    std::vector<SimAdvertisement> const& advertisements() const { return m_advertisements; }

    struct Station;

private:
    friend class SimPeerAir;
    friend class SimAdvertiserImpl;
    std::shared_ptr<SimPeerAir> m_air;
    std::shared_ptr<Station> m_station;
    int m_sessions_made { 0 };
    std::vector<SimAdvertisement> m_advertisements;
};

}
