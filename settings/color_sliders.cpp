#include "color_sliders.h"

#include "settings/color_math.h"

#include <functional>

namespace cw {

// One 1-point column per point of width, 4 points high about the middle.
// The toolkit's own track is hidden again on every draw, so only the band
// shows whatever the track images were set to in between.
template<typename ColumnColor>
static void draw_band(CustomDrawnSlider& slider, Rect bounds, ColumnColor column_color, std::function<void(Rect, Color)> const& fill)
{
    double width = bounds.size.width;
    double height = bounds.size.height;
    if (width > 0) {
        for (double x = 0; x < width; x += 1)
            fill({ { x, height / 2 - 2 }, { 1, 4 } }, column_color(x / width));
    }
    slider.minimum_track_image = image_from_color(Color::clear());
    slider.maximum_track_image = image_from_color(Color::clear());
}

ColorSlider::ColorSlider(Rect frame)
    : CustomDrawnSlider(frame)
{
}

Color ColorSlider::color() const
{
    return color_from_hsba(value(), 1, 1, 1 - alphaValue);
}

void ColorSlider::drawRect(Rect bounds)
{
    double alpha = 1 - alphaValue;
    draw_band(
        *this, bounds, [alpha](double position) { return color_from_hsba(position, 1, 1, alpha); },
        [this](Rect rect, Color color) { fill_rect(rect, color); });
}

AlphaSlider::AlphaSlider(Rect frame)
    : CustomDrawnSlider(frame)
{
}

void AlphaSlider::drawRect(Rect bounds)
{
    double hue = colorValue;
    draw_band(
        *this, bounds, [hue](double position) { return color_from_hsba(hue, 1, 1, 1 - position); },
        [this](Rect rect, Color color) { fill_rect(rect, color); });
}

}
