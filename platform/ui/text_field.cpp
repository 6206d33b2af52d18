#include "text_field.h"

namespace cw {

void TextField::user_set_text(std::string new_text)
{
    if (hidden || !enabled || !user_interaction_enabled)
        return;
    text = std::move(new_text);
    if (on_editing_changed)
        on_editing_changed(*this);
}

void TextField::describe(Record& record) const
{
    View::describe(record);
    record["text"] = text;
    if (!placeholder.empty())
        record["placeholder"] = placeholder;
    record["fontSize"] = font_size;
    record["textColor"] = to_value(text_color);
    if (!enabled)
        record["enabled"] = false;
}

}
