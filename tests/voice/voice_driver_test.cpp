// The microphone through the automation protocol: a front end chooses what
// the simulated microphone hears and watches voice scrolling react.

#include "tests/prompter/prompter_fixture.h"
#include "tests/voice/wav_files.h"

#include "sim/driver.h"

namespace cw::testing {
namespace {

using Json = nlohmann::json;

class VoiceDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(send({ { "cmd", "launch" } })["ok"]);
        auto& store = driver.device(Json::object()).store();
        for (auto& [key, value] : store_with({ { .title = "Voiced", .text = long_text(), .voice = true } }))
            store.set(key, value);
        ASSERT_TRUE(send({ { "cmd", "open_script" }, { "index", 0 } })["ok"]);
    }

    Json send(Json request)
    {
        auto answer = Json::parse(driver.handle_line(request.dump()));
        EXPECT_TRUE(answer.is_object());
        return answer;
    }
    bool scrolling() { return send({ { "cmd", "prompter" } })["scrolling"].get<bool>(); }
    void advance(double seconds) { send({ { "cmd", "advance" }, { "seconds", seconds } }); }

    Driver driver;
    ScratchFolder folder;
};

TEST_F(VoiceDriver, ScriptedLevelsDriveTheText)
{
    ASSERT_TRUE(send({ { "cmd", "microphone_level" }, { "levels", { -24, -25, -10 } } })["ok"]);
    send({ { "cmd", "tap" }, { "name", "startButton" } });
    auto state = send({ { "cmd", "microphone" } });
    EXPECT_EQ(state["listening"], true);
    EXPECT_EQ(state["sessionActive"], true);
    EXPECT_EQ(state["sessionCategory"], "PlayAndRecord");
    EXPECT_EQ(state["levelTimer"], true);

    bool expected[] = { true, false, true, true };
    for (bool moving : expected) {
        advance(0.1);
        EXPECT_EQ(scrolling(), moving);
    }
    EXPECT_EQ(send({ { "cmd", "microphone" } })["lastLevel"], -10.0);

    ASSERT_TRUE(send({ { "cmd", "microphone_level" }, { "level", -40 } })["ok"]);
    advance(0.1);
    EXPECT_FALSE(scrolling());
    auto lines = send({ { "cmd", "log" } })["lines"];
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Voice not detected, stopping scroll"), lines.end());

    send({ { "cmd", "tap" }, { "name", "stopButton" } });
    state = send({ { "cmd", "microphone" } });
    EXPECT_EQ(state["listening"], false);
    EXPECT_EQ(state["levelTimer"], false);
    EXPECT_EQ(state["recordersMade"], 1);
}

TEST_F(VoiceDriver, PlaysAWavFile)
{
    // Half a second loud, then silence, at 1 kHz.
    std::vector<float> samples(500, 0.5f);
    samples.resize(1000, 0.0f);
    auto path = folder.file("loud.wav");
    write_file(path, wav_bytes({ 1, 1000 }, samples));

    auto loaded = send({ { "cmd", "microphone_file" }, { "path", path } });
    ASSERT_TRUE(loaded["ok"]) << loaded.dump();
    EXPECT_EQ(loaded["duration"], 1.0);
    send({ { "cmd", "tap" }, { "name", "startButton" } });
    advance(0.5);
    EXPECT_TRUE(scrolling());
    advance(0.1);
    EXPECT_FALSE(scrolling());
}

TEST_F(VoiceDriver, RefusedMicrophonesAndBadRequests)
{
    ASSERT_TRUE(send({ { "cmd", "microphone_refuse" }, { "input", "the device is busy" } })["ok"]);
    send({ { "cmd", "microphone_level" }, { "level", 0 } });
    send({ { "cmd", "tap" }, { "name", "startButton" } });
    advance(1.0);
    EXPECT_FALSE(scrolling());
    auto lines = send({ { "cmd", "log" } })["lines"];
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Voice scrolling cannot use the microphone: the device is busy"), lines.end());

    struct Case {
        Json request;
        char const* error;
    };
    Case const cases[] = {
        { { { "cmd", "microphone_level" } }, "give a \"level\" or a list of \"levels\"" },
        { { { "cmd", "microphone_level" }, { "level", "loud" } }, "levels are numbers of dBFS" },
        { { { "cmd", "microphone_level" }, { "levels", Json::array() } }, "levels must be a list of numbers" },
        { { { "cmd", "microphone_file" }, { "path", folder.file("none.wav") } }, "cannot open" },
        { { { "cmd", "microphone_file" }, { "path", "x.wav" }, { "loop", 1 } }, "loop must be true or false" },
        { { { "cmd", "microphone_refuse" }, { "input", 3 } }, "field \"input\" must be a text" },
    };
    for (auto const& c : cases) {
        auto answer = send(c.request);
        EXPECT_EQ(answer["ok"], false) << c.request.dump();
        EXPECT_NE(answer.value("error", "").find(c.error), std::string::npos) << c.request.dump() << " -> " << answer.dump();
    }
}

}
}
