// The simulated air on its own: stations made straight from the back end,
// with recording delegates, so that what a delegate is told is visible.

#include "platform/foundation/run_loop.h"
#include "platform/sim/sim_peer_connectivity.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cw::sim {
namespace {

struct Recorder final : PeerSessionDelegate, PeerBrowserDelegate {
    std::vector<std::string> events;
    void sessionPeerDidChangeState(PeerID const& peer, PeerSessionState state) override
    {
        events.push_back("state " + peer.display_name + " " + std::to_string(static_cast<int>(state)));
    }
    void sessionDidReceiveDataFromPeer(Bytes const& data, PeerID const& peer) override { events.push_back("data " + peer.display_name + " " + data.data); }
    void browserFoundPeerWithDiscoveryInfo(PeerID const& peer, Record const&) override { events.push_back("found " + peer.display_name); }
    void browserLostPeer(PeerID const& peer) override { events.push_back("lost " + peer.display_name); }
};

struct Station {
    Station(std::shared_ptr<SimPeerAir> const& air, RunLoop& loop)
    {
        peers.join_air(air);
        peers.use_clock(loop);
    }
    PlatformQueue queue;
    SimPeerConnectivity peers { queue };
    Recorder recorder;
};

class SimAir : public ::testing::Test {
protected:
    // `b` advertises "svc" as "B"; `a` browses as "A" and invites what it
    // finds.
    void SetUp() override
    {
        b_session = b.peers.make_session(PeerID { "B" });
        b_session->set_delegate(&b.recorder);
        advertiser = b.peers.make_advertiser("svc", *b_session);
        advertiser->start();
        a_session = a.peers.make_session(PeerID { "A" });
        a_session->set_delegate(&a.recorder);
        browser = a.peers.make_browser(a_session->my_peer(), "svc");
        browser->set_delegate(&a.recorder);
        browser->start_browsing_for_peers();
        a.queue.drain();
    }
    void connect()
    {
        browser->invite_peer_to_session(b_session->my_peer(), *a_session, {}, 30);
        ASSERT_TRUE(b.peers.answer_invitation(true));
        a.queue.drain();
        b.queue.drain();
        a.recorder.events.clear();
        b.recorder.events.clear();
    }

    RunLoop loop;
    std::shared_ptr<SimPeerAir> air { make_peer_air() };
    Station a { air, loop };
    Station b { air, loop };
    std::unique_ptr<PeerSession> b_session;
    std::unique_ptr<PeerAdvertiser> advertiser;
    std::unique_ptr<PeerSession> a_session;
    std::unique_ptr<PeerBrowser> browser;
};

TEST_F(SimAir, BrowsersFindAndLoseAdvertisersOfTheirServiceType)
{
    EXPECT_EQ(a.recorder.events, std::vector<std::string> { "found B" });
    auto other_session = b.peers.make_session(PeerID { "Other" });
    auto other = b.peers.make_advertiser("another", *other_session);
    other->start();
    advertiser->stop();
    a.queue.drain();
    EXPECT_EQ(a.recorder.events, (std::vector<std::string> { "found B", "lost B" }));
}

TEST_F(SimAir, DataArrivesInOrderOnlyAtConnectedPeers)
{
    EXPECT_TRUE(a_session->send_data(Bytes { "x" }, a_session->connected_peers(), PeerSendMode::Reliable));
    connect();
    EXPECT_EQ(b_session->connected_peers(), std::vector<PeerID> { a_session->my_peer() });
    for (char const* word : { "one", "two", "three" })
        EXPECT_FALSE(a_session->send_data(Bytes { word }, a_session->connected_peers(), PeerSendMode::Reliable));
    // A peer that is not connected spoils the whole send.
    EXPECT_TRUE(a_session->send_data(Bytes { "four" }, { b_session->my_peer(), PeerID { "Stranger" } }, PeerSendMode::Reliable));
    b.queue.drain();
    EXPECT_EQ(b.recorder.events, (std::vector<std::string> { "data A one", "data A two", "data A three" }));
}

TEST_F(SimAir, EqualDisplayNamesStayDistinctPeers)
{
    auto twin_session = b.peers.make_session(PeerID { "B" });
    auto twin = b.peers.make_advertiser("svc", *twin_session);
    twin->start();
    a.queue.drain();
    EXPECT_NE(twin_session->my_peer(), b_session->my_peer());
    connect();
    EXPECT_EQ(a_session->connected_peers(), std::vector<PeerID> { b_session->my_peer() });
}

TEST_F(SimAir, ALeavingSessionDisconnectsItsPeers)
{
    connect();
    a_session->set_delegate(nullptr);
    browser.reset();
    a_session.reset();
    b.queue.drain();
    a.queue.drain();
    EXPECT_EQ(b.recorder.events, std::vector<std::string> { "state A 0" });
    EXPECT_TRUE(b_session->connected_peers().empty());
}

TEST_F(SimAir, InvitingAPeerThatIsGoneFailsAtOnce)
{
    b.peers.set_in_range(false);
    a.queue.drain();
    a.recorder.events.clear();
    browser->invite_peer_to_session(b_session->my_peer(), *a_session, {}, 30);
    a.queue.drain();
    EXPECT_EQ(a.recorder.events, std::vector<std::string> { "state B 0" });
    EXPECT_TRUE(b.peers.pending_invitations().empty());
}

}
}
