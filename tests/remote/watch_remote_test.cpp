#include "remote_fixture.h"

namespace cw::testing {
namespace {

class WatchRemote : public RemoteTest {
protected:
    void SetUp() override { studio = &prompter_device("Studio"); }

    void send(Record message, bool wants_reply = true)
    {
        studio->log().take_new_lines();
        studio->platform().watch->send_message(std::move(message), wants_reply);
        settle();
    }
    void send_command(std::string const& command) { send(Record { { "command", command } }); }
    std::vector<std::string> new_lines() { return studio->log().take_new_lines(); }
    scriptViewController& p() { return prompter(*studio); }

    SimDevice* studio { nullptr };
};

TEST_F(WatchRemote, StartStopAndBackToStart)
{
    send_command("START");
    EXPECT_EQ(new_lines(), (std::vector<std::string> { "Message received from watch!", "iPhone app: Received 'START' command from Watch app." }));
    loop.advance_frames(60);
    EXPECT_TRUE(p().engine().has_tick_source());
    EXPECT_GT(p().ScriptTextView->content_offset().y, 0);

    send_command("STOP");
    EXPECT_EQ(new_lines(), (std::vector<std::string> { "Message received from watch!", "iPhone app: Received 'STOP' command from Watch app." }));
    EXPECT_FALSE(p().engine().has_tick_source());
    EXPECT_FALSE(p().startButton->hidden);

    send_command("START");
    loop.advance_frames(30);
    send_command("BACK TO START");
    EXPECT_EQ(new_lines(), (std::vector<std::string> { "Message received from watch!", "iPhone app: Received 'BACK TO START' command from Watch app." }));
    loop.advance_frames(30);
    EXPECT_EQ(p().ScriptTextView->content_offset().y, 0);
    EXPECT_FALSE(p().engine().has_tick_source());
    EXPECT_FALSE(p().startButton->hidden);
    EXPECT_TRUE(p().stopButton->hidden);
    // The watch answers nothing.
    EXPECT_TRUE(studio->platform().watch->replies().empty());
}

TEST_F(WatchRemote, SpeedStepsMoveTheSliderWithinItsRange)
{
    struct Case {
        float from;
        char const* command;
        float to;
        char const* field;
    };
    Case const cases[] = {
        { 50, "INCREASE", 55, "55" },
        { 98, "INCREASE", 100, "100" },
        { 100, "INCREASE", 100, "100" },
        { 50, "DECREASE", 45, "45" },
        { 3, "DECREASE", 0, "0" },
    };
    for (auto const& c : cases) {
        p().SpeedSlider->set_value(c.from);
        p().SpeedField->text = "?";
        p().sliderControlView->alpha = 0.4;
        send_command(c.command);
        EXPECT_EQ(new_lines(), std::vector<std::string> { "Message received from watch!" }) << c.command;
        EXPECT_EQ(p().SpeedSlider->value(), c.to) << c.from << " " << c.command;
        // Applied even when the slider could not move.
        EXPECT_EQ(speed_field(*studio), c.field);
        EXPECT_EQ(stored_speed_of(*studio), static_cast<std::int64_t>(c.to));
        EXPECT_EQ(p().sliderControlView->alpha, 1.0);
    }
}

TEST_F(WatchRemote, MessagesThatAreNoCommandOnlyLogTheirArrival)
{
    Record const messages[] = {
        { { "command", "start" } },
        { { "command", "Start" } },
        { { "command", std::int64_t { 1 } } },
        {},
        { { "other", "START" } },
    };
    for (auto const& message : messages) {
        send(message);
        EXPECT_EQ(new_lines(), std::vector<std::string> { "Message received from watch!" });
        EXPECT_FALSE(p().engine().has_tick_source());
        EXPECT_FALSE(p().engine().delayed_start_pending());
    }
}

TEST_F(WatchRemote, AMessageSentWithoutAReplyHandlerDoesNotReachThePrompter)
{
    send(Record { { "command", "START" } }, false);
    EXPECT_TRUE(new_lines().empty());
    EXPECT_FALSE(p().startButton->hidden);
}

TEST_F(WatchRemote, SessionLifecycleLines)
{
    EXPECT_TRUE(logged(*studio, "activation completed"));
    new_lines();
    p().sessionDidBecomeInactive();
    p().sessionDidDeactivate();
    EXPECT_EQ(new_lines(), (std::vector<std::string> { "session did become inactive", "session did  deactivate" }));
}

TEST_F(RemoteTest, BeforeAnyPrompterTheWatchIsIgnored)
{
    SimDeviceOptions o = options("Studio");
    devices.push_back(std::make_unique<SimDevice>(loop, o));
    auto& device = *devices.back();
    device.launch();
    device.log().take_new_lines();
    device.platform().watch->send_message(Record { { "command", "START" } }, true);
    settle();
    EXPECT_TRUE(device.log().take_new_lines().empty());
}

TEST_F(RemoteTest, TheWatchDrivesOnlyTheLatestPrompterAndNoneOnceItIsGone)
{
    auto& studio = prompter_device("Studio");
    auto* first = &prompter(studio);
    std::string error;
    ASSERT_TRUE(open_script(studio, 0, error));
    auto* second = &prompter(studio);
    ASSERT_NE(first, second);
    EXPECT_EQ(studio.platform().watch->delegate(), second);

    studio.app().navigation()->pop_to_root(false);
    settle();
    EXPECT_EQ(studio.platform().watch->delegate(), nullptr);
}

}
}
