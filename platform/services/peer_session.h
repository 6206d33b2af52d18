#pragma once

// Peer-to-peer connectivity with devices nearby. A device has an identity
// (its display name), opens sessions that peers join, makes itself
// discoverable under a service type with an advertiser, and finds other
// advertisers with a browser. Sessions and browsers deliver to their
// delegates on a platform queue; a delegate hands the work to the main
// queue itself.
//
// `PeerConnectivity` is the service: it makes sessions, advertisers and
// browsers. Each belongs to whoever made it and stops when destroyed: a
// destroyed session leaves all its peers (they see it as not connected), a
// destroyed advertiser is no longer found, a destroyed browser stops
// browsing.

#include "platform/foundation/value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cw {

// An identity as other devices see it. `instance` tells apart identities
// with equal display names; the back end that makes a session stamps it.
struct PeerID {
    PeerID() = default;
    PeerID(std::string name, std::uint64_t instance_number = 0)
        : display_name(std::move(name))
        , instance(instance_number)
    {
    }
    std::string display_name;
    std::uint64_t instance { 0 };
    bool operator==(PeerID const&) const = default;
};

// The longest display name the platform accepts, in bytes of UTF-8.
inline constexpr std::size_t peer_display_name_max_bytes = 63;

enum class PeerSessionState { NotConnected = 0, Connecting = 1, Connected = 2 };

// Reliable: delivered in order and retransmitted. Unreliable may drop.
enum class PeerSendMode { Reliable, Unreliable };

struct PeerError {
    std::string description;
};

class PeerSessionDelegate {
public:
    virtual ~PeerSessionDelegate() = default;
    virtual void sessionPeerDidChangeState(PeerID const&, PeerSessionState) { }
    virtual void sessionDidReceiveDataFromPeer(Bytes const&, PeerID const&) { }
};

class PeerSession {
public:
    virtual ~PeerSession() = default;
    virtual PeerID const& my_peer() const = 0;
    // The delegate is not owned; clear it before the delegate goes away.
    virtual void set_delegate(PeerSessionDelegate*) = 0;
    virtual PeerSessionDelegate* delegate() const = 0;
    virtual std::vector<PeerID> connected_peers() const = 0;
    // Sends one data message to each of `peers`. Fails, delivering to none,
    // when the list is empty or names a peer that is not connected.
    virtual std::optional<PeerError> send_data(Bytes const&, std::vector<PeerID> const& peers, PeerSendMode) = 0;
    // Leaves every peer.
    virtual void disconnect() = 0;
};

// Makes the device discoverable under a service type. Each invitation that
// arrives is put to the user in the platform's own accept/decline prompt;
// an accepted inviter joins the advertiser's session. A failed, declined or
// timed-out invitation reaches both sessions as not connected.
class PeerAdvertiser {
public:
    virtual ~PeerAdvertiser() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
};

class PeerBrowserDelegate {
public:
    virtual ~PeerBrowserDelegate() = default;
    virtual void browserFoundPeerWithDiscoveryInfo(PeerID const&, Record const& /*info*/) { }
    virtual void browserLostPeer(PeerID const&) { }
};

// Finds advertisers of one service type in range.
class PeerBrowser {
public:
    virtual ~PeerBrowser() = default;
    virtual void set_delegate(PeerBrowserDelegate*) = 0;
    virtual void start_browsing_for_peers() = 0;
    virtual void stop_browsing_for_peers() = 0;
    // Asks a found peer to join `session`; the outcome arrives as state
    // changes of `session`. The invitation lapses after `timeout` seconds.
    virtual void invite_peer_to_session(PeerID const&, PeerSession&, Bytes const& context, double timeout) = 0;
};

class PeerConnectivity {
public:
    virtual ~PeerConnectivity() = default;
    // The display name must fit `peer_display_name_max_bytes`.
    virtual std::unique_ptr<PeerSession> make_session(PeerID) = 0;
    // The session must outlive the advertiser.
    virtual std::unique_ptr<PeerAdvertiser> make_advertiser(std::string const& service_type, PeerSession&) = 0;
    virtual std::unique_ptr<PeerBrowser> make_browser(PeerID const& me, std::string const& service_type) = 0;
};

}
