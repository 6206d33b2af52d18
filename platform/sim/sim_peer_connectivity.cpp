#include "sim_peer_connectivity.h"

#include "platform/foundation/run_loop.h"

#include <algorithm>

namespace cw::sim {

struct SimPeerConnectivity::Station {
    PlatformQueue* queue { nullptr };
    RunLoop* loop { nullptr };
    bool in_range { true };
};

using Station = SimPeerConnectivity::Station;

namespace {

struct SessionState {
    PeerID me;
    std::shared_ptr<Station> station;
    PeerSessionDelegate* delegate { nullptr };
    std::vector<std::weak_ptr<SessionState>> links;
};

struct AdvertState {
    std::shared_ptr<Station> station;
    std::string service_type;
    std::weak_ptr<SessionState> session;
    bool started { false };
};

struct BrowserState {
    std::shared_ptr<Station> station;
    std::string service_type;
    PeerBrowserDelegate* delegate { nullptr };
    bool browsing { false };
    std::vector<PeerID> seen;
};

struct Invitation {
    std::weak_ptr<SessionState> inviter;
    std::weak_ptr<SessionState> invitee;
    PeerID inviter_peer;
    PeerID invitee_peer;
    std::shared_ptr<Station> invitee_station;
    LoopHandle timeout;
};

bool reachable(Station const& a, Station const& b)
{
    return &a != &b && a.in_range && b.in_range;
}

template<typename T>
void prune(std::vector<std::weak_ptr<T>>& list)
{
    std::erase_if(list, [](auto const& weak) { return weak.expired(); });
}

void post_state(std::shared_ptr<SessionState> const& to, PeerID peer, PeerSessionState state)
{
    to->station->queue->post([weak = std::weak_ptr(to), peer = std::move(peer), state] {
        if (auto session = weak.lock(); session && session->delegate)
            session->delegate->sessionPeerDidChangeState(peer, state);
    });
}

bool linked(SessionState const& a, SessionState const& b)
{
    return std::any_of(a.links.begin(), a.links.end(), [&](auto const& weak) { return weak.lock().get() == &b; });
}

void unlink(SessionState& a, SessionState& b)
{
    std::erase_if(a.links, [&](auto const& weak) { auto s = weak.lock(); return !s || s.get() == &b; });
    std::erase_if(b.links, [&](auto const& weak) { auto s = weak.lock(); return !s || s.get() == &a; });
}

}

class SimPeerAir {
public:
    std::uint64_t next_instance { 1 };
    std::vector<std::weak_ptr<SessionState>> sessions;
    std::vector<std::weak_ptr<AdvertState>> adverts;
    std::vector<std::weak_ptr<BrowserState>> browsers;
    std::vector<std::unique_ptr<Invitation>> invitations;

    // Brings every browser's list of found peers up to date, reporting the
    // differences.
    void refresh_discovery()
    {
        prune(browsers);
        prune(adverts);
        for (auto const& weak : browsers) {
            auto browser = weak.lock();
            std::vector<PeerID> visible;
            if (browser->browsing) {
                for (auto const& weak_advert : adverts) {
                    auto advert = weak_advert.lock();
                    auto session = advert->session.lock();
                    if (advert->started && session && advert->service_type == browser->service_type && reachable(*advert->station, *browser->station))
                        visible.push_back(session->me);
                }
            }
            for (auto const& peer : browser->seen)
                if (std::find(visible.begin(), visible.end(), peer) == visible.end() && browser->browsing)
                    post_browser(browser, peer, false);
            for (auto const& peer : visible)
                if (std::find(browser->seen.begin(), browser->seen.end(), peer) == browser->seen.end())
                    post_browser(browser, peer, true);
            browser->seen = std::move(visible);
        }
    }

    static void post_browser(std::shared_ptr<BrowserState> const& browser, PeerID peer, bool found)
    {
        browser->station->queue->post([weak = std::weak_ptr(browser), peer = std::move(peer), found] {
            auto state = weak.lock();
            if (!state || !state->delegate)
                return;
            if (found)
                state->delegate->browserFoundPeerWithDiscoveryInfo(peer, Record {});
            else
                state->delegate->browserLostPeer(peer);
        });
    }

