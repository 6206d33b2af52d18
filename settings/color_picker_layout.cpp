// The "ColorPickerController" layout: a card at the bottom of the screen
// holding the hue slider in a rounded box, the alpha slider below it, the
// row of preset buttons, and Cancel and OK. The screen behind stays
// visible above the card, since the picker is shown over its presenter.

#include "ColorPickerController.h"

#include "platform/ui/app_context.h"
#include "settings/color_sliders.h"

namespace cw {

void ColorPickerController::loadView()
{
    auto bounds = context().window.bounds();
    auto root = std::make_unique<View>(bounds);
    root->background = Color::white_gray(0, 0.4);

    double card_height = 300;
    auto& card = root->add_subview(std::make_unique<View>(Rect { { 0, bounds.size.height - card_height }, { bounds.size.width, card_height } }));
    card.name = "pickerCard";
    card.background = Color::white();

    double inner = bounds.size.width - 40;
    auto& hue_box = card.add_subview(std::make_unique<View>(Rect { { 20, 20 }, { inner, 44 } }));
    hue_box.name = "hueSliderContainer";
    hue_box.background = Color::white_gray(0.95);
    auto& hue = hue_box.add_subview(std::make_unique<ColorSlider>(Rect { { 10, 0 }, { inner - 20, 44 } }));
    hue.name = "sliderColor";
    hue.on_value_changed = [this](Slider&) { sliderColorChanged(); };
    sliderColor = &hue;

    auto& alpha = card.add_subview(std::make_unique<AlphaSlider>(Rect { { 30, 80 }, { inner - 20, 44 } }));
    alpha.name = "alphaSlider";
    alpha.on_value_changed = [this](Slider& sender) { sliderAlphaChanged(static_cast<AlphaSlider&>(sender)); };
    alphaSlider = &alpha;

    double size = 44;
    double gap = (inner - preset_count * size) / (preset_count - 1);
    for (int i = 0; i < preset_count; ++i) {
        auto& preset = card.add_subview(std::make_unique<Button>(Rect { { 20 + i * (size + gap), 144 }, { size, size } }));
        preset.name = "preset" + std::to_string(i);
        preset.on_tap = [this, &preset] { buttonClicked(preset); };
        buttons.push_back(&preset);
    }

    auto& cancel = card.add_subview(std::make_unique<Button>(Rect { { 20, 220 }, { inner / 2 - 10, 44 } }));
    cancel.name = "cancelButton";
    cancel.title = "Cancel";
    cancel.on_tap = [this] { btnCancelClicked(); };
    auto& ok = card.add_subview(std::make_unique<Button>(Rect { { 30 + inner / 2, 220 }, { inner / 2 - 10, 44 } }));
    ok.name = "okButton";
    ok.title = "OK";
    ok.on_tap = [this] { btnOkClicked(); };

    // The first display of both sliders.
    hue.set_needs_display();
    alpha.set_needs_display();
    set_view(std::move(root));
}

}
