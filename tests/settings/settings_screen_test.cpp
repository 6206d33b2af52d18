// The settings screen: what it shows, what it stores and when, and what it
// tells an open prompter.

#include "settings_fixture.h"

#include "app/product_info.h"
#include "platform/foundation/format.h"
#include "platform/services/url_opener.h"
#include "platform/ui/alert_controller.h"
#include "platform/ui/navigation_controller.h"

namespace cw::testing {
namespace {

using Settings = SettingsTest;

ScriptSeed const other { .title = "Other", .text_size = 30, .scroll_normal = true, .background = { 0.2, 0.4, 0.6, 1 } };
ScriptSeed const styled {
    .title = "Styled",
    .text_size = 40,
    .scroll_normal = false,
    .background = { 1, 0.5, 0, 0.75 },
    .text_color = { 0, 0, 1, 1 },
    .mirror = true,
    .voice = true,
    .recording = true,
};

TEST_F(Settings, LoadShowsTheScriptAtTheEditingIndex)
{
    launch({ other, styled }, 1, { { keys::hasHMirrorOn, true } });
    auto& settings = open_settings();

    EXPECT_EQ(settings.scriptIndex, 1);
    EXPECT_EQ(settings.textStepper->value(), 40);
    EXPECT_EQ(settings.label->text, "40");
    EXPECT_EQ(settings.scrollDirectionButton->selected_segment(), 1) << "a stored false selects the reversed segment";
    EXPECT_EQ(settings.bgColorImg->background, styled.background);
    EXPECT_EQ(settings.textbgColorImg->background, styled.text_color);
    for (auto* swatch : { settings.bgColorImg, settings.textbgColorImg }) {
        EXPECT_EQ(swatch->border_width, 3);
        EXPECT_EQ(swatch->border_color, Color::black());
    }
    EXPECT_TRUE(settings.mirrorSwitch->is_on());
    EXPECT_TRUE(settings.horimirrorSwitch->is_on());
    EXPECT_TRUE(settings.magicSwitch->is_on());
    EXPECT_TRUE(settings.videoSwitch->is_on());
    EXPECT_TRUE(settings.videoMessageView->hidden);
    EXPECT_EQ(settings.videoMessageView->corner_radius, 8);
    EXPECT_TRUE(settings.videoMessageView->clips_to_bounds);
    EXPECT_FALSE(settings.colorToSave);
    EXPECT_FALSE(settings.textcolorToSave);
    EXPECT_TRUE(logged("Is in Mirror Mode - button should be ON"));
    EXPECT_TRUE(logged("IS RECORDING"));

    auto& recognizers = settings.view().gesture_recognizers();
    ASSERT_EQ(recognizers.size(), 1u);
    EXPECT_EQ(recognizers[0]->type, GestureRecognizer::Type::Pan);

    auto& table = settings.table_view();
    ASSERT_EQ(table.number_of_sections(), 3);
    EXPECT_EQ(table.number_of_rows_in_section(0), 4);
    EXPECT_EQ(table.number_of_rows_in_section(1), 4);
    EXPECT_EQ(table.number_of_rows_in_section(2), 2);
    EXPECT_EQ(settings.tableViewNumberOfRowsInSection(table, 3), 0);

    auto scroll = settings.myScrollView->frame.size;
    EXPECT_EQ(settings.myScrollView->content_size, (Size { scroll.width, scroll.height + 200 }));
}

TEST_F(Settings, EveryAppearanceRepeatsTheHorizontalMirrorToThePrompter)
{
    struct Case {
        bool flag;
        char const* notification;
        char const* line;
    };
    Case const cases[] = {
        { true, notifications::HMirrorTurnedOnNotification, "Horizontal Mirror is ON" },
        { false, notifications::HMirrorTurnedOffNotification, "Horizontal Mirror is OFF" },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.line);
        launch({ ScriptSeed {} }, 0, { { keys::hasHMirrorOn, c.flag } });
        auto& settings = open_settings();
        EXPECT_EQ(heard->names, std::vector<std::string> { c.notification });
        EXPECT_EQ(settings.horimirrorSwitch->is_on(), c.flag);
        EXPECT_TRUE(logged(c.line));

        // The flag may have changed behind the screen's back; the next
        // appearance follows the store.
        device->store().set_boolean(keys::hasHMirrorOn, !c.flag);
        settings.viewDidAppear(true);
        EXPECT_EQ(settings.horimirrorSwitch->is_on(), !c.flag);
        EXPECT_EQ(heard->names.size(), 2u);
    }
}

TEST_F(Settings, ClosingUntouchedStoresTheSameValuesAndTellsThePrompterOnce)
{
    launch({ other, styled }, 1);
    auto before = device->store().snapshot();
    auto& settings = open_settings();
    int from_screen = 0;
    auto token = device->context().notifications.observe(notifications::TestNotification, static_cast<Screen*>(&settings), [&] { ++from_screen; });
    heard->names.clear();

    ASSERT_TRUE(device->tap("closeButton"));

    auto after = device->store().snapshot();
    EXPECT_EQ(after.at(keys::isHorizontalMirrorModeArray), Value(List { false, false })) << "the one list a close adds";
    after.erase(keys::isHorizontalMirrorModeArray);
    EXPECT_EQ(after, before);
    EXPECT_EQ(heard->names, std::vector<std::string> { notifications::TestNotification });
    EXPECT_EQ(from_screen, 1);
    EXPECT_FALSE(logged("Modal Settings Dismissed")) << "only the pan's save says so";
    EXPECT_EQ(device->top(), device->app().navigation()->top());
}

TEST_F(Settings, TheSegmentDecidesTheStoredScrollDirection)
{
    struct Case {
        bool stored;
        int segment;
        bool expected;
    };
    Case const cases[] = { { true, 1, false }, { false, 0, true }, { true, 0, true }, { false, 1, false } };
    for (auto const& c : cases) {
        SCOPED_TRACE(::testing::Message() << "segment " << c.segment);
        launch({ other, ScriptSeed { .scroll_normal = c.stored } }, 1);
        auto& settings = open_settings();
        settings.scrollDirectionButton->user_select_segment(c.segment);
        EXPECT_EQ(stored_at(keys::isScrollNormalArray, 1), Value(c.stored)) << "waits for a save";
        device->tap("closeButton");
        EXPECT_EQ(stored(keys::isScrollNormalArray), (List { true, c.expected }));
    }
}

TEST_F(Settings, TheTextSizeIsStoredAtOnceButThePrompterHearsOnlyAtASave)
{
    launch({ other, styled }, 1);
    auto& settings = open_settings();
    heard->names.clear();

    settings.textStepper->user_increment();
    EXPECT_EQ(settings.label->text, "41");
    EXPECT_EQ(stored(keys::textSizeArray), (List { 30.0, 41.0 }));
    EXPECT_EQ(settings.textSize, 41);
    EXPECT_TRUE(logged("Pressed Value Changed"));

    swipe_away(settings);
    EXPECT_EQ(stored(keys::textSizeArray), (List { 30.0, 41.0 }));
    EXPECT_TRUE(heard->names.empty());
}

TEST_F(Settings, TheTextSizeStaysBetweenTenAndAHundred)
{
    struct Case {
        double stored;
        double typed;
        double expected;
    };
    Case const cases[] = { { 56, 150, 100 }, { 56, 3, 10 }, { 12, 10.5, 10.5 }, { 99.5, 100, 100 } };
    for (auto const& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.typed);
        launch({ ScriptSeed { .text_size = c.stored } });
        auto& settings = open_settings();
        settings.textStepper->user_set_value(c.typed);
        EXPECT_EQ(stored_at(keys::textSizeArray, 0), Value(c.expected));
        EXPECT_EQ(settings.label->text, format_double("%.0f", c.expected));
    }
}