    // Ends an invitation without a connection: both ends see not connected.
    void fail(Invitation& invitation)
    {
        if (auto inviter = invitation.inviter.lock())
            post_state(inviter, invitation.invitee_peer, PeerSessionState::NotConnected);
        if (auto invitee = invitation.invitee.lock())
            post_state(invitee, invitation.inviter_peer, PeerSessionState::NotConnected);
    }

    void fail_invitations_if(auto predicate)
    {
        std::vector<std::unique_ptr<Invitation>> failed;
        for (auto& invitation : invitations)
            if (predicate(*invitation))
                failed.push_back(std::move(invitation));
        std::erase(invitations, nullptr);
        for (auto& invitation : failed)
            fail(*invitation);
    }

    std::unique_ptr<Invitation> take(Invitation* invitation)
    {
        auto it = std::find_if(invitations.begin(), invitations.end(), [&](auto const& i) { return i.get() == invitation; });
        if (it == invitations.end())
            return nullptr;
        auto taken = std::move(*it);
        invitations.erase(it);
        return taken;
    }

    void accept(Invitation& invitation)
    {
        auto inviter = invitation.inviter.lock();
        auto invitee = invitation.invitee.lock();
        if (!inviter || !invitee || !reachable(*inviter->station, *invitee->station)) {
            fail(invitation);
            return;
        }
        if (!linked(*inviter, *invitee)) {
            inviter->links.push_back(invitee);
            invitee->links.push_back(inviter);
        }
        post_state(invitee, inviter->me, PeerSessionState::Connecting);
        post_state(invitee, inviter->me, PeerSessionState::Connected);
        post_state(inviter, invitee->me, PeerSessionState::Connected);
    }

    // Drops every link for which `predicate(a, b)` holds; both ends that
    // still exist see the other as not connected.
    void break_links_if(auto predicate)
    {
        prune(sessions);
        for (auto const& weak : sessions) {
            auto session = weak.lock();
            auto links = session->links;
            for (auto const& weak_peer : links) {
                auto peer = weak_peer.lock();
                if (!peer || !predicate(*session, *peer))
                    continue;
                unlink(*session, *peer);
                post_state(session, peer->me, PeerSessionState::NotConnected);
                post_state(peer, session->me, PeerSessionState::NotConnected);
            }
        }
    }

    // A session that goes away: its peers see it leave, its invitations end.
    void session_gone(SessionState& gone)
    {
        auto links = gone.links;
        for (auto const& weak : links)
            if (auto peer = weak.lock()) {
                unlink(gone, *peer);
                post_state(peer, gone.me, PeerSessionState::NotConnected);
            }
        fail_invitations_if([&](Invitation& i) { return i.inviter.lock().get() == &gone || i.invitee.lock().get() == &gone; });
    }
};

std::shared_ptr<SimPeerAir> make_peer_air()
{
    return std::make_shared<SimPeerAir>();
}

namespace {

class SimSession final : public PeerSession {
public:
    SimSession(std::shared_ptr<SimPeerAir> air, std::shared_ptr<SessionState> state)
        : m_air(std::move(air))
        , m_state(std::move(state))
    {
        m_air->sessions.push_back(m_state);
    }
    ~SimSession() override
    {
        m_state->delegate = nullptr;
        auto air = m_air;
        auto state = std::move(m_state);
        air->session_gone(*state);
        state.reset();
        air->refresh_discovery();
    }

    PeerID const& my_peer() const override { return m_state->me; }
    void set_delegate(PeerSessionDelegate* delegate) override { m_state->delegate = delegate; }
    PeerSessionDelegate* delegate() const override { return m_state->delegate; }

    std::vector<PeerID> connected_peers() const override
    {
        std::vector<PeerID> peers;
        for (auto const& weak : m_state->links)
            if (auto peer = weak.lock())
                peers.push_back(peer->me);
        return peers;
    }

