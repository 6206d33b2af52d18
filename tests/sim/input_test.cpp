// Generic user input through the automation protocol, as the browser sends
// it: touches that become taps, long presses, pans and scrolls; typing;
// control values; keys; the wheel.

#include "platform/ui/alert_controller.h"
#include "platform/ui/controls.h"
#include "platform/ui/editable_text_view.h"
#include "platform/ui/navigation_controller.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/slider.h"
#include "platform/ui/stepper.h"
#include "platform/ui/switch.h"
#include "platform/ui/text_field.h"
#include "platform/ui/text_view.h"
#include "platform/foundation/format.h"
#include "sim/driver.h"
#include "tests/prompter/prompter_fixture.h"

#include <gtest/gtest.h>

using namespace cw;
using Json = nlohmann::json;

namespace {

// One of each control, and what happened to them.
class ControlsScreen final : public Screen {
public:
    using Screen::Screen;
    char const* class_name() const override { return "ControlsScreen"; }

    void loadView() override
    {
        auto root = std::make_unique<View>(Rect { {}, { 400, 800 } });
        auto& go = add<Button>(*root, "go", { { 10, 10 }, { 100, 40 } });
        go.on_tap = [this] { ++taps; };
        auto& icon = add<View>(go, "icon", { { 5, 5 }, { 20, 20 } });
        (void)icon;
        add<Switch>(*root, "toggle", { { 10, 60 }, { 51, 31 } }).on_value_changed = [this](Switch&) { ++changes; };
        auto segments = std::make_unique<SegmentedControl>(std::vector<std::string> { "A", "B", "C" }, Rect { { 10, 100 }, { 300, 30 } });
        segments->name = "segments";
        segments->on_value_changed = [this](SegmentedControl&) { ++changes; };
        root->add_subview(std::move(segments));
        auto& stepper = add<Stepper>(*root, "stepper", { { 10, 140 }, { 94, 29 } });
        stepper.set_value(50);
        stepper.on_value_changed = [this](Stepper&) { ++changes; };
        auto& slider = add<Slider>(*root, "slider", { { 10, 180 }, { 200, 30 } });
        slider.maximum_value = 100;
        slider.on_value_changed = [this](Slider&) { ++changes; };
        add<TextField>(*root, "field", { { 10, 220 }, { 200, 30 } }).on_editing_changed = [this](TextField&) { ++changes; };

        auto layout = std::make_shared<HeadlessTextLayout>();
        auto editor = std::make_unique<EditableTextView>(layout, Rect { { 10, 260 }, { 200, 100 } });
        editor->name = "editor";
        editor->on_change = [this](EditableTextView&) { ++changes; };
        root->add_subview(std::move(editor));
        auto reader = std::make_unique<TextView>(layout, Rect { { 0, 400 }, { 400, 200 } });
        reader->name = "reader";
        reader->editable = false;
        reader->set_text(cw::testing::long_text(100));
        root->add_subview(std::move(reader));

        auto& pad = add<View>(*root, "pad", { { 220, 10 }, { 170, 170 } });
        for (auto type : { GestureRecognizer::Type::Tap, GestureRecognizer::Type::LongPress }) {
            auto recognizer = std::make_unique<GestureRecognizer>(type);
            recognizer->on_action = [this](GestureRecognizer& r) {
                gestures.push_back({ r.type, r.state, r.location, r.translation });
            };
            pad.add_gesture_recognizer(std::move(recognizer));
        }
        auto& scroller = add<ScrollView>(*root, "scroller", { { 220, 190 }, { 170, 200 } });
        scroller.content_size = { 170, 1000 };
        auto pan = std::make_unique<GestureRecognizer>(GestureRecognizer::Type::Pan);
        pan->on_action = [this](GestureRecognizer& r) { gestures.push_back({ r.type, r.state, r.location, r.translation }); };
        add<View>(*root, "panner", { { 0, 620 }, { 400, 180 } }).add_gesture_recognizer(std::move(pan));
        set_view(std::move(root));
    }

