// The settings screens through the automation protocol, as a front end
// drives them, with the prompter's reaction read back the same way.

#include "settings_fixture.h"

#include "sim/driver.h"

namespace cw::testing {
namespace {

using Json = nlohmann::json;

class SettingsDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(send({ { "cmd", "launch" } })["ok"]);
        for (auto& [key, value] : store_with({ ScriptSeed {}, ScriptSeed { .title = "Two", .text_size = 40 } }))
            store().set(key, value);
        ASSERT_TRUE(send({ { "cmd", "open_script" }, { "index", 1 } })["ok"]);
        ASSERT_TRUE(send({ { "cmd", "tap" }, { "name", "settingsButton" } })["ok"]);
    }

    Json send(Json request)
    {
        auto answer = Json::parse(driver.handle_line(request.dump()));
        EXPECT_TRUE(answer.is_object());
        return answer;
    }
    Json ok(Json request)
    {
        auto answer = send(request);
        EXPECT_EQ(answer["ok"], true) << request.dump() << " -> " << answer.dump();
        return answer;
    }
    Defaults& store() { return driver.device(Json::object()).store(); }
    std::string top() { return send({ { "cmd", "screens" } })["top"]; }

    Driver driver;
};

TEST_F(SettingsDriver, EveryControlCanBeWorkedAndThePrompterFollows)
{
    auto shown = ok({ { "cmd", "settings" } });
    EXPECT_EQ(shown["class"], "SettingsTableViewController");
    EXPECT_EQ(shown["scriptIndex"], 1);
    EXPECT_EQ(shown["label"], "40");

    EXPECT_EQ(ok({ { "cmd", "stepper" }, { "press", "minus" } })["value"], 39.0);
    EXPECT_EQ(ok({ { "cmd", "stepper" }, { "value", 36 } })["value"], 36.0);
    ok({ { "cmd", "segment" }, { "index", 1 } });
    ok({ { "cmd", "switch" }, { "name", "mirrorSwitch" }, { "on", true } });
    ok({ { "cmd", "switch" }, { "name", "horimirrorSwitch" }, { "on", true } });
    ok({ { "cmd", "tap" }, { "name", "textcolorButton" } });
    EXPECT_EQ(top(), "ColorPickerScreen");
    ok({ { "cmd", "color_picker" }, { "color", { 1, 1, 0, 1 } }, { "close", true } });
    EXPECT_EQ(ok({ { "cmd", "settings" } })["textcolorToSave"], Json({ 1.0, 1.0, 0.0, 1.0 }));

    // A finger that drags across the screen and lifts: the pan ends.
    ok({ { "cmd", "touch" }, { "phase", "down" }, { "path", Json::array() }, { "x", 100 }, { "y", 400 } });
    ok({ { "cmd", "touch" }, { "phase", "move" }, { "x", 120 }, { "y", 600 } });
    ok({ { "cmd", "touch" }, { "phase", "up" }, { "x", 120 }, { "y", 600 } });
    EXPECT_EQ(top(), "scriptViewController");

    auto prompter = ok({ { "cmd", "prompter" } });
    EXPECT_EQ(prompter["ScriptTextView"]["fontSize"], 36.0);
    EXPECT_EQ(prompter["ScriptTextView"]["textColor"], Json({ 1.0, 1.0, 0.0, 1.0 }));
    EXPECT_EQ(prompter["ScriptTextView"]["transform"], Json({ 1.0, 0.0, 0.0, -1.0, 0.0, 0.0 }));
    EXPECT_EQ(prompter["isReversed"], true);
    EXPECT_EQ(prompter["ScrollDirectionIsUp"], false);
    EXPECT_EQ(store().list(keys::isMirrorModeArray), (List { false, true }));
}

TEST_F(SettingsDriver, ACancelledPanOrAPanThatGoesOnKeepsTheScreen)
{
    for (auto state : { "began", "changed", "cancelled" })
        ok({ { "cmd", "pan" }, { "state", state } });
    EXPECT_EQ(top(), "SettingsTableViewController");
    ok({ { "cmd", "pan" }, { "state", "ended" } });
    EXPECT_EQ(top(), "scriptViewController");
}

