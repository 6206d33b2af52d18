// The older settings screen: where it differs from the settings screen.

#include "settings_fixture.h"

#include "settings/ColorPickerController.h"
#include "settings/color_sliders.h"

namespace cw::testing {
namespace {

using LegacySettings = SettingsTest;

ScriptSeed const other { .title = "Other", .text_size = 30 };
ScriptSeed const styled { .title = "Styled", .text_size = 40, .scroll_normal = false, .background = { 1, 0.5, 0, 0.75 }, .mirror = true };

TEST_F(LegacySettings, OpeningNeverTouchesTheHorizontalMirror)
{
    launch({ other, styled }, 1, { { keys::hasHMirrorOn, true } });
    auto& legacy = open_legacy();
    legacy.viewDidAppear(true);
    EXPECT_TRUE(heard->names.empty());
    EXPECT_EQ(legacy.view().find("horimirrorSwitch"), nullptr);
    EXPECT_TRUE(legacy.view().gesture_recognizers().empty()) << "no pan to close";

    EXPECT_EQ(legacy.textStepper->value(), 40);
    EXPECT_EQ(legacy.label->text, "40");
    EXPECT_EQ(legacy.scrollDirectionButton->selected_segment(), 1);
    EXPECT_EQ(legacy.bgColorImg->background, styled.background);
    EXPECT_EQ(legacy.bgColorImg->border_width, 3);
    EXPECT_TRUE(legacy.mirrorSwitch->is_on());
    EXPECT_TRUE(legacy.videoMessageView->hidden);

    device->tap("closeButton");
    EXPECT_EQ(heard->names, std::vector<std::string> { notifications::TestNotification });
    EXPECT_FALSE(device->store().object(keys::isHorizontalMirrorModeArray));
    EXPECT_TRUE(device->store().boolean(keys::hasHMirrorOn));
}

TEST_F(LegacySettings, TheTextSizeIsStoredOnlyByClosing)
{
    for (bool close : { true, false }) {
        SCOPED_TRACE(close ? "closed" : "swiped away");
        launch({ other, styled }, 1);
        auto& legacy = open_legacy();
        legacy.textStepper->user_increment();
        legacy.scrollDirectionButton->user_select_segment(0);
        EXPECT_EQ(legacy.label->text, "41");
        EXPECT_EQ(stored(keys::textSizeArray), (List { 30.0, 40.0 }));
        EXPECT_FALSE(logged("Pressed Value Changed"));

        if (close)
            device->tap("closeButton");
        else
            swipe_away(legacy);
        EXPECT_EQ(stored(keys::textSizeArray), (List { 30.0, close ? 41.0 : 40.0 }));
        EXPECT_EQ(stored(keys::isScrollNormalArray), (List { true, close }));
        EXPECT_EQ(heard->count(notifications::TestNotification), close ? 1 : 0);
        EXPECT_EQ(device->top(), device->app().home());
    }
}

TEST_F(LegacySettings, TheVerticalMirrorIsStoredAtOnceWithoutComment)
{
    launch({ other, styled }, 1);
    auto& legacy = open_legacy();
    legacy.mirrorSwitch->user_toggle();
    EXPECT_EQ(stored(keys::isMirrorModeArray), (List { false, false }));
    EXPECT_FALSE(logged("Pressed Toggle Mirror"));
    EXPECT_FALSE(logged("Mirror is turned off"));
}

TEST_F(LegacySettings, ColoursComeFromThePickerBuiltIn)
{
    launch({ other, styled }, 1);
    auto& legacy = open_legacy();

    device->tap("textcolorButton");
    auto* picker = device->top_as<ColorPickerController>();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->modal_presentation_style, ModalPresentationStyle::OverCurrentContext);
    EXPECT_EQ(picker->delegate, static_cast<ColorPickerDelegate*>(&legacy));
    EXPECT_TRUE(legacy.last_presentation_animated());
    EXPECT_FALSE(legacy.isSelectingBGColor);
    device->tap("cancelButton");
    EXPECT_TRUE(is_shown(legacy));
    EXPECT_FALSE(legacy.textcolorToSave);
    EXPECT_EQ(legacy.textbgColorImg->background, Color::white());

    device->tap("colorButton");
    picker = device->top_as<ColorPickerController>();
    ASSERT_NE(picker, nullptr);
    picker->sliderColor->user_set_value(0.5f);
    device->tap("okButton");
    EXPECT_TRUE(is_shown(legacy));
    EXPECT_EQ(legacy.bgColorImg->background, legacy.colorToSave);
    ASSERT_TRUE(legacy.colorToSave);
    EXPECT_NEAR(legacy.colorToSave->green, 1, 1e-6);
    for (auto const& line : device->log().lines())
        EXPECT_EQ(line.find("Selected"), std::string::npos) << "the older screen does not log the choice: " << line;

    device->tap("closeButton");
    EXPECT_EQ(stored_at(keys::colorDataArray, 1), Value(archive_color(*legacy.colorToSave)));
}

TEST_F(LegacySettings, TheHueSliderTintsTheButtonBesideIt)
{
    launch();
    auto& legacy = open_legacy();
    auto* hue = legacy.view().find_as<ColorSlider>("hueSlider");
    ASSERT_NE(hue, nullptr);
    hue->user_set_value(2.0f / 3);
    ASSERT_TRUE(legacy.btn->background);
    EXPECT_EQ(*legacy.btn->background, hue->color());
    EXPECT_NEAR(legacy.btn->background->blue, 1, 1e-6);
}

TEST_F(LegacySettings, ARefusalTurnsMagicScrollingOff)
{
    launch();
    auto& legacy = open_legacy();
    permissions().set_record_permission(RecordPermission::Denied);
    legacy.magicSwitch->user_toggle();
    EXPECT_FALSE(legacy.magicSwitch->is_on());
    EXPECT_EQ(stored(keys::isMagicScrollingArray), (List { false }));
    ASSERT_NE(device->alert(), nullptr);
    EXPECT_EQ(device->alert()->alert_title(), "Please Check Permissions");
}

TEST_F(LegacySettings, MoreSettingsOpensTheSettingsScreenOverIt)
{
    launch({ ScriptSeed {} }, 0, { { keys::hasHMirrorOn, true } });
    auto& legacy = open_legacy();
    device->tap("newSettingsButton");
    EXPECT_NE(device->top_as<SettingsTableViewController>(), nullptr);
    EXPECT_EQ(legacy.presented(), device->top());
    EXPECT_EQ(heard->names, std::vector<std::string> { notifications::HMirrorTurnedOnNotification });
}

}
}
