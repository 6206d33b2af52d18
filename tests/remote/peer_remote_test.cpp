#include "remote_fixture.h"

#include "remote/peer_protocol.h"

namespace cw::testing {
namespace {

using RemoteConnection = RemoteTest;
using RemoteCommands = RemoteTest;

TEST_F(RemoteConnection, TheSenderInvitesAPrompterAndBothEndsReportEachStep)
{
    auto& studio = prompter_device("Studio");
    auto& remote = remote_device("Pocket");
    settle();

    auto pending = studio.platform().peers->pending_invitations();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].from, "Cuewright_Pocket");
    EXPECT_TRUE(logged(remote, "Connecting to peer: Cuewright_Studio (Device: Pocket)"));
    EXPECT_TRUE(sender(remote)->activityIndicator->is_animating());

    auto& p = prompter(studio);
    ASSERT_TRUE(studio.platform().peers->answer_invitation(true));
    settle();
    EXPECT_TRUE(logged(studio, "Connecting to peer: Cuewright_Pocket"));
    EXPECT_TRUE(logged(studio, "Connected to peer: Cuewright_Pocket"));
    EXPECT_FALSE(p.activityIndicator->is_animating());
    ASSERT_NE(studio.alert(), nullptr);
    EXPECT_EQ(studio.alert()->alert_title(), "Connected");
    EXPECT_EQ(studio.alert()->message(), "Connected to Cuewright_Pocket");

    EXPECT_TRUE(logged(remote, "Connected to peer: Cuewright_Studio (Device: Pocket)"));
    EXPECT_FALSE(sender(remote)->activityIndicator->is_animating());
    EXPECT_EQ(sender(remote)->session()->connected_peers().size(), 1u);
}

TEST_F(RemoteConnection, ADeclinedInvitationDisconnectsAndComesAgainOnlyWhenReportedAgain)
{
    auto& studio = prompter_device("Studio");
    auto& remote = remote_device("Pocket");
    settle();
    ASSERT_TRUE(studio.platform().peers->answer_invitation(false));
    settle();

    EXPECT_TRUE(logged(remote, "Disconnected from peer: Cuewright_Studio (Device: Pocket)"));
    EXPECT_FALSE(sender(remote)->activityIndicator->is_animating());
    EXPECT_TRUE(logged(studio, "Disconnected from peer: Cuewright_Pocket"));
    ASSERT_NE(studio.alert(), nullptr);
    EXPECT_EQ(studio.alert()->alert_title(), "Disconnected");
    EXPECT_TRUE(studio.platform().peers->pending_invitations().empty());

    // Still browsing: out of range and back, the prompter is found again.
    studio.platform().peers->set_in_range(false);
    settle();
    EXPECT_TRUE(studio.platform().peers->pending_invitations().empty());
    studio.platform().peers->set_in_range(true);
    settle();
    EXPECT_EQ(studio.platform().peers->pending_invitations().size(), 1u);
}

TEST_F(RemoteConnection, AnUnansweredInvitationLapsesAfterThirtySeconds)
{
    auto& studio = prompter_device("Studio");
    auto& remote = remote_device("Pocket");
    settle();
    loop.advance(29.5);
    settle();
    EXPECT_EQ(studio.platform().peers->pending_invitations().size(), 1u);
    loop.advance(0.5);
    settle();
    EXPECT_TRUE(studio.platform().peers->pending_invitations().empty());
    EXPECT_TRUE(logged(remote, "Disconnected from peer: Cuewright_Studio (Device: Pocket)"));
    EXPECT_FALSE(studio.platform().peers->answer_invitation(true));
}

TEST_F(RemoteConnection, OnlyPeersWithTheProductPrefixAreInvited)
{
    // A device whose advertiser uses the service with some other name.
    auto& other = prompter_device("Other");
    auto session = other.platform().peers->make_session(PeerID { "Someone_Else" });
    auto advertiser = other.platform().peers->make_advertiser(remote::peer_service_type, *session);
    advertiser->start();
    remote_device("Pocket");
    settle();
    auto pending = other.platform().peers->pending_invitations();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].to, "Cuewright_Other");
}

TEST_F(RemoteConnection, ClosingTheSenderDisconnectsEveryPrompter)
{
    auto& a = prompter_device("Studio A");
    auto& b = prompter_device("Studio B");
    auto& remote = remote_device("Pocket");
    connect(a);
    connect(b);

    ASSERT_TRUE(remote.tap("backButton"));
    settle();
    EXPECT_EQ(sender(remote), nullptr);
    for (SimDevice* device : { &a, &b }) {
        EXPECT_TRUE(logged(*device, "Disconnected from peer: Cuewright_Pocket"));
        ASSERT_NE(device->alert(), nullptr);
        EXPECT_EQ(device->alert()->alert_title(), "Disconnected");
        EXPECT_EQ(device->alert()->message(), "Disconnected from Cuewright_Pocket");
    }
}

TEST_F(RemoteConnection, GoingOutOfRangeDisconnectsBothEnds)
{
    auto& studio = prompter_device("Studio");
    auto& remote = remote_device("Pocket");
    connect(studio);
    remote.platform().peers->set_in_range(false);
    settle();
    EXPECT_TRUE(logged(studio, "Disconnected from peer: Cuewright_Pocket"));
    EXPECT_TRUE(logged(remote, "Disconnected from peer: Cuewright_Studio (Device: Pocket)"));
    EXPECT_TRUE(sender(remote)->session()->connected_peers().empty());
}

