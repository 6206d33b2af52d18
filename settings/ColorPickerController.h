#pragma once

// The colour picker built into Cuewright: a hue slider, an alpha slider and
// a row of preset buttons, with OK and Cancel. It never dismisses itself;
// its delegate (the settings screen that opened it) hears the outcome and
// dismisses it.
//
// The presets are re-tinted whenever the picker is shown or a slider moves:
// preset i gets the current hue with saturation i + 0.1 (so every preset
// after the first is fully saturated), full brightness, and alpha
// 1 - t, where t is the alpha slider's value. Tapping a preset picks
// exactly its colour. OK picks the hue slider's colour, whose alpha is the
// one copied from the alpha slider when the picker was shown.
//
// The layout lives in its own resource, "ColorPickerController", not in the
// "Main" layout, so the picker is built by its constructor rather than
// looked up by a storyboard identifier.

#include "platform/ui/controls.h"
#include "platform/ui/screen.h"

#include <vector>

namespace cw {

class AlphaSlider;
class ColorPickerController;
class ColorSlider;

class ColorPickerDelegate {
public:
    virtual ~ColorPickerDelegate() = default;
    virtual void colorPickerControllerDidPickColor(ColorPickerController&, Color) = 0;
    virtual void colorPickerControllerDidCancel(ColorPickerController&) = 0;
};

class ColorPickerController final : public Screen {
public:
    static constexpr char layout_name[] = "ColorPickerController";
    static constexpr int preset_count = 5;

    explicit ColorPickerController(AppContext&);

    ColorSlider* sliderColor { nullptr };
    AlphaSlider* alphaSlider { nullptr };
    std::vector<Button*> buttons;
    ColorPickerDelegate* delegate { nullptr };

    char const* class_name() const override { return "ColorPickerController"; }
    void loadView() override;
    void viewWillAppear(bool animated) override;

    void sliderColorChanged();
    void sliderAlphaChanged(AlphaSlider& sender);
    void buttonClicked(Button& sender);
    void btnOkClicked();
    void btnCancelClicked();

private:
    void tintPresets(double hue, double transparency);
};

}