    struct Gesture {
        GestureRecognizer::Type type;
        GestureState state;
        Point location;
        Point translation;
    };
    int taps { 0 };
    int changes { 0 };
    std::vector<Gesture> gestures;

private:
    template<typename T>
    static T& add(View& parent, char const* name, Rect frame)
    {
        auto view = std::make_unique<T>(frame);
        view->name = name;
        return parent.add_subview(std::move(view));
    }
};

class Input : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(send({ { "cmd", "launch" } })["ok"], true);
        auto screen = std::make_unique<ControlsScreen>(device().context());
        controls = screen.get();
        device().app().navigation()->push(std::move(screen), false);
        device().settle();
    }

    SimDevice& device() { return *driver.devices().at("main"); }
    Json send(Json request) { return driver.handle(request); }
    void ok(Json request) { EXPECT_EQ(send(request)["ok"], true) << request.dump() << " " << send({ { "cmd", "log" } }).dump(); }
    template<typename T>
    T& view(char const* name) { return *controls->view().find_as<T>(name); }

    // A touch from a view's centre, moved by (dx, dy), then lifted.
    void drag(char const* name, double dx, double dy, std::function<void()> while_moved = {})
    {
        auto& target = *controls->view().find(name);
        auto at = target.convert_to_root({ target.frame.size.width / 2, target.frame.size.height / 2 });
        ok({ { "cmd", "touch" }, { "phase", "down" }, { "path", path_to(name) }, { "x", at.x }, { "y", at.y } });
        ok({ { "cmd", "touch" }, { "phase", "move" }, { "x", at.x + dx / 2 }, { "y", at.y + dy / 2 } });
        ok({ { "cmd", "touch" }, { "phase", "move" }, { "x", at.x + dx }, { "y", at.y + dy } });
        if (while_moved)
            while_moved();
        ok({ { "cmd", "touch" }, { "phase", "up" }, { "x", at.x + dx }, { "y", at.y + dy } });
    }

    Json path_to(char const* name)
    {
        Json path = Json::array();
        View const* v = controls->view().find(name);
        for (; v->superview(); v = v->superview()) {
            auto const& siblings = v->superview()->subviews();
            for (size_t i = 0; i < siblings.size(); ++i) {
                if (siblings[i].get() == v)
                    path.insert(path.begin(), i);
            }
        }
        return path;
    }

    Driver driver;
    ControlsScreen* controls { nullptr };
};

}

TEST_F(Input, ATapWorksTheNearestControlUnderTheFinger)
{
    struct Case {
        char const* name;
        double x_fraction;
        std::function<bool(ControlsScreen&)> happened;
    };
    Case cases[] = {
        { "go", 0.5, [](ControlsScreen& s) { return s.taps == 1; } },
        { "icon", 0.5, [](ControlsScreen& s) { return s.taps == 1; } },
        { "toggle", 0.5, [](ControlsScreen& s) { return s.view().find_as<Switch>("toggle")->is_on(); } },
        { "segments", 0.9, [](ControlsScreen& s) { return s.view().find_as<SegmentedControl>("segments")->selected_segment() == 2; } },
        { "segments", 0.1, [](ControlsScreen& s) { return s.view().find_as<SegmentedControl>("segments")->selected_segment() == 0; } },
        { "stepper", 0.25, [](ControlsScreen& s) { return s.view().find_as<Stepper>("stepper")->value() == 49; } },
        { "stepper", 0.75, [](ControlsScreen& s) { return s.view().find_as<Stepper>("stepper")->value() == 51; } },
        { "pad", 0.5, [](ControlsScreen& s) { return s.gestures.size() == 1 && s.gestures[0].type == GestureRecognizer::Type::Tap && s.gestures[0].state == GestureState::Ended && s.gestures[0].location == Point { 85, 85 }; } },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.x_fraction));
        driver.devices().clear();
        SetUp();
        auto& target = *controls->view().find(c.name);
        auto at = target.convert_to_root({ target.frame.size.width * c.x_fraction, target.frame.size.height / 2 });
        ok({ { "cmd", "tap_view" }, { "name", c.name }, { "x", at.x }, { "y", at.y } });
        EXPECT_TRUE(c.happened(*controls));
    }
}

