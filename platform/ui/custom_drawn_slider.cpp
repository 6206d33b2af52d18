#include "custom_drawn_slider.h"

namespace cw {

void CustomDrawnSlider::set_needs_display()
{
    m_drawing.clear();
    ++m_draw_count;
    drawRect({ {}, frame.size });
}

void CustomDrawnSlider::fill_rect(Rect rect, Color color)
{
    m_drawing.push_back({ rect, color });
}

void CustomDrawnSlider::describe(Record& record) const
{
    Slider::describe(record);
    if (minimum_track_image)
        record["minimumTrackImage"] = to_value(*minimum_track_image);
    if (maximum_track_image)
        record["maximumTrackImage"] = to_value(*maximum_track_image);
    List fills;
    fills.reserve(m_drawing.size());
    for (auto const& fill : m_drawing)
        fills.push_back(List { to_value(fill.rect), to_value(fill.color) });
    record["fills"] = std::move(fills);
}

}