TEST_F(Settings, TheVerticalMirrorIsStoredAtOnceAndTheScrollDirectionOnlyBySaving)
{
    launch({ other, ScriptSeed {} }, 1);
    auto& settings = open_settings();
    heard->names.clear();

    settings.mirrorSwitch->user_toggle();
    settings.scrollDirectionButton->user_select_segment(1);
    EXPECT_EQ(stored(keys::isMirrorModeArray), (List { false, true }));
    EXPECT_TRUE(logged("Pressed Toggle Mirror"));
    EXPECT_TRUE(logged("Mirror is turned on"));
    settings.mirrorSwitch->user_toggle();
    EXPECT_TRUE(logged("Mirror is turned off"));
    settings.mirrorSwitch->user_toggle();

    swipe_away(settings);
    EXPECT_EQ(stored(keys::isMirrorModeArray), (List { false, true }));
    EXPECT_EQ(stored(keys::isScrollNormalArray), (List { true, true })) << "a swipe saves nothing more";
    EXPECT_TRUE(heard->names.empty());
}

TEST_F(Settings, TheHorizontalMirrorIsOneFlagForEveryScript)
{
    launch({ other, styled }, 0);
    auto& first = open_settings();
    heard->names.clear();
    bool stored_when_heard = true;
    auto token = device->context().notifications.observe(notifications::HMirrorTurnedOnNotification, nullptr, [&] {
        stored_when_heard = device->store().boolean(keys::hasHMirrorOn);
    });

    first.horimirrorSwitch->user_toggle();
    EXPECT_EQ(heard->names, std::vector<std::string> { notifications::HMirrorTurnedOnNotification });
    EXPECT_FALSE(stored_when_heard) << "the prompter hears before the flag is stored";
    EXPECT_TRUE(device->store().boolean(keys::hasHMirrorOn));
    EXPECT_TRUE(logged("Mirror is turned on"));
    EXPECT_FALSE(device->store().object(keys::isHorizontalMirrorModeArray)) << "the switch alone never writes the list";
    swipe_away(first);

    device->store().set_integer(keys::currentlyEditingIndex, 1);
    heard->names.clear();
    auto& second = open_settings();
    EXPECT_TRUE(second.horimirrorSwitch->is_on());
    EXPECT_EQ(heard->names, std::vector<std::string> { notifications::HMirrorTurnedOnNotification });

    second.horimirrorSwitch->user_toggle();
    EXPECT_EQ(heard->names.back(), notifications::HMirrorTurnedOffNotification);
    EXPECT_FALSE(device->store().boolean(keys::hasHMirrorOn));
}

