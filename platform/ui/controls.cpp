#include "controls.h"

namespace cw {

void Label::describe(Record& record) const
{
    View::describe(record);
    record["text"] = text;
    record["fontSize"] = font_size;
    if (bold)
        record["bold"] = true;
    record["textColor"] = to_value(text_color);
    record["alignment"] = alignment == TextAlignment::Center ? "center" : alignment == TextAlignment::Right ? "right" : "left";
    record["lines"] = std::int64_t { number_of_lines };
    if (adjusts_font_size_to_fit)
        record["minimumScale"] = minimum_scale_factor;
}

void Button::tap()
{
    if (hidden || !enabled || !user_interaction_enabled)
        return;
    if (on_tap)
        on_tap();
}

void Button::describe(Record& record) const
{
    View::describe(record);
    record["title"] = title;
    record["titleColor"] = to_value(title_color);
    record["fontSize"] = font_size;
    if (!enabled)
        record["enabled"] = false;
    if (!image.empty())
        record["image"] = image;
}

}
