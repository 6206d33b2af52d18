#include "segmented_control.h"

namespace cw {

SegmentedControl::SegmentedControl(std::vector<std::string> titles, Rect frame)
    : View(frame)
    , m_titles(std::move(titles))
{
}

void SegmentedControl::set_selected_segment(int index)
{
    m_selected = index >= 0 && index < number_of_segments() ? index : no_segment;
}

bool SegmentedControl::user_select_segment(int index)
{
    if (hidden || !enabled || !user_interaction_enabled || index < 0 || index >= number_of_segments())
        return false;
    if (index == m_selected)
        return true;
    m_selected = index;
    if (on_value_changed)
        on_value_changed(*this);
    return true;
}

void SegmentedControl::describe(Record& record) const
{
    View::describe(record);
    List titles;
    for (auto const& title : m_titles)
        titles.push_back(title);
    record["segments"] = std::move(titles);
    record["selected"] = std::int64_t { m_selected };
    if (!enabled)
        record["enabled"] = false;
}

}
