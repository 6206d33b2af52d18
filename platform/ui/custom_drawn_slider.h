#pragma once

// A slider that draws its own track. The drawing is recorded as a list of
// filled rectangles in the slider's coordinates, which front ends paint
// under the thumb and tests read back. The toolkit's own track can be
// hidden by giving it clear track images.
//
// The model has no separate render pass: `set_needs_display` draws at
// once, replacing the previous drawing. A subclass draws in `drawRect` by
// calling `fill_rect`.

#include "platform/ui/image.h"
#include "platform/ui/slider.h"

#include <optional>
#include <vector>

namespace cw {

struct FilledRect {
    Rect rect;
    Color color;
    bool operator==(FilledRect const&) const = default;
};

class CustomDrawnSlider : public Slider {
public:
    using Slider::Slider;

    // Track images for the normal state; none shows the toolkit's track.
    std::optional<Image> minimum_track_image;
    std::optional<Image> maximum_track_image;

    void set_needs_display();
    std::vector<FilledRect> const& drawing() const { return m_drawing; }
    int draw_count() const { return m_draw_count; }

    void describe(Record&) const override;

protected:
    // Draws the whole slider; `rect` is its bounds.
    virtual void drawRect(Rect rect) = 0;
    void fill_rect(Rect, Color);

private:
    std::vector<FilledRect> m_drawing;
    int m_draw_count { 0 };
};

}
