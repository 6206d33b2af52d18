// Choosing colours: the platform picker on the settings screen, the picker
// built into Cuewright, its sliders' drawing and the colour arithmetic.

#include "settings_fixture.h"

#include "platform/ui/color_picker_screen.h"
#include "settings/ColorPickerController.h"
#include "settings/color_math.h"
#include "settings/color_sliders.h"

#include <cmath>

namespace cw::testing {
namespace {

using Colours = SettingsTest;

Color const orange { 1, 0.5, 0, 1 };
Color const see_through_blue { 0, 0, 1, 0.25 };

TEST_F(Colours, ThePlatformPickerStartsFromTheSwatchAndItsColourWaitsForASave)
{
    launch({ ScriptSeed { .background = { 0.2, 0.4, 0.6, 1 } } });
    auto& settings = open_settings();
    heard->names.clear();

    device->tap("colorButton");
    auto* picker = device->top_as<ColorPickerScreen>();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->selected_color, (Color { 0.2, 0.4, 0.6, 1 }));
    EXPECT_EQ(picker->modal_presentation_style, ModalPresentationStyle::FullScreen);
    EXPECT_EQ(picker->delegate, static_cast<ColorPickerScreenDelegate*>(&settings));
    EXPECT_TRUE(settings.last_presentation_animated());
    EXPECT_TRUE(settings.isSelectingBGColor);
    EXPECT_TRUE(logged("Selecting BG color"));

    picker->user_select_color(Color::yellow());
    EXPECT_FALSE(settings.colorToSave) << "intermediate choices are not followed";
    picker->user_select_color(orange);
    device->tap("closeButton");

    EXPECT_TRUE(is_shown(settings));
    EXPECT_EQ(settings.bgColorImg->background, orange);
    EXPECT_EQ(settings.colorToSave, orange);
    EXPECT_FALSE(settings.textcolorToSave);
    EXPECT_TRUE(logged("Selected BG color 1 0.5 0 1"));
    EXPECT_EQ(heard->names, std::vector<std::string> { notifications::HMirrorTurnedOffNotification }) << "coming back is a new appearance";
    EXPECT_EQ(stored_at(keys::colorDataArray, 0), Value(archive_color({ 0.2, 0.4, 0.6, 1 })));

