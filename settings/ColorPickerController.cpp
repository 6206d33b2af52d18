#include "ColorPickerController.h"

#include "settings/color_math.h"
#include "settings/color_sliders.h"

namespace cw {

ColorPickerController::ColorPickerController(AppContext& context)
    : Screen(context)
{
}

void ColorPickerController::viewWillAppear(bool)
{
    sliderColor->alphaValue = alphaSlider->value();
    alphaSlider->colorValue = sliderColor->value();
    double hue = sliderColor->value();
    if (auto* container = sliderColor->superview())
        container->corner_radius = 15;
    alphaSlider->set_value(0);
    tintPresets(hue, alphaSlider->value());
    for (auto* button : buttons)
        button->corner_radius = button->frame.size.height / 2;
}

void ColorPickerController::tintPresets(double hue, double transparency)
{
    for (size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->background = color_from_hsba(hue, static_cast<double>(i) + 0.1, 1, 1 - transparency);
}

void ColorPickerController::sliderColorChanged()
{
    tintPresets(sliderColor->value(), alphaSlider->value());
    alphaSlider->colorValue = sliderColor->value();
    alphaSlider->set_needs_display();
}

void ColorPickerController::sliderAlphaChanged(AlphaSlider& sender)
{
    tintPresets(sliderColor->value(), sender.value());
}

void ColorPickerController::buttonClicked(Button& sender)
{
    if (delegate)
        delegate->colorPickerControllerDidPickColor(*this, sender.background.value_or(Color::clear()));
}

void ColorPickerController::btnOkClicked()
{
    if (delegate)
        delegate->colorPickerControllerDidPickColor(*this, sliderColor->color());
}

void ColorPickerController::btnCancelClicked()
{
    if (delegate)
        delegate->colorPickerControllerDidCancel(*this);
}

}
