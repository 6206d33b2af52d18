// Runs of the prompter: start, the steps, the end of the text, stop, back
// to start and speed changes, driven as a user (buttons, slider, drags) or
// as a remote (the screen's operations).

#include "prompter_fixture.h"

#include "platform/ui/slider.h"
#include "platform/ui/text_field.h"

namespace cw::testing {
namespace {

class Scrolling : public PrompterTest {
protected:
    scriptViewController& open_long(ScriptSeed seed = {})
    {
        seed.text = long_text();
        return open(seed);
    }

    double offset() { return top_prompter(*device)->ScriptTextView->content_offset().y; }
    double limit()
    {
        auto& text = *top_prompter(*device)->ScriptTextView;
        return text.content_size().height - text.frame.size.height;
    }
    bool ticking() { return top_prompter(*device)->engine().has_tick_source(); }
    void start() { ASSERT_TRUE(device->tap("startButton")); }
    void stop() { ASSERT_TRUE(device->tap("stopButton")); }
    // Past the delayed start, so that every later refresh is one step.
    void start_and_settle_in()
    {
        start();
        loop.advance(ScrollEngine::delayed_start_seconds);
        ASSERT_TRUE(ticking());
    }
    void slide(float value) { top_prompter(*device)->SpeedSlider->user_set_value(value); }
    // A user's drag of the text to `y`.
    void drag_text_to(double y)
    {
        loop.begin_tracking();
        top_prompter(*device)->ScriptTextView->set_content_offset({ 0, y });
        loop.end_tracking();
    }
};

TEST_F(Scrolling, AFreshScreenRunsAtTheSpeedItsSliderShows)
{
    auto& prompter = open_long();
    EXPECT_EQ(prompter.SpeedField->text, "50");
    EXPECT_EQ(prompter.SpeedSlider->value(), 50.0f);
    EXPECT_LE(prompter.SpeedSlider->minimum_value, 0.0f);
    EXPECT_GE(prompter.SpeedSlider->maximum_value, 100.0f);
    EXPECT_FALSE(prompter.startButton->hidden);
    EXPECT_TRUE(prompter.stopButton->hidden);
}

TEST_F(Scrolling, StartTakesOneStepAtOnceThenTicksEveryRefresh)
{
    auto& prompter = open_long();
    start();
    EXPECT_EQ(offset(), 0.5) << "the first step comes with the tap";
    EXPECT_FALSE(ticking());
    EXPECT_TRUE(prompter.startButton->hidden);
    EXPECT_FALSE(prompter.stopButton->hidden);
    EXPECT_EQ(prompter.sliderControlView->alpha, 0.4);

    loop.advance(0.029);
    EXPECT_FALSE(ticking());
    loop.advance(0.001);
    EXPECT_TRUE(ticking());

    double before = offset();
    loop.advance_frames(120);
    EXPECT_EQ(offset() - before, 60.0) << "speed 50 moves 0.5 points a refresh";
    EXPECT_EQ(prompter.ScriptTextView->content_offset().x, 0.0);
}

TEST_F(Scrolling, TheStepIsWorkedOutInSinglePrecision)
{
    auto& prompter = open_long();
    prompter.handleReceivedSliderValue(33);
    start();
    EXPECT_EQ(offset(), static_cast<double>(33.0f / 100.0f));
    EXPECT_NE(offset(), 0.33);
}

TEST_F(Scrolling, TicksPauseWhileTheUserDragsTheText)
{
    open_long();
    start_and_settle_in();
    double before = offset();
    loop.begin_tracking();
    loop.advance_frames(30);
    EXPECT_EQ(offset(), before);
    loop.end_tracking();
    loop.advance_frames(10);
    EXPECT_EQ(offset(), before + 5);
}

TEST_F(Scrolling, TheRunEndsByItselfAtTheEndOfTheText)
{
    auto& prompter = open_long();
    drag_text_to(limit() - 1);
    start_and_settle_in();
    loop.advance_frames(10);
    EXPECT_FALSE(ticking());
    EXPECT_EQ(offset(), limit()) << "0.5-point steps land on the end exactly and stop there";
    EXPECT_FALSE(prompter.engine().ScrollIsRunning);
    EXPECT_FALSE(prompter.stopButton->hidden) << "reaching the end changes no control";
    EXPECT_TRUE(prompter.startButton->hidden);
    EXPECT_EQ(prompter.sliderControlView->alpha, 0.4);

    stop();
    EXPECT_FALSE(prompter.startButton->hidden);
    EXPECT_TRUE(prompter.stopButton->hidden);
}

TEST_F(Scrolling, TheLastStepMayOvershootByLessThanAStep)
{
    auto& prompter = open_long();
    prompter.handleReceivedSliderValue(33);
    double step = static_cast<double>(0.33f);
    drag_text_to(limit() - 1);
    start_and_settle_in();
    loop.advance_frames(10);
    EXPECT_FALSE(ticking());
    EXPECT_GE(offset(), limit());
    EXPECT_LT(offset(), limit() + step);
}

TEST_F(Scrolling, ARunAtItsLimitEndsAtTheFirstStep)
{
    struct Case {
        char const* what;
        std::string text;
        bool normal;
        bool drag_to_end;
        double drag_to;
    };
    Case const cases[] = {
        { "text shorter than the view", "Short.", true, false, 0 },
        { "already at the end", long_text(), true, true, 0 },
        { "reverse from the top", long_text(), false, false, 0 },
        { "reverse above the top", long_text(), false, false, -3 },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        auto& prompter = open(ScriptSeed { .text = c.text, .scroll_normal = c.normal });
        drag_text_to(c.drag_to_end ? limit() : c.drag_to);
        double before = offset();
        start();
        EXPECT_EQ(offset(), before);
        EXPECT_FALSE(ticking());
        // The delayed start still brings the tick source, whose first step
        // ends the run again.
        loop.advance_frames(5);
        EXPECT_FALSE(ticking());
        EXPECT_EQ(offset(), before);
        EXPECT_FALSE(prompter.stopButton->hidden);
    }
}

TEST_F(Scrolling, ReverseScrollingMovesDownTowardsTheTop)
{
    open_long({ .scroll_normal = false });
    drag_text_to(10);
    start_and_settle_in();
    loop.advance_frames(4);
    EXPECT_EQ(offset(), 10 - 2.5);
    loop.advance_frames(30);
    EXPECT_FALSE(ticking());
    EXPECT_LE(offset(), 0.0);
    EXPECT_GT(offset(), -0.5);
}

TEST_F(Scrolling, SpeedZeroTicksWithoutMoving)
{
    for (char const* speed : { "0", "", "fast" }) {
        SCOPED_TRACE(speed);
        auto& prompter = open_long();
        prompter.SpeedField->text = speed;
        start_and_settle_in();
        loop.advance_frames(60);
        EXPECT_TRUE(ticking());
        EXPECT_EQ(offset(), 0.0);
    }
}

TEST_F(Scrolling, ASpeedChangeAppliesFromTheNextStep)
{
    auto& prompter = open_long();
    start_and_settle_in();
    double before = offset();
    loop.advance_frames(10);
    slide(100);
    EXPECT_EQ(prompter.sliderControlView->alpha, 1.0);
    loop.advance_frames(10);
    EXPECT_EQ(offset() - before, 5.0 + 10.0);
    prompter.handleReceivedSliderValue(25);
    loop.advance_frames(10);
    EXPECT_EQ(offset() - before, 5.0 + 10.0 + 2.5);
    EXPECT_TRUE(ticking()) << "the run was never restarted";
}

TEST_F(Scrolling, SpeedChangesShowTheRoundedSpeedAndStoreTheTruncatedOne)
{
    struct Case {
        double value;
        bool from_slider;
        char const* field;
        std::int64_t stored;
    };
    Case const cases[] = {
        { 10.5, true, "10", 10 },
        { 11.5, true, "12", 11 },
        { 10.7, true, "11", 10 },
        { 0, true, "0", 0 },
        { 100, true, "100", 100 },
        { 37.6, false, "38", 37 },
        { -2.5, false, "-2", -2 },
    };
    auto& prompter = open_long();
    for (auto const& c : cases) {
        SCOPED_TRACE(c.value);
        if (c.from_slider)
            slide(static_cast<float>(c.value));
        else
            prompter.handleReceivedSliderValue(c.value);
        EXPECT_EQ(prompter.SpeedField->text, c.field);
        EXPECT_EQ(device->store().object("Script-0-scriptSpeed"), Value(c.stored));
    }
    EXPECT_EQ(prompter.SpeedSlider->value(), 100.0f) << "a remote's speed leaves the slider alone";
}

TEST_F(Scrolling, RemoteSpeedsOutsideAnyRangeStayHarmless)
{
    auto& prompter = open_long();
    for (double speed : { 1e300, -1e300, std::nan("") }) {
        SCOPED_TRACE(speed);
        prompter.handleReceivedSliderValue(speed);
        auto stored = device->store().integer("Script-0-scriptSpeed");
        EXPECT_EQ(stored, std::isnan(speed) ? 0 : speed > 0 ? INT64_MAX : INT64_MIN);
    }
    start_and_settle_in();
    loop.advance_frames(3);
    EXPECT_EQ(offset(), 0.0) << "a speed field reading \"nan\" holds no number";
}

TEST_F(Scrolling, CodeThatMovesTheSliderChangesNoSpeed)
{
    auto& prompter = open_long();
    prompter.SpeedSlider->set_value(80);
    EXPECT_EQ(prompter.SpeedField->text, "50");
    EXPECT_FALSE(device->store().object("Script-0-scriptSpeed"));
}

TEST_F(Scrolling, TheSpeedKeyFollowsCurrentlyViewing)
{
    open_long();
    device->store().set_integer(keys::CurrentlyViewing, 3);
    slide(42);
    EXPECT_EQ(device->store().integer("Script-3-scriptSpeed"), 42);
}

TEST_F(Scrolling, StopEndsTheRunAndShowsTheNavigationBar)
{
    auto& prompter = open_long();
    navigation().navigation_bar_hidden = true;
    start_and_settle_in();
    stop();
    EXPECT_FALSE(ticking());
    EXPECT_FALSE(navigation().navigation_bar_hidden);
    EXPECT_FALSE(prompter.startButton->hidden);
    EXPECT_TRUE(prompter.stopButton->hidden);
    EXPECT_EQ(prompter.sliderControlView->alpha, 0.4) << "stop changes no opacity";
    double stopped_at = offset();
    loop.advance_frames(30);
    EXPECT_EQ(offset(), stopped_at);
}

TEST_F(Scrolling, AStopBeforeTheDelayedStartCancelsIt)
{
    open_long();
    start();
    loop.advance(0.01);
    stop();
    loop.advance(1);
    EXPECT_FALSE(ticking());
    EXPECT_EQ(offset(), 0.5);
}

TEST_F(Scrolling, ARepeatedStartKeepsOneTickSource)
{
    auto& prompter = open_long();
    start_and_settle_in();
    prompter.startScript();
    loop.advance(0.01);
    prompter.startScript();
    loop.advance(ScrollEngine::delayed_start_seconds);
    double before = offset();
    loop.advance_frames(60);
    EXPECT_EQ(offset() - before, 30.0) << "one step a refresh, not two";
    prompter.stopScript();
    loop.advance_frames(10);
    EXPECT_FALSE(ticking());
}

TEST_F(Scrolling, BackToStartDuringARun)
{
    auto& prompter = open_long();
    start_and_settle_in();
    loop.advance(2);
    ASSERT_GT(offset(), 0.0);
    prompter.backToStart();
    EXPECT_EQ(prompter.ScriptTextView->content_offset(), (Point { 0, 0 }));
    EXPECT_FALSE(prompter.ScriptTextView->last_offset_change_animated());
    EXPECT_FALSE(ticking());
    EXPECT_FALSE(prompter.startButton->hidden);
    EXPECT_TRUE(prompter.stopButton->hidden);
    loop.advance(1);
    EXPECT_EQ(offset(), 0.0);
}

TEST_F(Scrolling, RecordingAndVoiceRunsDressTheScreenAsTheirSettingsSay)
{
    auto& filmed = open_long({ .recording = true });
    start();
    EXPECT_EQ(filmed.ScriptTextView->alpha, 0.5);
    EXPECT_TRUE(logged("Display the preview layer"));
    stop();
    EXPECT_TRUE(logged("STOP RECORDING"));
    EXPECT_EQ(filmed.ScriptTextView->alpha, 1.0) << "the finished take lifts the dimming";

    auto& voiced = open_long({ .voice = true });
    voiced.sliderControlView->alpha = 0.7;
    start();
    EXPECT_EQ(voiced.ScriptTextView->alpha, 1.0);
    EXPECT_TRUE(voiced.startButton->hidden);
    EXPECT_FALSE(voiced.stopButton->hidden);
    EXPECT_EQ(voiced.sliderControlView->alpha, 0.7);
    loop.advance(1);
    EXPECT_FALSE(ticking()) << "voice decides when the text moves";
    EXPECT_EQ(offset(), 0.0);
    stop();
    EXPECT_FALSE(voiced.engine().ScrollIsRunning);
}

TEST_F(Scrolling, LeavingTheScreenEndsItsRun)
{
    open_long();
    start_and_settle_in();
    navigation().pop(true);
    // The screen goes at the end of the next turn, and its tick source with
    // it: no display refresh fires any more.
    loop.advance_frames(1);
    auto frames = loop.frames_fired();
    loop.advance(1);
    EXPECT_EQ(loop.frames_fired(), frames);
    EXPECT_EQ(device->top()->class_name(), std::string("ViewController"));
}

}
}