TEST_F(Settings, OnlyAPanThatEndsSavesAndCloses)
{
    struct Case {
        GestureState state;
        bool closes;
    };
    Case const cases[] = {
        { GestureState::Began, false },
        { GestureState::Changed, false },
        { GestureState::Cancelled, false },
        { GestureState::Failed, false },
        { GestureState::Ended, true },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.state));
        launch({ other, ScriptSeed {} }, 1);
        auto& settings = open_settings();
        heard->names.clear();
        settings.scrollDirectionButton->user_select_segment(1);

        settings.view().gesture_recognizers()[0]->update(c.state, { 200, 300 });
        device->settle();

        EXPECT_EQ(is_shown(settings), !c.closes);
        EXPECT_EQ(stored(keys::isScrollNormalArray), (List { true, !c.closes }));
        EXPECT_EQ(heard->count(notifications::TestNotification), c.closes ? 1 : 0);
        EXPECT_EQ(logged("Modal Settings Dismissed"), c.closes);
        EXPECT_FALSE(device->store().object(keys::isHorizontalMirrorModeArray)) << "a pan's save leaves the list alone";
    }
}

TEST_F(Settings, SavingStoresEverythingBeforeThePrompterHears)
{
    launch({ other, ScriptSeed {} }, 1);
    auto& settings = open_settings();
    permissions().grant_all();
    settings.textStepper->user_decrement();
    settings.scrollDirectionButton->user_select_segment(1);
    settings.mirrorSwitch->user_toggle();
    settings.magicSwitch->user_toggle();
    settings.videoSwitch->user_toggle();
    settings.horimirrorSwitch->user_toggle();

    std::map<std::string, Value> seen;
    auto token = device->context().notifications.observe(notifications::TestNotification, nullptr, [&] { seen = device->store().snapshot(); });
    device->tap("closeButton");

    auto expect = [&](char const* key, List value) { EXPECT_EQ(seen[key], Value(value)) << key; };
    expect(keys::textSizeArray, { 30.0, 55.0 });
    expect(keys::isScrollNormalArray, { true, false });
    expect(keys::isMirrorModeArray, { false, true });
    expect(keys::isHorizontalMirrorModeArray, { false, true });
    expect(keys::isMagicScrollingArray, { false, true });
    expect(keys::isRecordingVideoArray, { false, true });
}

// The list nothing reads: a close writes the script's element without
// moving or changing anyone else's, whatever shape the list has.
TEST_F(Settings, ClosingWritesTheHorizontalMirrorListWhateverItsShape)
{
    struct Case {
        char const* label;
        std::optional<List> stored;
        std::int64_t index;
        List expected;
    };
    Case const cases[] = {
        { "absent", std::nullopt, 2, { false, false, true } },
        { "empty", List {}, 0, { true } },
        { "shorter than the script index", List { true }, 2, { true, false, true } },
        { "long enough", List { false, false, false }, 1, { false, true, false } },
        { "longer than the library", List { true, true, true, true }, 2, { true, true, true, true } },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        std::map<std::string, Value> extra { { keys::hasHMirrorOn, true } };
        if (c.stored)
            extra[keys::isHorizontalMirrorModeArray] = *c.stored;
        launch({ ScriptSeed { .title = "A" }, ScriptSeed { .title = "B" }, ScriptSeed { .title = "C" } }, c.index, extra);
        open_settings();
        device->tap("closeButton");
        EXPECT_EQ(stored(keys::isHorizontalMirrorModeArray), c.expected);
    }
}

