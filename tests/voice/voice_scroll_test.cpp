// Voice scrolling on the prompter, with the simulated microphone playing
// scripted levels: the text moves only while a sample is above -25 dBFS.

#include "tests/prompter/prompter_fixture.h"

#include "prompter/notifications.h"

#include <limits>

namespace cw::testing {
namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr double interval = VoiceScroll::sampling_interval_seconds;

class VoiceScrolling : public PrompterTest {
protected:
    scriptViewController& open_voiced(ScriptSeed seed = {})
    {
        seed.voice = true;
        seed.text = long_text();
        return open(seed);
    }

    sim::SimAudio& microphone() { return *device->platform().audio; }
    scriptViewController& prompter() { return *top_prompter(*device); }
    bool ticking() { return prompter().engine().has_tick_source(); }
    double offset() { return prompter().ScriptTextView->content_offset().y; }
    void start() { ASSERT_TRUE(device->tap("startButton")); }
    void stop() { ASSERT_TRUE(device->tap("stopButton")); }
    // Up to and including the next sample.
    void next_sample() { loop.advance(interval); }
    int lines(std::string const& text)
    {
        auto all = device->log().lines();
        return static_cast<int>(std::count(all.begin(), all.end(), text));
    }
};

constexpr char detected[] = "Voice detected, starting scroll";
constexpr char not_detected[] = "Voice not detected, stopping scroll";

TEST_F(VoiceScrolling, EachSampleSwitchesTheTextOnOrOffByTheThreshold)
{
    struct Case {
        char const* name;
        std::vector<float> levels;
        // After each sample: whether the text is moving.
        std::vector<bool> moving;
        int started;
        int stopped;
    };
    Case const cases[] = {
        { "-24 dB scrolls and keeps scrolling", { -24, -24, -24 }, { true, true, true }, 1, 0 },
        { "-25 dB exactly never scrolls", { -25, -25, -25 }, { false, false, false }, 0, 0 },
        { "the smallest step above -25 scrolls", { std::nextafter(-25.0f, 0.0f) }, { true }, 1, 0 },
        { "-25 dB after speech stops the text", { -10, -25 }, { true, false }, 1, 1 },
        { "a reading that is not a number stops the text", { -10, nan, -10 }, { true, false, true }, 2, 1 },
        { "not a number from the start never scrolls", { nan, nan }, { false, false }, 0, 0 },
        { "digital silence", { -160, -160 }, { false, false }, 0, 0 },
        { "full scale", { 0 }, { true }, 1, 0 },
        { "one quiet sample halts, one loud one restarts", { -10, -40, -10, -40, -40 }, { true, false, true, false, false }, 2, 2 },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        open_voiced();
        microphone().script_levels(c.levels);
        start();
        EXPECT_FALSE(ticking()) << "the first sample decides, a tenth of a second after the start";
        for (size_t i = 0; i < c.levels.size(); ++i) {
            next_sample();
            EXPECT_EQ(ticking(), c.moving[i]) << "after sample " << i;
            EXPECT_EQ(prompter().engine().ScrollIsRunning, c.moving[i]) << "after sample " << i;
        }
        EXPECT_EQ(lines(detected), c.started);
        EXPECT_EQ(lines(not_detected), c.stopped);
    }
}

TEST_F(VoiceScrolling, TheTextMovesAtTheEngineSpeedOnlyWhileLoud)
{
    open_voiced();
    microphone().script_levels({ -20, -20, -20, -20, -30, -30, -30, -30 });
    start();
    next_sample();
    double moving_from = offset();
    loop.advance(0.3);
    // 50 moves the text 0.5 points a refresh: 18 refreshes in 0.3 s.
    EXPECT_NEAR(offset() - moving_from, 9.0, 0.5 + 1e-9);
    next_sample();
    EXPECT_FALSE(ticking());
    double halted_at = offset();
    loop.advance(0.5);
    EXPECT_EQ(offset(), halted_at);
}

TEST_F(VoiceScrolling, StartingListensWithTheRecorderAsTheScreenSetsItUp)
{
    auto& screen = open_voiced();
    screen.sliderControlView->alpha = 0.7;
    start();
    EXPECT_TRUE(screen.startButton->hidden);
    EXPECT_FALSE(screen.stopButton->hidden);
    EXPECT_EQ(screen.sliderControlView->alpha, 0.7) << "voice runs leave the slider container alone";
    EXPECT_EQ(microphone().session().category(), AudioCategory::PlayAndRecord);
    EXPECT_TRUE(microphone().session().active());
    EXPECT_TRUE(microphone().listening());
    auto* recorder = screen.voice().recorder();
    ASSERT_TRUE(recorder);
    EXPECT_TRUE(recorder->metering_enabled());
    auto settings = VoiceScroll::recorder_settings();
    EXPECT_EQ(static_cast<std::uint32_t>(settings.format), 0x616c6163u) << "'alac'";
    EXPECT_EQ(settings.sample_rate, 44100.0);
    EXPECT_EQ(settings.channels, 1);
    EXPECT_EQ(settings.encoder_quality, 127);
}

TEST_F(VoiceScrolling, StopEndsListeningAndKeepsTheRecorderForTheNextStart)
{
    auto& screen = open_voiced();
    microphone().set_level(-10);
    start();
    next_sample();
    ASSERT_TRUE(ticking());
    auto* recorder = screen.voice().recorder();

    stop();
    EXPECT_FALSE(ticking());
    EXPECT_FALSE(screen.engine().ScrollIsRunning);
    EXPECT_FALSE(screen.voice().has_level_timer());
    EXPECT_FALSE(recorder->is_recording());
    EXPECT_FALSE(microphone().session().active());
    int updates = microphone().meter_updates();
    loop.advance(1.0);
    EXPECT_EQ(microphone().meter_updates(), updates) << "no sampling after a stop";

    start();
    next_sample();
    EXPECT_TRUE(ticking()) << "sampling resumes";
    EXPECT_EQ(screen.voice().recorder(), recorder);
    EXPECT_EQ(microphone().recorders_made(), 1);
    EXPECT_EQ(microphone().session().activations(), 2);
}

TEST_F(VoiceScrolling, ARepeatedStartKeepsOneLevelTimer)
{
    auto& screen = open_voiced();
    microphone().set_level(-10);
    start();
    loop.advance(0.05);
    screen.startScript(); // a remote's start, with the start button hidden
    loop.advance(1.0);
    EXPECT_EQ(microphone().meter_updates(), 10) << "one sample a tenth of a second";
    EXPECT_EQ(lines(detected), 1);
    screen.stopScript();
    loop.advance(1.0);
    EXPECT_EQ(microphone().meter_updates(), 10);
    EXPECT_FALSE(microphone().listening());
}

TEST_F(VoiceScrolling, StopEndsListeningEvenIfTheVoiceSettingWasSwitchedOffMeanwhile)
{
    auto& screen = open_voiced();
    microphone().set_level(-10);
    start();
    next_sample();
    ASSERT_TRUE(ticking());

    // The tablet's settings screen saves without stopping the run.
    device->store().set(keys::isMagicScrollingArray, List { false });
    post(notifications::TestNotification);
    ASSERT_FALSE(screen.isMagicScrolling);

    stop();
    EXPECT_FALSE(ticking());
    EXPECT_FALSE(screen.voice().has_level_timer());
    EXPECT_FALSE(microphone().listening());
    EXPECT_FALSE(microphone().session().active());
    EXPECT_FALSE(screen.engine().ScrollIsRunning);
}

TEST_F(VoiceScrolling, LeavingTheScreenLetsGoOfTheMicrophone)
{
    open_voiced();
    microphone().set_level(-10);
    start();
    next_sample();
    navigation().pop(true);
    loop.advance(1.0);
    EXPECT_EQ(device->top()->class_name(), std::string("ViewController"));
    EXPECT_FALSE(microphone().listening());
    EXPECT_FALSE(microphone().session().active());
    EXPECT_EQ(microphone().meter_updates(), 1);
}

TEST_F(VoiceScrolling, SamplingPausesWhileTheTextIsDragged)
{
    open_voiced();
    microphone().script_levels({ -10, -40 });
    start();
    next_sample();
    ASSERT_TRUE(ticking());

    loop.begin_tracking();
    loop.advance(1.0);
    EXPECT_EQ(microphone().meter_updates(), 1) << "no samples during the drag";
    EXPECT_TRUE(ticking()) << "the quiet sample has not been taken yet";
    loop.end_tracking();
    loop.run_pending();
    loop.advance(0.0);
    EXPECT_EQ(microphone().meter_updates(), 2) << "a sample that fell due during the drag comes once";
    EXPECT_FALSE(ticking());
}

TEST_F(VoiceScrolling, AtTheEndOfTheTextEachLoudSampleEndsTheRunAgain)
{
    auto& screen = open_voiced();
    auto& text = *screen.ScriptTextView;
    double end = text.content_size().height - text.frame.size.height;
    text.set_content_offset({ 0, end });
    microphone().set_level(-10);
    start();
    for (int i = 0; i < 3; ++i) {
        next_sample();
        EXPECT_EQ(lines(detected), i + 1);
        loop.advance_frames(1);
        EXPECT_FALSE(ticking()) << "the first step ends the run";
        EXPECT_FALSE(screen.engine().ScrollIsRunning);
        EXPECT_EQ(text.content_offset().y, end);
    }
    EXPECT_EQ(lines(detected), 3);
    EXPECT_EQ(lines(not_detected), 0) << "the engine ended those runs, not a quiet sample";
}

TEST_F(VoiceScrolling, AMicrophoneThatCannotBeUsedLeavesTheTextStillWithOneLogLine)
{
    struct Case {
        char const* name;
        bool refuse_recorders;
        char const* reason;
    };
    Case const cases[] = {
        { "no recorder can be made", true, "no sound input device" },
        { "the input is refused", false, "the device is busy" },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        open_voiced();
        microphone().set_level(0);
        if (c.refuse_recorders)
            microphone().refuse_recorders(c.reason);
        else
            microphone().refuse_input(c.reason);
        start();
        loop.advance(1.0);
        EXPECT_FALSE(ticking());
        EXPECT_EQ(offset(), 0.0);
        EXPECT_EQ(lines(std::string("Voice scrolling cannot use the microphone: ") + c.reason), 1);
        EXPECT_EQ(lines(detected), 0);
        stop();
        EXPECT_FALSE(prompter().voice().has_level_timer());
    }
}

TEST_F(VoiceScrolling, ARecorderThatCouldNotBeMadeIsTriedAgainAtTheNextStart)
{
    auto& screen = open_voiced();
    microphone().set_level(-10);
    microphone().refuse_recorders("no sound input device");
    start();
    stop();
    EXPECT_FALSE(screen.voice().recorder());
    microphone().refuse_recorders("");
    start();
    next_sample();
    EXPECT_TRUE(ticking());
    EXPECT_EQ(microphone().recorders_made(), 1);
}

TEST_F(VoiceScrolling, ARunWithoutVoiceNeverTouchesTheMicrophone)
{
    open(ScriptSeed { .text = long_text() });
    start();
    loop.advance(1.0);
    stop();
    EXPECT_EQ(microphone().recorders_made(), 0);
    EXPECT_FALSE(microphone().session().category());
    EXPECT_EQ(microphone().session().activations(), 0);
}

}
}
