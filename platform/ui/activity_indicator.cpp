#include "activity_indicator.h"

namespace cw {

void ActivityIndicator::start_animating()
{
    m_animating = true;
    if (hides_when_stopped)
        hidden = false;
}

void ActivityIndicator::stop_animating()
{
    m_animating = false;
    if (hides_when_stopped)
        hidden = true;
}

void ActivityIndicator::describe(Record& record) const
{
    View::describe(record);
    record["animating"] = m_animating;
    record["color"] = to_value(color);
}

}