// A store whose lists do not hold one element per script (written by an
// older layout, or damaged) must not bring the screen down.
TEST_F(Settings, AScriptIndexOutsideTheListsIsHandledWithoutDamage)
{
    struct Case {
        char const* label;
        std::int64_t index;
        bool stores;
    };
    Case const cases[] = {
        { "negative", -1, false },
        { "past every list and title", 7, false },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        launch({ other, styled }, c.index);
        auto before = device->store().snapshot();
        auto& settings = open_settings();
        EXPECT_EQ(settings.textStepper->value(), 56) << "shows a new script's values";
        EXPECT_EQ(settings.scrollDirectionButton->selected_segment(), 0);
        settings.textStepper->user_increment();
        device->tap("closeButton");
        auto after = device->store().snapshot();
        EXPECT_EQ(after, before);
        EXPECT_TRUE(logged(format("No script at index %ld: %@ left unchanged", { c.index, std::string("textSizeArray") })));
    }

    // A settings list that ends before a script that exists is filled with
    // a new script's values up to it.
    launch({ other, styled }, 1, { { keys::textSizeArray, List { 30.0 } }, { keys::isMirrorModeArray, List {} } });
    auto& settings = open_settings();
    EXPECT_EQ(settings.textStepper->value(), 56);
    settings.textStepper->user_increment();
    settings.mirrorSwitch->user_toggle();
    EXPECT_EQ(stored(keys::textSizeArray), (List { 30.0, 57.0 }));
    EXPECT_EQ(stored(keys::isMirrorModeArray), (List { false, true }));
}

TEST_F(Settings, LinksOpenTheirPages)
{
    struct Case {
        char const* button;
        std::string url;
        char const* line;
    };
    std::string site = product::site_url;
    Case const cases[] = {
        { "permissionsButton", UrlOpener::application_settings_url, nullptr },
        { "privacyButton", site + "privacy.html", "privacy" },
        { "termsButton", site + "terms.html", "terms" },
    };
    launch();
    open_settings();
    auto& opened = device->platform().urls->opened();
    for (auto const& c : cases) {
        SCOPED_TRACE(c.button);
        ASSERT_TRUE(device->tap(c.button));
        ASSERT_FALSE(opened.empty());
        EXPECT_EQ(opened.back(), c.url);
        if (c.line) {
            EXPECT_TRUE(logged(c.line));
        }
    }
    EXPECT_EQ(opened.size(), 3u);
    EXPECT_EQ(site, "https://cuewright.app/");
}

TEST_F(Settings, TheReviewRequestGoesToThePlatform)
{
    launch();
    open_settings();
    device->tap("reviewButton");
    EXPECT_EQ(device->platform().review_prompt->requests(), 1);
    EXPECT_TRUE(logged("Review Requested"));
}

TEST_F(Settings, SupportMailIsComposedAndClosesWhenSentOrCancelled)
{
    for (bool send : { true, false }) {
        SCOPED_TRACE(send ? "sent" : "cancelled");
        launch();
        auto& settings = open_settings();
        device->tap("supportButton");
        auto* composer = device->top_as<MailComposeScreen>();
        ASSERT_NE(composer, nullptr);
        EXPECT_EQ(composer->message(), (MailMessage { "Cuewright Support", "I need help with Cuewright", false, { "support@cuewright.app" } }));
        EXPECT_EQ(composer->mailComposeDelegate(), static_cast<MailComposeDelegate*>(&settings));
        EXPECT_TRUE(settings.last_presentation_animated());

        device->tap(send ? "sendButton" : "cancelButton");
        EXPECT_TRUE(is_shown(settings));
        EXPECT_EQ(device->platform().mail->sent().size(), send ? 1u : 0u);
    }
}

TEST_F(Settings, WithoutMailTheSupportAddressIsShownInstead)
{
    launch();
    auto& settings = open_settings();
    device->platform().mail->set_can_send(false);
    device->tap("supportButton");
    auto* alert = device->alert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->alert_title(), "Cannot Send Mail");
    EXPECT_EQ(alert->message(), "Mail is not set up on this device. You can write to us at support@cuewright.app.");
    EXPECT_TRUE(device->choose("Ok"));
    EXPECT_TRUE(is_shown(settings));
}

TEST_F(Settings, MoreSettingsOpensAnotherSettingsScreen)
{
    launch();
    auto& settings = open_settings();
    device->tap("newSettingsButton");
    auto* another = device->top_as<SettingsTableViewController>();
    ASSERT_NE(another, nullptr);
    EXPECT_NE(another, &settings);
    EXPECT_EQ(another->storyboard_identifier, "NEWSET");
    EXPECT_EQ(settings.presented(), another);
}

TEST_F(Settings, TheVideoNoticeStaysHidden)
{
    launch();
    auto& settings = open_settings();
    settings.videoMessageView->hidden = false;
    device->tap("hideVideoMessageButton");
    EXPECT_TRUE(settings.videoMessageView->hidden);
}

}
}