TEST_F(Input, ViewsAreFoundByPathAndAStaleNameIsRefused)
{
    ok({ { "cmd", "tap_view" }, { "path", path_to("go") }, { "name", "go" } });
    EXPECT_EQ(controls->taps, 1);
    struct Case {
        Json request;
        char const* error;
    };
    Case cases[] = {
        { { { "cmd", "tap_view" }, { "path", path_to("go") }, { "name", "toggle" } }, "is not \"toggle\"" },
        { { { "cmd", "tap_view" }, { "path", { 0, 99 } } }, "no view at that path" },
        { { { "cmd", "tap_view" }, { "path", { -1 } } }, "subview indices" },
        { { { "cmd", "tap_view" }, { "path", "0/1" } }, "subview indices" },
        { { { "cmd", "tap_view" }, { "name", "nobody" } }, "no view \"nobody\"" },
    };
    for (auto const& c : cases) {
        auto answer = send(c.request);
        EXPECT_EQ(answer["ok"], false);
        EXPECT_NE(answer.value("error", "").find(c.error), std::string::npos) << answer.dump();
    }
    EXPECT_EQ(controls->taps, 1);
}

TEST_F(Input, AFingerThatWandersOffIsNotATap)
{
    drag("go", 0, 40);
    drag("toggle", 30, 0);
    EXPECT_EQ(controls->taps, 0);
    EXPECT_FALSE(view<Switch>("toggle").is_on());
    // Within a few points it still is one.
    drag("go", 3, 4);
    EXPECT_EQ(controls->taps, 1);
}

TEST_F(Input, ALongPressTakesItsRealDurationAndFollowsTheFinger)
{
    auto& pad = *controls->view().find("pad");
    auto at = pad.convert_to_root({ 85, 85 });
    ok({ { "cmd", "touch" }, { "phase", "down" }, { "path", path_to("pad") }, { "x", at.x }, { "y", at.y } });
    ok({ { "cmd", "advance" }, { "seconds", 0.45 } });
    EXPECT_TRUE(controls->gestures.empty());
    ok({ { "cmd", "advance" }, { "seconds", 0.1 } });
    ASSERT_EQ(controls->gestures.size(), 1u);
    EXPECT_EQ(controls->gestures[0].state, GestureState::Began);
    ok({ { "cmd", "touch" }, { "phase", "move" }, { "x", at.x + 30 }, { "y", at.y } });
    ok({ { "cmd", "touch" }, { "phase", "up" }, { "x", at.x + 30 }, { "y", at.y } });
    ASSERT_EQ(controls->gestures.size(), 3u);
    EXPECT_EQ(controls->gestures[1].state, GestureState::Changed);
    EXPECT_EQ(controls->gestures[1].location, (Point { 115, 85 }));
    EXPECT_EQ(controls->gestures[2].state, GestureState::Ended);
    EXPECT_EQ(controls->gestures[2].type, GestureRecognizer::Type::LongPress);

    // Lifted early, the same touch is a tap.
    controls->gestures.clear();
    ok({ { "cmd", "touch" }, { "phase", "down" }, { "path", path_to("pad") }, { "x", at.x }, { "y", at.y } });
    ok({ { "cmd", "advance" }, { "seconds", 0.3 } });
    ok({ { "cmd", "touch" }, { "phase", "up" }, { "x", at.x }, { "y", at.y } });
    ok({ { "cmd", "advance" }, { "seconds", 1 } });
    ASSERT_EQ(controls->gestures.size(), 1u);
    EXPECT_EQ(controls->gestures[0].type, GestureRecognizer::Type::Tap);
}

TEST_F(Input, APanReportsItsTranslation)
{
    drag("panner", 50, -20);
    ASSERT_EQ(controls->gestures.size(), 4u);
    EXPECT_EQ(controls->gestures[0].state, GestureState::Began);
    EXPECT_EQ(controls->gestures[2].state, GestureState::Changed);
    EXPECT_EQ(controls->gestures[2].translation, (Point { 50, -20 }));
    EXPECT_EQ(controls->gestures[3].state, GestureState::Ended);
}