    std::optional<PeerError> send_data(Bytes const& data, std::vector<PeerID> const& peers, PeerSendMode) override
    {
        if (peers.empty())
            return PeerError { "No peers to send to." };
        std::vector<std::shared_ptr<SessionState>> targets;
        for (auto const& peer : peers) {
            auto it = std::find_if(m_state->links.begin(), m_state->links.end(), [&](auto const& weak) {
                auto s = weak.lock();
                return s && s->me == peer;
            });
            if (it == m_state->links.end())
                return PeerError { "Peer " + peer.display_name + " is not connected." };
            targets.push_back(it->lock());
        }
        for (auto const& target : targets) {
            target->station->queue->post([weak = std::weak_ptr(target), data, from = m_state->me] {
                if (auto session = weak.lock(); session && session->delegate)
                    session->delegate->sessionDidReceiveDataFromPeer(data, from);
            });
        }
        return std::nullopt;
    }

    void disconnect() override
    {
        auto* me = m_state.get();
        m_air->break_links_if([me](SessionState& a, SessionState& b) { return &a == me || &b == me; });
    }

    std::shared_ptr<SessionState> const& state() const { return m_state; }

private:
    std::shared_ptr<SimPeerAir> m_air;
    std::shared_ptr<SessionState> m_state;
};

class SimBrowser final : public PeerBrowser {
public:
    SimBrowser(std::shared_ptr<SimPeerAir> air, std::shared_ptr<BrowserState> state)
        : m_air(std::move(air))
        , m_state(std::move(state))
    {
        m_air->browsers.push_back(m_state);
    }
    ~SimBrowser() override
    {
        m_state->delegate = nullptr;
        m_state.reset();
        m_air->refresh_discovery();
    }

    void set_delegate(PeerBrowserDelegate* delegate) override { m_state->delegate = delegate; }
    void start_browsing_for_peers() override
    {
        m_state->browsing = true;
        m_air->refresh_discovery();
    }
    void stop_browsing_for_peers() override
    {
        m_state->browsing = false;
        m_state->seen.clear();
    }

    void invite_peer_to_session(PeerID const& peer, PeerSession& session, Bytes const&, double timeout) override
    {
        auto inviter = static_cast<SimSession&>(session).state();
        std::shared_ptr<SessionState> invitee;
        prune(m_air->adverts);
        for (auto const& weak : m_air->adverts) {
            auto advert = weak.lock();
            auto target = advert->session.lock();
            if (advert->started && target && target->me == peer && reachable(*advert->station, *inviter->station))
                invitee = target;
        }
        if (!invitee) {
            post_state(inviter, peer, PeerSessionState::NotConnected);
            return;
        }
        post_state(inviter, peer, PeerSessionState::Connecting);
        auto invitation = std::make_unique<Invitation>();
        invitation->inviter = inviter;
        invitation->invitee = invitee;
        invitation->inviter_peer = inviter->me;
        invitation->invitee_peer = invitee->me;
        invitation->invitee_station = invitee->station;
        if (auto* loop = inviter->station->loop) {
            auto* raw = invitation.get();
            invitation->timeout = loop->schedule_timer(timeout, false, LoopMode::Common, [air = std::weak_ptr(m_air), raw] {
                auto shared = air.lock();
                if (!shared)
                    return;
                if (auto lapsed = shared->take(raw))
                    shared->fail(*lapsed);
            });
        }
        m_air->invitations.push_back(std::move(invitation));
    }

private:
    std::shared_ptr<SimPeerAir> m_air;
    std::shared_ptr<BrowserState> m_state;
};

}

class SimAdvertiserImpl final : public PeerAdvertiser {
public:
    SimAdvertiserImpl(SimPeerConnectivity& owner, std::string service_type, PeerSession& session)
        : m_owner(owner)
        , m_air(owner.m_air)
        , m_state(std::make_shared<AdvertState>())
    {
        m_state->station = owner.m_station;
        m_state->service_type = std::move(service_type);
        m_state->session = static_cast<SimSession&>(session).state();
        m_air->adverts.push_back(m_state);
    }
    ~SimAdvertiserImpl() override
    {
        m_state.reset();
        m_air->refresh_discovery();
    }

