#pragma once

// The two sliders of the custom colour picker. Both draw their own track:
// a band 4 points high across the slider's width, centred vertically, one
// column per point, and hide the toolkit's track behind clear track images.
// Both take values from 0 to 1.
//
// `ColorSlider` chooses a hue. Its band runs round the whole hue circle,
// and its colour is that hue, fully saturated and bright, with the
// transparency `alphaValue` (alpha = 1 - alphaValue).
//
// `AlphaSlider` chooses a transparency: 0 is opaque, 1 is clear. Its band
// shows the hue `colorValue` fading from opaque at the left to clear at the
// right.

#include "platform/ui/custom_drawn_slider.h"

namespace cw {

class ColorSlider : public CustomDrawnSlider {
public:
    explicit ColorSlider(Rect frame = {});

    double alphaValue { 0 };
    Color color() const;

    static Image imageFromColor(Color color) { return image_from_color(color); }

    char const* type_name() const override { return "ColorSlider"; }

protected:
    void drawRect(Rect) override;
};

class AlphaSlider : public CustomDrawnSlider {
public:
    explicit AlphaSlider(Rect frame = {});

    double colorValue { 0 };

    static Image imageFromColor(Color color) { return image_from_color(color); }

    char const* type_name() const override { return "AlphaSlider"; }

protected:
    void drawRect(Rect) override;
};

}