TEST_F(RemoteCommands, EachControlDrivesTheConnectedPrompter)
{
    auto& studio = prompter_device("Studio");
    auto& remote = remote_device("Pocket");
    connect(studio);
    auto& p = prompter(studio);

    ASSERT_TRUE(remote.tap("startButton"));
    settle();
    loop.advance_frames(60);
    EXPECT_TRUE(p.startButton->hidden);
    EXPECT_FALSE(p.stopButton->hidden);
    EXPECT_GT(p.ScriptTextView->content_offset().y, 0);

    ASSERT_TRUE(remote.tap("stopButton"));
    settle();
    EXPECT_FALSE(p.startButton->hidden);
    EXPECT_TRUE(p.stopButton->hidden);
    EXPECT_FALSE(p.engine().has_tick_source());

    ASSERT_TRUE(remote.tap("startButton"));
    settle();
    loop.advance_frames(30);
    ASSERT_TRUE(remote.tap("backToStartButton"));
    settle();
    loop.advance_frames(30);
    EXPECT_EQ(p.ScriptTextView->content_offset().y, 0);
    EXPECT_FALSE(p.startButton->hidden);
    EXPECT_TRUE(p.stopButton->hidden);
    EXPECT_FALSE(p.engine().has_tick_source());
}

TEST_F(RemoteCommands, TheSliderSetsTheSpeedButNotThePromptersOwnSlider)
{
    auto& studio = prompter_device("Studio");
    auto& remote = remote_device("Pocket");
    connect(studio);
    auto& slider = *sender(remote)->slider;
    EXPECT_EQ(slider.minimum_value, 0);
    EXPECT_EQ(slider.maximum_value, 100);
    EXPECT_EQ(slider.value(), 50);

    slider.user_set_value(37.6f);
    settle();
    EXPECT_EQ(speed_field(studio), "38");
    EXPECT_EQ(stored_speed_of(studio), 37);
    EXPECT_EQ(prompter(studio).SpeedSlider->value(), 50);
    EXPECT_EQ(prompter(studio).sliderControlView->alpha, 1.0);
}

TEST_F(RemoteCommands, TwoPromptersBothObey)
{
    auto& a = prompter_device("Studio A");
    auto& b = prompter_device("Studio B");
    auto& remote = remote_device("Pocket");
    connect(a);
    connect(b);
    EXPECT_EQ(sender(remote)->session()->connected_peers().size(), 2u);

    ASSERT_TRUE(remote.tap("startButton"));
    sender(remote)->slider->user_set_value(80);
    settle();
    for (SimDevice* device : { &a, &b }) {
        EXPECT_TRUE(prompter(*device).startButton->hidden);
        EXPECT_EQ(speed_field(*device), "80");
    }
}

TEST_F(RemoteCommands, SendingWithNoPrompterConnectedOnlyLogs)
{
    auto& studio = prompter_device("Studio");
    auto& remote = remote_device("Pocket");
    settle(); // invited, not yet accepted

    ASSERT_TRUE(remote.tap("startButton"));
    sender(remote)->slider->user_set_value(70);
    settle();
    auto lines = remote.log().lines();
    auto has_prefix = [&](std::string const& prefix) {
        return std::any_of(lines.begin(), lines.end(), [&](auto const& line) { return line.starts_with(prefix); });
    };
    EXPECT_TRUE(has_prefix("Error sending data: "));
    EXPECT_TRUE(has_prefix("Error sending slider value: "));
    EXPECT_FALSE(prompter(studio).startButton->hidden);
    EXPECT_EQ(speed_field(studio), "50");
}

TEST_F(RemoteCommands, RawMessagesThatAreNoCommand)
{
    auto& studio = prompter_device("Studio");
    auto& p = prompter(studio);
    PeerID const from { "Cuewright_Bench" };
    struct Case {
        std::string data;
        std::string field; // what the speed field shows after
    };
    Case const cases[] = {
        // Upper case is no command and too short for a speed: ignored.
        { "START", "50" },
        { "", "50" },
        { remote::encode_speed(12.0f).data, "12" },
        { remote::encode_speed(37.6f).data, "38" },
    };
    for (auto const& c : cases) {
        p.sessionDidReceiveDataFromPeer(Bytes { c.data }, from);
        settle();
        EXPECT_EQ(speed_field(studio), c.field) << c.data.size();
        EXPECT_FALSE(p.startButton->hidden);
    }
    EXPECT_TRUE(logged(studio, "Ignored 5 bytes from peer Cuewright_Bench: no command and no speed value."));
}

TEST_F(RemoteCommands, ADataMessageArrivingAtTheSenderIsIgnored)
{
    auto& remote = remote_device("Pocket");
    auto before = remote.log().lines().size();
    sender(remote)->sessionDidReceiveDataFromPeer(Bytes { "start" }, PeerID { "Cuewright_Studio" });
    settle();
    EXPECT_EQ(remote.log().lines().size(), before);
}

}
}