TEST_F(Input, ADragScrollsTheContentUnderTheFingerWhileTheLoopTracks)
{
    auto& reader = view<TextView>("reader");
    int default_mode_ticks = 0;
    auto link = device().loop().add_display_link(LoopMode::Default, [&] { ++default_mode_ticks; });
    drag("reader", 0, -120, [&] {
        EXPECT_TRUE(device().loop().tracking());
        ok({ { "cmd", "advance" }, { "frames", 30 } });
        EXPECT_EQ(default_mode_ticks, 0);
    });
    EXPECT_FALSE(device().loop().tracking());
    EXPECT_EQ(reader.content_offset(), (Point { 0, 120 }));
    // Never above the top of the text.
    drag("reader", 0, 500);
    EXPECT_EQ(reader.content_offset(), (Point { 0, 0 }));

    // Mirrored top to bottom, the text still follows the finger on screen.
    reader.transform = AffineTransform::scale(1, -1);
    drag("reader", 0, 80);
    EXPECT_EQ(reader.content_offset(), (Point { 0, 80 }));

    auto& scroller = view<ScrollView>("scroller");
    drag("scroller", 0, -60);
    EXPECT_EQ(scroller.content_offset(), (Point { 0, 60 }));
}

TEST_F(Input, TheWheelScrollsWhatIsUnderIt)
{
    ok({ { "cmd", "scroll" }, { "name", "reader" }, { "dy", 45 } });
    EXPECT_EQ(view<TextView>("reader").content_offset(), (Point { 0, 45 }));
    ok({ { "cmd", "scroll" }, { "name", "scroller" }, { "dy", 5000 } });
    EXPECT_EQ(view<ScrollView>("scroller").content_offset(), (Point { 0, 800 }));
    EXPECT_EQ(send({ { "cmd", "scroll" }, { "name", "go" }, { "dy", 5 } })["ok"], false);
}

TEST_F(Input, TypingAndValuesRunTheControlsActions)
{
    ok({ { "cmd", "set_text" }, { "name", "field" }, { "text", "Talks" } });
    EXPECT_EQ(view<TextField>("field").text, "Talks");
    ok({ { "cmd", "set_text" }, { "name", "editor" }, { "text", "Good evening." } });
    EXPECT_EQ(view<EditableTextView>("editor").text(), "Good evening.");
    ok({ { "cmd", "set_value" }, { "name", "slider" }, { "value", 250 } });
    EXPECT_EQ(view<Slider>("slider").value(), 100.0f);
    ok({ { "cmd", "set_value" }, { "name", "toggle" }, { "value", 1 } });
    EXPECT_TRUE(view<Switch>("toggle").is_on());
    ok({ { "cmd", "set_value" }, { "name", "stepper" }, { "value", 70 } });
    EXPECT_EQ(view<Stepper>("stepper").value(), 70);
    ok({ { "cmd", "set_value" }, { "name", "segments" }, { "value", 1 } });
    EXPECT_EQ(view<SegmentedControl>("segments").selected_segment(), 1);
    EXPECT_EQ(controls->changes, 6);

    struct Case {
        Json request;
        char const* error;
    };
    Case refused[] = {
        { { { "cmd", "set_text" }, { "name", "reader" }, { "text", "x" } }, "does not take typing" },
        { { { "cmd", "set_text" }, { "name", "go" }, { "text", "x" } }, "does not take typing" },
        { { { "cmd", "set_value" }, { "name", "go" }, { "value", 1 } }, "does not take a value" },
        { { { "cmd", "set_value" }, { "name", "segments" }, { "value", 7 } }, "no segment" },
        { { { "cmd", "set_value" }, { "name", "slider" }, { "value", "high" } }, "must be a number" },
        { { { "cmd", "set_text" }, { "alert_field", 0 }, { "text", "x" } }, "no such text field" },
    };
    for (auto const& c : refused) {
        auto answer = send(c.request);
        EXPECT_EQ(answer["ok"], false);
        EXPECT_NE(answer.value("error", "").find(c.error), std::string::npos) << answer.dump();
    }
    EXPECT_EQ(controls->changes, 6);
}