TEST_F(SettingsDriver, PermissionQuestionsAreAnsweredByTheDriver)
{
    ok({ { "cmd", "permissions" }, { "photoLibrary", "granted" }, { "microphone", "granted" } });
    ok({ { "cmd", "switch" }, { "name", "videoSwitch" }, { "on", true } });
    EXPECT_EQ(ok({ { "cmd", "permissions" } })["pending"], Json({ "camera" }));
    auto answered = ok({ { "cmd", "answer_permission" }, { "kind", "camera" }, { "grant", true } });
    EXPECT_EQ(answered["pending"], Json::array());
    EXPECT_EQ(store().list(keys::isRecordingVideoArray), (List { false, true }));

    ok({ { "cmd", "permissions" }, { "microphone", "denied" } });
    ok({ { "cmd", "switch" }, { "name", "magicSwitch" }, { "on", true } });
    EXPECT_EQ(ok({ { "cmd", "alert" } })["alert"]["alertTitle"], "Please Check Permissions");
    ok({ { "cmd", "answer" }, { "choose", "Ok" } });
    EXPECT_EQ(ok({ { "cmd", "settings" } })["magicSwitch"], false);
}

TEST_F(SettingsDriver, TheOlderScreenAndTheOutsideServices)
{
    ok({ { "cmd", "dismiss_sheet" } });
    EXPECT_EQ(top(), "scriptViewController");
    ok({ { "cmd", "tap" }, { "name", "videoSettingsButton" } });
    EXPECT_EQ(ok({ { "cmd", "settings" } })["horimirrorSwitch"], nullptr);
    ok({ { "cmd", "tap" }, { "name", "colorButton" } });
    ok({ { "cmd", "set_value" }, { "name", "sliderColor" }, { "value", 0.5 } });
    EXPECT_EQ(ok({ { "cmd", "color_picker" } })["color"], Json({ 0.0, 1.0, 1.0, 1.0 }));
    ok({ { "cmd", "tap" }, { "name", "preset1" } });
    EXPECT_EQ(ok({ { "cmd", "settings" } })["colorToSave"], Json({ 0.0, 1.0, 1.0, 1.0 }));

    ok({ { "cmd", "tap" }, { "name", "termsButton" } });
    ok({ { "cmd", "services" }, { "canSendMail", false } });
    ok({ { "cmd", "tap" }, { "name", "supportButton" } });
    EXPECT_EQ(ok({ { "cmd", "alert" } })["alert"]["alertTitle"], "Cannot Send Mail");
    auto services = ok({ { "cmd", "services" } });
    EXPECT_EQ(services["urlsOpened"], Json({ "https://cuewright.app/terms.html" }));
    EXPECT_EQ(services["mailsSent"], Json::array());
}

TEST_F(SettingsDriver, RefusesWhatItCannotDo)
{
    struct Case {
        Json request;
        char const* error;
    };
    Case const cases[] = {
        { { { "cmd", "segment" }, { "index", 2 } }, "index must name one of the 2 segments" },
        { { { "cmd", "switch" }, { "name", "nope" }, { "on", true } }, "no such control \"nope\" on the settings screen" },
        { { { "cmd", "switch" }, { "name", "mirrorSwitch" } }, "on must be true or false" },
        { { { "cmd", "stepper" } }, "give a \"value\", or \"press\": \"plus\" or \"minus\"" },
        { { { "cmd", "color_picker" } }, "no colour picker is on top" },
        { { { "cmd", "pan" }, { "state", "sideways" } }, "state must be \"began\", \"changed\", \"ended\", \"cancelled\" or \"failed\"" },
        { { { "cmd", "answer_permission" }, { "kind", "camera" }, { "grant", true } }, "no camera question is waiting" },
        { { { "cmd", "permissions" }, { "camera", "maybe" } }, "a status is \"notDetermined\", \"restricted\", \"denied\", \"granted\", \"limited\" or a number" },
        { { { "cmd", "open_settings" }, { "screen", "RemoteID" } }, "screen must be \"NEWSET\" or \"settingsID\"" },
    };
    for (auto const& c : cases) {
        auto answer = send(c.request);
        EXPECT_EQ(answer["ok"], false) << c.request.dump();
        EXPECT_EQ(answer["error"], c.error) << c.request.dump();
    }
    ok({ { "cmd", "dismiss_sheet" } });
    EXPECT_EQ(ok({ { "cmd", "open_settings" }, { "screen", "settingsID" } })["top"], "settingsViewController");
    EXPECT_EQ(send({ { "cmd", "stepper" }, { "press", "plus" } })["value"], 41.0);
}

}
}
