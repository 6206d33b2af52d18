#include "switch.h"

namespace cw {

void Switch::set_on(bool on, bool)
{
    m_on = on;
}

void Switch::user_toggle()
{
    user_set_on(!m_on);
}

void Switch::user_set_on(bool on)
{
    if (hidden || !enabled || !user_interaction_enabled || on == m_on)
        return;
    m_on = on;
    if (on_value_changed)
        on_value_changed(*this);
}

void Switch::describe(Record& record) const
{
    View::describe(record);
    record["on"] = m_on;
    if (!enabled)
        record["enabled"] = false;
}

}