TEST_F(Input, EscapePicksAnAlertsCancelAction)
{
    std::string picked;
    auto alert = std::make_unique<AlertController>(device().context(), "Delete?", "", AlertStyle::Alert);
    alert->add_action("Delete", AlertActionStyle::Destructive, [&](AlertController&) { picked = "Delete"; });
    alert->add_action("Keep", AlertActionStyle::Cancel, [&](AlertController&) { picked = "Keep"; });
    alert->add_text_field("Name");
    controls->present(std::move(alert), true);
    // Keys meant for a screen do nothing while an alert is up.
    EXPECT_EQ(send({ { "cmd", "key" }, { "key", "Space" } })["handled"], false);
    ok({ { "cmd", "set_text" }, { "alert_field", 0 }, { "text", "typed" } });
    EXPECT_EQ(device().alert()->field_text(0), "typed");
    EXPECT_EQ(send({ { "cmd", "key" }, { "key", "Escape" } })["handled"], true);
    EXPECT_EQ(picked, "Keep");
    EXPECT_EQ(device().top(), controls);
    EXPECT_EQ(send({ { "cmd", "cancel_alert" } })["ok"], false);
}

TEST_F(Input, BackGoesDownTheNavigationStack)
{
    ok({ { "cmd", "navigate_back" } });
    EXPECT_STREQ(device().top()->class_name(), "ViewController");
    EXPECT_EQ(send({ { "cmd", "navigate_back" } })["ok"], false);
}

TEST_F(Input, TheWindowTakesANewSizeAndTicksFireRefreshes)
{
    ok({ { "cmd", "resize" }, { "width", 1024 }, { "height", 768 } });
    EXPECT_EQ(device().context().window.size(), (Size { 1024, 768 }));
    EXPECT_EQ(send({ { "cmd", "resize" }, { "width", 0 }, { "height", 768 } })["ok"], false);
    int refreshes = 0;
    auto link = device().loop().add_display_link(LoopMode::Default, [&] { ++refreshes; });
    ok({ { "cmd", "tick" } });
    ok({ { "cmd", "tick" }, { "frames", 3 } });
    EXPECT_EQ(refreshes, 4);
}

TEST(PrompterKeys, SpaceStartsAndStopsArrowsStepTheSpeedHomeGoesBackToStart)
{
    RunLoop loop;
    Driver driver(loop);
    SimDeviceOptions options;
    options.store = cw::testing::store_with({ { .text = cw::testing::long_text() } });
    auto& device = driver.adopt_device("main", std::make_unique<SimDevice>(loop, std::move(options)));
    device.launch();
    ASSERT_EQ(driver.handle({ { "cmd", "open_script" }, { "index", 0 } })["ok"], true);
    auto* prompter = device.top_as<scriptViewController>();
    ASSERT_NE(prompter, nullptr);
    auto key = [&](char const* name) { return driver.handle({ { "cmd", "key" }, { "key", name } })["handled"] == true; };

    EXPECT_TRUE(key("Space"));
    EXPECT_TRUE(prompter->startButton->hidden);
    loop.advance(1);
    EXPECT_GT(prompter->ScriptTextView->content_offset().y, 0);

    float speed = prompter->SpeedSlider->value();
    EXPECT_TRUE(key("ArrowUp"));
    EXPECT_EQ(prompter->SpeedSlider->value(), speed + 5);
    EXPECT_EQ(prompter->SpeedField->text, cw::format("%.f", { static_cast<double>(speed + 5) }));
    EXPECT_TRUE(key("ArrowDown"));
    EXPECT_TRUE(key("ArrowDown"));
    EXPECT_EQ(prompter->SpeedSlider->value(), speed - 5);

    EXPECT_TRUE(key("Space"));
    EXPECT_FALSE(prompter->startButton->hidden);
    EXPECT_TRUE(key("Space"));
    EXPECT_TRUE(key("Home"));
    EXPECT_EQ(prompter->ScriptTextView->content_offset(), (Point { 0, 0 }));
    EXPECT_FALSE(prompter->startButton->hidden);
    EXPECT_TRUE(prompter->stopButton->hidden);
    EXPECT_FALSE(prompter->engine().has_tick_source());
    EXPECT_FALSE(key("F1"));
}