    void start() override
    {
        if (auto session = m_state->session.lock())
            m_owner.m_advertisements.push_back({ m_state->service_type, session->me.display_name });
        m_state->started = true;
        m_air->refresh_discovery();
    }
    void stop() override
    {
        m_state->started = false;
        m_air->refresh_discovery();
    }

private:
    SimPeerConnectivity& m_owner;
    std::shared_ptr<SimPeerAir> m_air;
    std::shared_ptr<AdvertState> m_state;
};

SimPeerConnectivity::SimPeerConnectivity(PlatformQueue& queue)
    : m_air(make_peer_air())
    , m_station(std::make_shared<Station>())
{
    m_station->queue = &queue;
}

SimPeerConnectivity::~SimPeerConnectivity()
{
    // Nothing may fire into a device that is gone.
    auto* station = m_station.get();
    std::erase_if(m_air->invitations, [&](auto const& i) {
        auto inviter = i->inviter.lock();
        return i->invitee_station.get() == station || (inviter && inviter->station.get() == station);
    });
}

std::unique_ptr<PeerSession> SimPeerConnectivity::make_session(PeerID peer)
{
    ++m_sessions_made;
    auto state = std::make_shared<SessionState>();
    state->me = std::move(peer);
    if (state->me.instance == 0)
        state->me.instance = m_air->next_instance++;
    state->station = m_station;
    return std::make_unique<SimSession>(m_air, std::move(state));
}

std::unique_ptr<PeerAdvertiser> SimPeerConnectivity::make_advertiser(std::string const& service_type, PeerSession& session)
{
    return std::make_unique<SimAdvertiserImpl>(*this, service_type, session);
}

std::unique_ptr<PeerBrowser> SimPeerConnectivity::make_browser(PeerID const&, std::string const& service_type)
{
    auto state = std::make_shared<BrowserState>();
    state->station = m_station;
    state->service_type = service_type;
    return std::make_unique<SimBrowser>(m_air, std::move(state));
}

void SimPeerConnectivity::use_clock(RunLoop& loop)
{
    m_station->loop = &loop;
}

void SimPeerConnectivity::join_air(std::shared_ptr<SimPeerAir> air)
{
    if (air)
        m_air = std::move(air);
}

void SimPeerConnectivity::set_in_range(bool in_range)
{
    if (m_station->in_range == in_range)
        return;
    m_station->in_range = in_range;
    if (!in_range) {
        auto* station = m_station.get();
        m_air->break_links_if([station](SessionState& a, SessionState& b) { return a.station.get() == station || b.station.get() == station; });
        m_air->fail_invitations_if([station](Invitation& i) {
            auto inviter = i.inviter.lock();
            return i.invitee_station.get() == station || (inviter && inviter->station.get() == station);
        });
    }
    m_air->refresh_discovery();
}

bool SimPeerConnectivity::in_range() const
{
    return m_station->in_range;
}

std::vector<SimInvitation> SimPeerConnectivity::pending_invitations() const
{
    std::vector<SimInvitation> pending;
    for (auto const& invitation : m_air->invitations)
        if (invitation->invitee_station == m_station)
            pending.push_back({ invitation->inviter_peer.display_name, invitation->invitee_peer.display_name });
    return pending;
}

bool SimPeerConnectivity::answer_invitation(bool accept, std::string const& from)
{
    for (auto const& invitation : m_air->invitations) {
        if (invitation->invitee_station != m_station || (!from.empty() && invitation->inviter_peer.display_name != from))
            continue;
        auto taken = m_air->take(invitation.get());
        if (accept)
            m_air->accept(*taken);
        else
            m_air->fail(*taken);
        return true;
    }
    return false;
}

}