    device->tap("closeButton");
    EXPECT_EQ(stored_at(keys::colorDataArray, 0), Value(archive_color(orange)));
    EXPECT_EQ(stored_at(keys::textColorDataArray, 0), Value(archive_color(Color::white())));
}

TEST_F(Colours, ClosingThePickerUnmovedStillChoosesTheColourItStartedWith)
{
    launch({ ScriptSeed { .text_color = see_through_blue } });
    auto& settings = open_settings();
    device->tap("textcolorButton");
    EXPECT_FALSE(settings.isSelectingBGColor);
    EXPECT_TRUE(logged("Selecting Text color"));
    device->tap("closeButton");
    EXPECT_EQ(settings.textcolorToSave, see_through_blue);
    EXPECT_TRUE(logged("Selected Text color 0 0 1 0.25"));
    device->tap("closeButton");
    EXPECT_EQ(stored_at(keys::textColorDataArray, 0), Value(archive_color(see_through_blue)));
}

TEST_F(Colours, BothColoursOfOneVisitAreStoredByOneSave)
{
    launch({ ScriptSeed {}, ScriptSeed { .title = "Two" } }, 1);
    auto& settings = open_settings();
    for (auto [button, colour] : { std::pair { "colorButton", orange }, std::pair { "textcolorButton", see_through_blue } }) {
        device->tap(button);
        device->top_as<ColorPickerScreen>()->user_select_color(colour);
        device->tap("closeButton");
    }
    settings.view().gesture_recognizers()[0]->update(GestureState::Ended, {});
    device->settle();
    EXPECT_EQ(stored(keys::colorDataArray), (List { archive_color(Color::black()), archive_color(orange) }));
    EXPECT_EQ(stored(keys::textColorDataArray), (List { archive_color(Color::white()), archive_color(see_through_blue) }));
}

TEST_F(Colours, AColourChosenAndThenSwipedAwayIsLost)
{
    launch();
    auto& settings = open_settings();
    device->tap("colorButton");
    device->top_as<ColorPickerScreen>()->user_select_color(orange);
    device->tap("closeButton");
    swipe_away(settings);
    EXPECT_EQ(stored_at(keys::colorDataArray, 0), Value(archive_color(Color::black())));
}

// The picker built into Cuewright, opened on its own with a test as its
// delegate.
class CustomPicker : public SettingsTest
    , public ColorPickerDelegate {
protected:
    void SetUp() override
    {
        launch();
        auto screen = std::make_unique<ColorPickerController>(device->context());
        picker = screen.get();
        picker->delegate = this;
        device->top()->present(std::move(screen), true);
    }

    void colorPickerControllerDidPickColor(ColorPickerController&, Color colour) override { picked.push_back(colour); }
    void colorPickerControllerDidCancel(ColorPickerController&) override { ++cancelled; }

    std::vector<Color> preset_colours() const
    {
        std::vector<Color> colours;
        for (auto* button : picker->buttons)
            colours.push_back(button->background.value_or(Color {}));
        return colours;
    }

    ColorPickerController* picker { nullptr };
    std::vector<Color> picked;
    int cancelled { 0 };
};

void expect_near(Color actual, Color expected)
{
    EXPECT_NEAR(actual.red, expected.red, 1e-6);
    EXPECT_NEAR(actual.green, expected.green, 1e-6);
    EXPECT_NEAR(actual.blue, expected.blue, 1e-6);
    EXPECT_NEAR(actual.alpha, expected.alpha, 1e-6);
}

TEST_F(CustomPicker, ShowingTintsThePresetsOpaqueInTheHueSliderHue)
{
    ASSERT_GE(picker->buttons.size(), 2u);
    EXPECT_EQ(picker->sliderColor->superview()->corner_radius, 15);
    EXPECT_EQ(picker->alphaSlider->value(), 0);
    auto colours = preset_colours();
    expect_near(colours[0], { 1, 0.9, 0.9, 1 });
    for (size_t i = 1; i < colours.size(); ++i)
        expect_near(colours[i], { 1, 0, 0, 1 });
    for (auto* button : picker->buttons)
        EXPECT_EQ(button->corner_radius, button->frame.size.height / 2);
}

TEST_F(CustomPicker, ShowingCopiesEachSliderIntoTheOtherThenClearsTheAlphaSlider)
{
    picker->dismiss(false);
    picker = nullptr;
    auto screen = std::make_unique<ColorPickerController>(device->context());
    auto& reopened = *screen;
    reopened.view();
    reopened.sliderColor->set_value(0.5f);
    reopened.alphaSlider->set_value(0.25f);
    device->top()->present(std::move(screen), true);

    EXPECT_EQ(reopened.sliderColor->alphaValue, 0.25);
    EXPECT_EQ(reopened.alphaSlider->colorValue, 0.5);
    EXPECT_EQ(reopened.alphaSlider->value(), 0);
    expect_near(reopened.sliderColor->color(), { 0, 1, 1, 0.75 });
}

TEST_F(CustomPicker, TheSlidersRetintThePresets)
{
    picker->sliderColor->user_set_value(1.0f / 3);
    auto colours = preset_colours();
    expect_near(colours[1], { 0, 1, 0, 1 });
    EXPECT_NEAR(picker->alphaSlider->colorValue, 1.0 / 3, 1e-7);
    int draws = picker->alphaSlider->draw_count();

    picker->alphaSlider->user_set_value(0.75f);
    colours = preset_colours();
    expect_near(colours[0], { 0.9, 1, 0.9, 0.25 });
    expect_near(colours[1], { 0, 1, 0, 0.25 });
    EXPECT_EQ(picker->sliderColor->alphaValue, 0) << "the hue slider keeps the alpha it was shown with";
    EXPECT_EQ(picker->alphaSlider->draw_count(), draws);

    picker->sliderColor->user_set_value(2.0f / 3);
    // The new hue keeps the alpha slider's transparency.
    expect_near(preset_colours()[1], { 0, 0, 1, 0.25 });
    EXPECT_EQ(picker->alphaSlider->draw_count(), draws + 1);
}

TEST_F(CustomPicker, OutcomesGoToTheDelegateAndThePickerStaysUntilDismissed)
{
    picker->sliderColor->user_set_value(0.5f);
    picker->alphaSlider->user_set_value(0.5f);
    device->tap("preset2");
    ASSERT_EQ(picked.size(), 1u);
    EXPECT_EQ(picked[0], *picker->buttons[2]->background) << "exactly the button's colour, alpha included";
    EXPECT_EQ(picked[0].alpha, 0.5);

    device->tap("okButton");
    ASSERT_EQ(picked.size(), 2u);
    expect_near(picked[1], { 0, 1, 1, 1 });

    device->tap("cancelButton");
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(device->top(), picker);

    picker->delegate = nullptr;
    device->tap("okButton");
    device->tap("preset0");
    device->tap("cancelButton");
    EXPECT_EQ(picked.size(), 2u);
    EXPECT_EQ(cancelled, 1);
}

TEST(ColorSliders, DrawABandOneColumnPerPoint)
{
    ColorSlider hue({ { 0, 0 }, { 4, 30 } });
    hue.alphaValue = 0.25;
    hue.set_needs_display();
    auto const& band = hue.drawing();
    ASSERT_EQ(band.size(), 4u);
    for (size_t x = 0; x < band.size(); ++x) {
        EXPECT_EQ(band[x].rect, (Rect { { double(x), 13 }, { 1, 4 } }));
        expect_near(band[x].color, color_from_hsba(x / 4.0, 1, 1, 0.75));
    }
    EXPECT_EQ(hue.minimum_track_image, image_from_color(Color::clear()));
    EXPECT_EQ(hue.maximum_track_image, image_from_color(Color::clear()));

    AlphaSlider alpha({ { 0, 0 }, { 2.5, 10 } });
    alpha.colorValue = 2.0 / 3;
    alpha.set_needs_display();
    ASSERT_EQ(alpha.drawing().size(), 3u) << "a part column counts";
    expect_near(alpha.drawing()[0].color, { 0, 0, 1, 1 });
    expect_near(alpha.drawing()[2].color, { 0, 0, 1, 1 - 2 / 2.5 });
    EXPECT_EQ(alpha.drawing()[2].rect.origin.y, 3);

    AlphaSlider empty;
    empty.set_needs_display();
    EXPECT_TRUE(empty.drawing().empty());
    EXPECT_EQ(empty.maximum_track_image, image_from_color(Color::clear())) << "the toolkit's track is hidden even so";
    EXPECT_EQ(ColorSlider::imageFromColor(orange), (Image { { 1, 1 }, orange, {} }));
}

TEST(ColorMath, HueSaturationBrightnessToRgb)
{
    struct Case {
        double h, s, b, a;
        Color expected;
    };
    Case const cases[] = {
        { 0, 1, 1, 1, { 1, 0, 0, 1 } },
        { 1.0 / 6, 1, 1, 1, { 1, 1, 0, 1 } },
        { 1.0 / 3, 1, 1, 1, { 0, 1, 0, 1 } },
        { 0.5, 1, 1, 1, { 0, 1, 1, 1 } },
        { 2.0 / 3, 1, 1, 1, { 0, 0, 1, 1 } },
        { 5.0 / 6, 1, 1, 1, { 1, 0, 1, 1 } },
        { 1, 1, 1, 1, { 1, 0, 0, 1 } },
        { 1.0 / 12, 1, 1, 1, { 1, 0.5, 0, 1 } },
        { 0.3, 0, 0.5, 1, { 0.5, 0.5, 0.5, 1 } },
        { 0, 0.1, 1, 1, { 1, 0.9, 0.9, 1 } },
        { 0, 2.1, 1, 0.5, { 1, 0, 0, 0.5 } },
        { 0, 1, 1, -0.5, { 1, 0, 0, 0 } },
        { NAN, NAN, 1, 1, { 1, 1, 1, 1 } },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.h << " " << c.s << " " << c.b << " " << c.a);
        expect_near(color_from_hsba(c.h, c.s, c.b, c.a), c.expected);
    }
}

}
}
