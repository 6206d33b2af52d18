// How the prompter shows a script: text, size, colours, direction and the
// two mirrors, across both kinds of refresh.

#include "prompter_fixture.h"

#include "prompter/notifications.h"
#include "platform/ui/view_stack.h"

namespace cw::testing {
namespace {

using Presentation = PrompterTest;

TEST_F(Presentation, ShowsTheStoredScriptWithItsSettings)
{
    struct Case {
        char const* what;
        ScriptSeed seed;
        AffineTransform transform;
        char const* mirror_line;
        char const* direction_line;
    };
    Case const cases[] = {
        { "start values", {}, AffineTransform::identity(), "ISN'T MIRROR!", "Scrolling is normal" },
        { "mirrored", { .mirror = true }, AffineTransform::scale(1, -1), "IS MIRROR!", "Scrolling is normal" },
        { "reversed, size 40, yellow on blue",
            { .text_size = 40, .scroll_normal = false, .background = Color::blue_color(), .text_color = Color::yellow() },
            AffineTransform::identity(), "ISN'T MIRROR!", "Scrolling is reversed" },
        { "translucent colours keep alpha",
            { .background = { 0.1, 0.2, 0.3, 0.25 }, .text_color = { 0.9, 0.8, 0.7, 0.5 } },
            AffineTransform::identity(), "ISN'T MIRROR!", "Scrolling is normal" },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptSeed seed = c.seed;
        seed.text = "The text of " + std::string(c.what);
        auto& prompter = open(seed);
        auto const& text = *prompter.ScriptTextView;
        EXPECT_EQ(text.text(), seed.text);
        EXPECT_EQ(text.font_size(), seed.text_size);
        EXPECT_EQ(text.background, seed.background);
        EXPECT_EQ(text.text_color, seed.text_color);
        EXPECT_EQ(text.transform, c.transform);
        EXPECT_EQ(prompter.engine().ScrollDirectionIsUp, seed.scroll_normal);
        EXPECT_TRUE(logged(c.mirror_line));
        EXPECT_TRUE(logged(c.direction_line));
    }
}

TEST_F(Presentation, ShowsTheTextItWasOpenedWithUntilTheFirstRefresh)
{
    open();
    auto& context = device->context();
    context.defaults.set(keys::currentlyEditingText, "Handed over");
    context.defaults.set(keys::scriptTextArray, List { "Stored" });
    scriptViewController fresh(context);
    fresh.view();
    EXPECT_EQ(fresh.ScriptTextView->text(), "Handed over");
    fresh.viewDidAppear(false);
    EXPECT_EQ(fresh.ScriptTextView->text(), "Stored");
}

TEST_F(Presentation, AppearanceMovesTheTextBehindEveryOtherControl)
{
    auto& prompter = open();
    auto& root = prompter.view();
    bring_subview_to_front(*prompter.ScriptTextView);
    prompter.viewDidAppear(false);
    EXPECT_EQ(root.subviews().front().get(), prompter.ScriptTextView);
}

TEST_F(Presentation, RefreshLogsItsDiagnostics)
{
    open({ { .title = "A" }, { .title = "B", .scroll_normal = false } }, 1);
    for (auto const* line : { "Is Scroll Normal (1, 0)", "Array count = 2", "Script Index = 1" })
        EXPECT_TRUE(logged(line)) << line;
    post(notifications::TestNotification);
    EXPECT_TRUE(logged("Notification Received"));
    EXPECT_TRUE(logged("Script Indext = 1"));
}

TEST_F(Presentation, SavedSettingsReloadTheWholePresentation)
{
    auto& prompter = open();
    auto& store = device->store();
    store.set(keys::scriptTextArray, List { "Rewritten" });
    store.set(keys::textSizeArray, List { 72.0 });
    store.set(keys::isMirrorModeArray, List { true });
    store.set(keys::colorDataArray, List { archive_color(Color::white()) });
    post(notifications::TestNotification);
    EXPECT_EQ(prompter.ScriptTextView->text(), "Rewritten");
    EXPECT_EQ(prompter.ScriptTextView->font_size(), 72.0);
    EXPECT_EQ(prompter.ScriptTextView->transform, AffineTransform::scale(1, -1));
    EXPECT_EQ(prompter.ScriptTextView->background, Color::white());
}

TEST_F(Presentation, AColourThatCannotBeReadLeavesTheViewsOwn)
{
    auto store_options = SimDeviceOptions {};
    store_options.store[keys::colorDataArray] = List { Bytes { "not a colour" } };
    store_options.store[keys::textColorDataArray] = List { "a string, not bytes" };
    auto& prompter = open(ScriptSeed {}, store_options);
    EXPECT_FALSE(prompter.ScriptTextView->background.has_value());
    EXPECT_EQ(prompter.ScriptTextView->text_color, Color::black());
}

TEST_F(Presentation, RecordingNoticeUsesTheFlagOfTheScriptRefreshedBefore)
{
    auto& recorder = open({ { .title = "Filmed", .recording = true }, { .title = "Plain" } }, 0);
    EXPECT_TRUE(recorder.videoMessageView->hidden) << "nothing had recorded before the first opening";
    EXPECT_TRUE(device->store().boolean(keys::canVideo));

    navigation().pop(false);
    auto& plain = reopen(1);
    EXPECT_FALSE(plain.videoMessageView->hidden) << "the stale flag is read before it is rewritten";
    EXPECT_FALSE(device->store().boolean(keys::canVideo));
    post(notifications::TestNotification);
    EXPECT_TRUE(plain.videoMessageView->hidden);
}

// The mirrors. Each assignment replaces the transform in effect; the
// horizontal mirror comes one main-queue turn after its notification.
enum class Event { MirrorOn, MirrorOff, SettingsSaved, Appearance };

TEST_F(Presentation, MirrorsAcrossNotificationsAndRefreshes)
{
    auto const identity = AffineTransform::identity();
    auto const flipped_left_right = AffineTransform::scale(-1, 1);
    auto const upside_down = AffineTransform::scale(1, -1);
    struct Case {
        char const* what;
        bool vertical;
        std::vector<Event> events;
        AffineTransform expected;
        bool reversed;
    };
    Case const cases[] = {
        { "opening ignores the global flag", false, {}, identity, false },
        { "horizontal on", false, { Event::MirrorOn }, flipped_left_right, true },
        { "horizontal off again", false, { Event::MirrorOn, Event::MirrorOff }, identity, false },
        { "saved settings keep the horizontal flip", false, { Event::MirrorOn, Event::SettingsSaved }, flipped_left_right, true },
        { "appearance removes it but stays reversed", false, { Event::MirrorOn, Event::Appearance }, identity, true },
        { "vertical replaces horizontal on save", true, { Event::MirrorOn, Event::SettingsSaved }, upside_down, true },
        { "horizontal replaces vertical again", true, { Event::MirrorOn, Event::SettingsSaved, Event::MirrorOn }, flipped_left_right, true },
        { "off straightens even a vertical mirror", true, { Event::MirrorOff }, identity, false },
        { "vertical comes back at the next save", true, { Event::MirrorOff, Event::SettingsSaved }, upside_down, false },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        auto& prompter = open(ScriptSeed { .mirror = c.vertical });
        for (auto event : c.events) {
            switch (event) {
            case Event::MirrorOn: post(notifications::HMirrorTurnedOnNotification); break;
            case Event::MirrorOff: post(notifications::HMirrorTurnedOffNotification); break;
            case Event::SettingsSaved: post(notifications::TestNotification); break;
            case Event::Appearance: prompter.viewDidAppear(true); break;
            }
            device->settle();
        }
        EXPECT_EQ(prompter.ScriptTextView->transform, c.expected);
        EXPECT_EQ(prompter.isReversed, c.reversed);
    }
}

TEST_F(Presentation, HorizontalMirrorWaitsOneTurnButItsRemovalDoesNot)
{
    auto& prompter = open();
    post(notifications::HMirrorTurnedOnNotification);
    EXPECT_TRUE(prompter.isReversed);
    EXPECT_TRUE(logged("Reverse Script Called"));
    EXPECT_EQ(prompter.ScriptTextView->transform, AffineTransform::identity());
    loop.run_pending();
    EXPECT_EQ(prompter.ScriptTextView->transform, AffineTransform::scale(-1, 1));

    post(notifications::HMirrorTurnedOffNotification);
    EXPECT_TRUE(logged("Unreverse Script Called"));
    EXPECT_EQ(prompter.ScriptTextView->transform, AffineTransform::identity());
}

TEST_F(Presentation, AMirrorQueuedForAClosedScreenIsDropped)
{
    open();
    post(notifications::HMirrorTurnedOnNotification);
    navigation().pop(false);
    EXPECT_NO_FATAL_FAILURE(device->settle());
    EXPECT_EQ(device->top()->class_name(), std::string("ViewController"));
}

// A store whose lists do not reach the script index: the screen shows what
// it has and says what was missing.
TEST_F(Presentation, AScriptIndexOutsideTheListsShowsWhatItCan)
{
    SimDeviceOptions damaged;
    damaged.store[keys::textSizeArray] = List { 30.0 };
    damaged.store[keys::colorDataArray] = List {};
    auto& prompter = open({ { .title = "A", .text = "first" }, { .title = "B", .text = "second", .text_size = 40, .background = Color::red_color(), .mirror = true } }, 1, damaged);
    EXPECT_EQ(prompter.ScriptTextView->text(), "second");
    EXPECT_EQ(prompter.ScriptTextView->font_size(), 56.0) << "a new script's size stands in";
    EXPECT_EQ(prompter.ScriptTextView->background, Color::black());
    EXPECT_EQ(prompter.ScriptTextView->transform, AffineTransform::scale(1, -1)) << "what is stored still applies";
    EXPECT_TRUE(logged("Script index 1 is outside textSizeArray, colorDataArray; using a new script's settings for them"));

    for (std::int64_t index : { 7, -1 }) {
        device->store().set_integer(keys::currentlyEditingIndex, index);
        post(notifications::TestNotification);
        EXPECT_EQ(prompter.ScriptTextView->text(), "second") << index;
        EXPECT_TRUE(logged("Script index " + std::to_string(index) + " is outside the 2 stored script texts; keeping the text on screen"));
        EXPECT_EQ(prompter.ScriptTextView->font_size(), 56.0);
    }
}

}
}
