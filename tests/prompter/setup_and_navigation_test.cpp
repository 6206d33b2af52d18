// What the prompter sets up when it loads, where it leads, and its alert.

#include "prompter_fixture.h"

#include "platform/ui/alert_controller.h"

namespace cw::testing {
namespace {

// Stands in for a screen the prompter opens.
class StandIn final : public Screen {
public:
    StandIn(AppContext& context, char const* name)
        : Screen(context)
        , m_name(name)
    {
    }
    char const* class_name() const override { return m_name; }

private:
    char const* m_name;
};

class SetUpAndNavigation : public PrompterTest {
protected:
    void provide_screen(char const* identifier, char const* class_name)
    {
        device->context().storyboard.add(identifier, [class_name](AppContext& c) { return std::make_unique<StandIn>(c, class_name); });
    }
    std::vector<std::string> lines_from(std::string const& first)
    {
        auto lines = device->log().lines();
        auto it = std::find(lines.begin(), lines.end(), first);
        return { it, lines.end() };
    }
};

TEST_F(SetUpAndNavigation, LoadSetsUpInOrder)
{
    SimDeviceOptions options;
    options.device_name = "Studio iPad";
    auto& prompter = open(ScriptSeed {}, options);
    auto lines = lines_from("Setting image quality");
    auto all = device->log().lines();
    auto peer_line = std::find(all.begin(), all.end(), "My Peer ID (From scriptviewcontroller): Cuewright_Studio iPad");
    ASSERT_NE(peer_line, all.end());
    EXPECT_EQ(*std::prev(peer_line), "WatchConnectivity session is active.") << "the launch activated the session already";
    EXPECT_EQ(*std::next(peer_line), "Setting up capture session");
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Is Scroll Normal (1)") << "the first refresh follows the capture set-up";

    auto& platform = device->platform();
    EXPECT_EQ(platform.watch->delegate(), static_cast<WatchSessionDelegate*>(&prompter));
    EXPECT_EQ(platform.watch->activation_requests(), 2) << "once at launch, once by the prompter";
    ASSERT_EQ(platform.peers->advertisements().size(), 1u);
    EXPECT_EQ(platform.peers->advertisements()[0].service_type, "cuewrightremote");
    EXPECT_EQ(platform.peers->advertisements()[0].display_name, "Cuewright_Studio iPad");
    EXPECT_EQ(prompter.peer_session()->delegate(), static_cast<PeerSessionDelegate*>(&prompter));
    EXPECT_EQ(platform.capture->sessions_made(), 1);
    EXPECT_FALSE(prompter.capture_session()->is_running()) << "the session starts with the first recording";
    EXPECT_EQ(platform.review_prompt->requests(), 1);

    EXPECT_EQ(prompter.sliderControlView->corner_radius, 8);
    EXPECT_TRUE(prompter.sliderControlView->clips_to_bounds);
    EXPECT_TRUE(prompter.SpeedField->hidden);
    for (auto* button : { prompter.startButton, prompter.stopButton }) {
        EXPECT_EQ(button->corner_radius, 4);
        EXPECT_TRUE(button->clips_to_bounds);
    }
}

TEST_F(SetUpAndNavigation, EveryLoadAsksForAReview)
{
    open();
    navigation().pop(false);
    reopen(0);
    EXPECT_EQ(device->platform().review_prompt->requests(), 2);
}

TEST_F(SetUpAndNavigation, WithoutWatchSupportTheSessionIsLeftAlone)
{
    RunLoop other_loop;
    SimDeviceOptions options;
    options.store = store_with({ ScriptSeed {} });
    SimDevice phone(other_loop, std::move(options));
    phone.platform().watch->set_supported(false);
    phone.launch();
    phone.log().take_new_lines();
    std::string error;
    ASSERT_TRUE(open_script(phone, 0, error)) << error;
    EXPECT_EQ(phone.platform().watch->delegate(), nullptr);
    EXPECT_EQ(phone.platform().watch->activation_requests(), 0);
    auto lines = phone.log().take_new_lines();
    auto peer_line = std::find_if(lines.begin(), lines.end(), [](auto const& line) { return line.starts_with("My Peer ID"); });
    ASSERT_NE(peer_line, lines.begin());
    EXPECT_EQ(*std::prev(peer_line), "WatchConnectivity session is not active.");
}

TEST_F(SetUpAndNavigation, AClosedPrompterNoLongerHearsTheWatch)
{
    open();
    navigation().pop(false);
    // The screen goes at the end of the next main-loop turn.
    loop.post([] { });
    device->settle();
    EXPECT_EQ(device->platform().watch->delegate(), nullptr);
}

TEST_F(SetUpAndNavigation, EditPushesTheEditorAndKeepsTheRunGoing)
{
    auto& prompter = open(ScriptSeed { .text = long_text() });
    provide_screen("editScriptID", "Editor");
    device->store().set_boolean(keys::isImportedScript, true);
    prompter.startScript();
    loop.advance(0.1);
    prompter.editScript();
    EXPECT_EQ(device->top()->class_name(), std::string("Editor"));
    EXPECT_TRUE(navigation().history().back().animated);
    EXPECT_FALSE(device->store().boolean(keys::isImportedScript));
    EXPECT_TRUE(device->store().object(keys::isImportedScript).has_value());
    EXPECT_TRUE(prompter.engine().has_tick_source());
}

TEST_F(SetUpAndNavigation, SettingsStopTheRunOnAPhoneOnly)
{
    struct Case {
        Idiom idiom;
        void (scriptViewController::*open_settings)();
        char const* identifier;
        bool stops;
    };
    Case const cases[] = {
        { Idiom::Phone, &scriptViewController::loadSettings, "NEWSET", true },
        { Idiom::Tablet, &scriptViewController::loadSettings, "NEWSET", false },
        { Idiom::Phone, &scriptViewController::tryVideo, "settingsID", true },
        { Idiom::Tablet, &scriptViewController::tryVideo, "settingsID", true },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(std::string(c.identifier) + (c.idiom == Idiom::Tablet ? " on a tablet" : " on a phone"));
        SimDeviceOptions options;
        options.idiom = c.idiom;
        auto& prompter = open(ScriptSeed { .text = long_text() }, options);
        provide_screen(c.identifier, c.identifier);
        prompter.startScript();
        loop.advance(0.1);
        (prompter.*c.open_settings)();
        EXPECT_EQ(prompter.engine().has_tick_source(), !c.stops);
        EXPECT_EQ(prompter.startButton->hidden, !c.stops);
        ASSERT_NE(prompter.presented(), nullptr);
        EXPECT_EQ(prompter.presented()->class_name(), std::string(c.identifier));
        EXPECT_TRUE(prompter.last_presentation_animated());
    }
}

TEST_F(SetUpAndNavigation, AScreenThatIsNotThereYetIsNoCrash)
{
    auto& prompter = open(ScriptSeed { .text = long_text() });
    for (char const* identifier : { "editScriptID", "NEWSET", "settingsID" })
        device->context().storyboard.add(identifier, [](AppContext&) { return std::unique_ptr<Screen> {}; });
    device->store().set_boolean(keys::isImportedScript, true);
    prompter.editScript();
    prompter.loadSettings();
    prompter.tryVideo();
    EXPECT_EQ(device->top(), &prompter);
    EXPECT_TRUE(device->store().boolean(keys::isImportedScript)) << "nothing opened, nothing handed over";
}

TEST_F(SetUpAndNavigation, AnAlertHasOneOkButton)
{
    auto& prompter = open();
    prompter.showAlertWithTitleMessage("Connected", "Connected to Cuewright_Desk");
    auto* alert = device->alert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->alert_title(), "Connected");
    EXPECT_EQ(alert->message(), "Connected to Cuewright_Desk");
    ASSERT_EQ(alert->actions().size(), 1u);
    EXPECT_EQ(alert->actions()[0].title, "OK");
    EXPECT_EQ(alert->actions()[0].style, AlertActionStyle::Default);

    prompter.showAlertWithTitleMessage("Disconnected", "Disconnected from Cuewright_Desk");
    EXPECT_EQ(device->alert()->alert_title(), "Connected") << "a second alert is dropped while one shows";
    EXPECT_TRUE(device->choose("OK"));
    EXPECT_EQ(device->top(), &prompter);
}

}
}
