// The prompter through the automation protocol, as a front end drives it.

#include "prompter_fixture.h"

#include "sim/driver.h"

namespace cw::testing {
namespace {

using Json = nlohmann::json;

class PrompterDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(send({ { "cmd", "launch" } })["ok"]);
        auto& store = driver.device(Json::object()).store();
        for (auto& [key, value] : store_with({ { .title = "Intro", .text = long_text(), .text_size = 40, .mirror = true },
                 { .title = "Short", .text = "Short.", .scroll_normal = false } }))
            store.set(key, value);
    }

    Json send(Json request)
    {
        auto answer = Json::parse(driver.handle_line(request.dump()));
        EXPECT_TRUE(answer.is_object());
        return answer;
    }
    Json state() { return send({ { "cmd", "prompter" } }); }

    Driver driver;
};

TEST_F(PrompterDriver, OpensAScriptTheWayTheHomeScreenDoes)
{
    auto opened = send({ { "cmd", "open_script" }, { "index", 1 } });
    ASSERT_TRUE(opened["ok"]) << opened.dump();
    auto& store = driver.device(Json::object()).store();
    EXPECT_EQ(store.string(keys::currentlyEditingTitle), "Short");
    EXPECT_EQ(store.string(keys::currentlyEditingText), "Short.");
    EXPECT_EQ(store.integer(keys::currentlyEditingIndex), 1);
    EXPECT_EQ(store.object(keys::isNewScript), Value(false));

    auto shown = state();
    EXPECT_EQ(shown["scriptIndex"], 1);
    EXPECT_EQ(shown["ScriptTextView"]["text"], "Short.");
    EXPECT_EQ(shown["ScrollDirectionIsUp"], false);
    EXPECT_EQ(send({ { "cmd", "screens" } })["top"], "scriptViewController");
}

TEST_F(PrompterDriver, RefusesWhatItCannotDo)
{
    struct Case {
        Json request;
        char const* error;
    };
    Case const cases[] = {
        { { { "cmd", "prompter" } }, "the prompter is not the top screen" },
        { { { "cmd", "open_script" }, { "index", 2 } }, "no script at index 2 (the store holds 2 script texts)" },
        { { { "cmd", "open_script" }, { "index", -1 } }, "no script at index -1 (the store holds 2 script texts)" },
        { { { "cmd", "open_script" }, { "index", 0.5 } }, "index must be a whole number" },
        { { { "cmd", "open_script" } }, "index must be a whole number" },
        { { { "cmd", "back_to_start" } }, "the prompter is not the top screen" },
    };
    for (auto const& c : cases) {
        auto answer = send(c.request);
        EXPECT_FALSE(answer["ok"]) << c.request.dump();
        EXPECT_EQ(answer["error"], c.error) << c.request.dump();
    }
}

TEST_F(PrompterDriver, ARunFromStartToStop)
{
    send({ { "cmd", "open_script" }, { "index", 0 } });
    auto shown = state();
    EXPECT_EQ(shown["ScriptTextView"]["fontSize"], 40.0);
    EXPECT_EQ(shown["ScriptTextView"]["transform"], Json::parse("[1.0, 0.0, 0.0, -1.0, 0.0, 0.0]"));
    EXPECT_EQ(shown["ScriptTextView"]["background"], Json::parse("[0.0, 0.0, 0.0, 1.0]"));
    EXPECT_EQ(shown["ScriptTextView"]["textColor"], Json::parse("[1.0, 1.0, 1.0, 1.0]"));
    EXPECT_EQ(shown["ScriptTextView"]["alpha"], 1.0);
    EXPECT_EQ(shown["startButtonHidden"], false);
    EXPECT_EQ(shown["stopButtonHidden"], true);

    ASSERT_TRUE(send({ { "cmd", "tap" }, { "name", "startButton" } })["ok"]);
    send({ { "cmd", "advance" }, { "seconds", 0.03 } });
    send({ { "cmd", "advance" }, { "frames", 120 } });
    shown = state();
    EXPECT_EQ(shown["ScriptTextView"]["contentOffset"], Json::parse("[0.0, 60.5]"));
    EXPECT_EQ(shown["scrolling"], true);
    EXPECT_EQ(shown["startButtonHidden"], true);
    EXPECT_EQ(shown["sliderControlViewAlpha"], 0.4);

    ASSERT_TRUE(send({ { "cmd", "set_value" }, { "name", "SpeedSlider" }, { "value", 11.5 } })["ok"]);
    EXPECT_EQ(state()["SpeedField"], "12");
    EXPECT_EQ(send({ { "cmd", "store" }, { "key", "Script-0-scriptSpeed" } })["value"], Json::parse(R"({"integer": 11})"));

    ASSERT_TRUE(send({ { "cmd", "tap" }, { "name", "stopButton" } })["ok"]);
    shown = state();
    EXPECT_EQ(shown["scrolling"], false);
    EXPECT_EQ(shown["startButtonHidden"], false);
    EXPECT_EQ(shown["stopButtonHidden"], true);
}

TEST_F(PrompterDriver, RemoteOperationsAndSettingsNotifications)
{
    send({ { "cmd", "open_script" }, { "index", 0 } });
    send({ { "cmd", "tap" }, { "name", "startButton" } });
    send({ { "cmd", "advance" }, { "seconds", 1 } });
    ASSERT_TRUE(send({ { "cmd", "remote_speed" }, { "value", 37.6 } })["ok"]);
    EXPECT_EQ(state()["SpeedField"], "38");
    ASSERT_TRUE(send({ { "cmd", "back_to_start" } })["ok"]);
    auto shown = state();
    EXPECT_EQ(shown["ScriptTextView"]["contentOffset"], Json::parse("[0.0, 0.0]"));
    EXPECT_EQ(shown["scrolling"], false);

    ASSERT_TRUE(send({ { "cmd", "post_notification" }, { "name", "HMirrorTurnedOnNotification" } })["ok"]);
    shown = state();
    EXPECT_EQ(shown["isReversed"], true);
    EXPECT_EQ(shown["ScriptTextView"]["transform"], Json::parse("[-1.0, 0.0, 0.0, 1.0, 0.0, 0.0]"));
}

}
}
