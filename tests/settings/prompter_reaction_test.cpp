// The settings screens as the presenter meets them: opened from the
// prompter, whose presentation follows what they save and announce.

#include "settings_fixture.h"

#include "platform/ui/color_picker_screen.h"
#include "prompter/scriptViewController.h"
#include "sim/prompter_driving.h"

namespace cw::testing {
namespace {

class FromThePrompter : public SettingsTest {
protected:
    scriptViewController& open_prompter(std::vector<ScriptSeed> scripts, std::int64_t index, std::map<std::string, Value> extra = {})
    {
        launch(std::move(scripts), 0, std::move(extra));
        std::string error;
        auto* prompter = open_script(*device, index, error);
        if (!prompter)
            throw std::runtime_error(error);
        return *prompter;
    }
};

AffineTransform const vertical_mirror = AffineTransform::scale(1, -1);
AffineTransform const horizontal_mirror = AffineTransform::scale(-1, 1);

TEST_F(FromThePrompter, ASaveReloadsThePrompterAndTheMirrorFollowsTheSwitch)
{
    auto& prompter = open_prompter({ ScriptSeed {}, ScriptSeed { .title = "Two" } }, 1);
    EXPECT_TRUE(prompter.ScriptTextView->transform.is_identity());

    ASSERT_TRUE(device->tap("settingsButton"));
    auto* settings = device->top_as<SettingsTableViewController>();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->scriptIndex, 1);
    EXPECT_FALSE(prompter.isReversed) << "the appearance said the mirror is off";

    settings->horimirrorSwitch->user_toggle();
    device->settle();
    EXPECT_TRUE(prompter.isReversed);
    EXPECT_EQ(prompter.ScriptTextView->transform, horizontal_mirror);

    Color const green { 0, 0.5, 0, 1 };
    device->tap("colorButton");
    device->top_as<ColorPickerScreen>()->user_select_color(green);
    device->tap("closeButton");
    settings->textStepper->user_set_value(30);
    EXPECT_EQ(prompter.ScriptTextView->font_size(), 56) << "told only at a save";

    device->tap("closeButton");
    EXPECT_EQ(device->top(), &prompter);
    EXPECT_EQ(prompter.ScriptTextView->background, green);
    EXPECT_EQ(prompter.ScriptTextView->font_size(), 30);
    EXPECT_EQ(prompter.ScriptTextView->transform, horizontal_mirror) << "a save keeps the left-right flip";
    EXPECT_TRUE(logged("Notification Received"));
}

TEST_F(FromThePrompter, APanThatEndsSavesTheVerticalMirrorOverTheHorizontalOne)
{
    auto& prompter = open_prompter({ ScriptSeed {} }, 0, { { keys::hasHMirrorOn, true } });
    device->tap("settingsButton");
    EXPECT_EQ(prompter.ScriptTextView->transform, horizontal_mirror) << "the appearance repeated the flag";

    auto* settings = device->top_as<SettingsTableViewController>();
    ASSERT_NE(settings, nullptr);
    settings->mirrorSwitch->user_toggle();
    settings->view().gesture_recognizers()[0]->update(GestureState::Ended, { 100, 100 });
    device->settle();

    EXPECT_EQ(device->top(), &prompter);
    EXPECT_EQ(prompter.ScriptTextView->transform, vertical_mirror);
    EXPECT_TRUE(prompter.isReversed);
}

TEST_F(FromThePrompter, TheOlderScreenLeavesTheMirrorAsItWas)
{
    auto& prompter = open_prompter({ ScriptSeed {} }, 0, { { keys::hasHMirrorOn, true } });
    ASSERT_TRUE(device->tap("videoSettingsButton"));
    auto* legacy = device->top_as<settingsViewController>();
    ASSERT_NE(legacy, nullptr);
    EXPECT_FALSE(prompter.isReversed);
    EXPECT_TRUE(prompter.ScriptTextView->transform.is_identity());

    legacy->scrollDirectionButton->user_select_segment(1);
    device->tap("closeButton");
    EXPECT_FALSE(prompter.engine().ScrollDirectionIsUp);
    EXPECT_FALSE(prompter.isReversed);
}

}
}
