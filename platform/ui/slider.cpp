#include "slider.h"

#include <algorithm>
#include <cmath>

namespace cw {

void Slider::set_value(float value, bool)
{
    if (std::isnan(value))
        value = minimum_value;
    m_value = std::clamp(value, std::min(minimum_value, maximum_value), std::max(minimum_value, maximum_value));
}

void Slider::user_set_value(float value)
{
    if (hidden || !enabled || !user_interaction_enabled)
        return;
    set_value(value);
    if (on_value_changed)
        on_value_changed(*this);
}

void Slider::describe(Record& record) const
{
    View::describe(record);
    record["value"] = static_cast<double>(m_value);
    record["minimum"] = static_cast<double>(minimum_value);
    record["maximum"] = static_cast<double>(maximum_value);
    if (!enabled)
        record["enabled"] = false;
}

}
