#include "scroll_view.h"

#include <algorithm>

namespace cw {

Point ScrollView::maximum_content_offset() const
{
    return { std::max(0.0, content_size.width - frame.size.width), std::max(0.0, content_size.height - frame.size.height) };
}

void ScrollView::user_scroll_to(Point offset)
{
    if (!scroll_enabled || hidden || !user_interaction_enabled)
        return;
    auto limit = maximum_content_offset();
    m_content_offset = { std::clamp(offset.x, 0.0, limit.x), std::clamp(offset.y, 0.0, limit.y) };
    if (delegate)
        delegate->scrollViewDidScroll(*this);
}

void ScrollView::describe(Record& record) const
{
    View::describe(record);
    record["contentSize"] = to_value(content_size);
    record["contentOffset"] = to_value(m_content_offset);
    if (!scroll_enabled)
        record["scrollEnabled"] = false;
}

}
