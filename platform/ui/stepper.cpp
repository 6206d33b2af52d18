#include "stepper.h"

#include <algorithm>
#include <cmath>

namespace cw {

void Stepper::set_value(double value)
{
    if (std::isnan(value))
        value = m_minimum;
    m_value = std::clamp(value, m_minimum, std::max(m_minimum, m_maximum));
}

void Stepper::set_minimum_value(double minimum)
{
    if (std::isnan(minimum))
        return;
    m_minimum = minimum;
    if (m_maximum < m_minimum)
        m_maximum = m_minimum;
    set_value(m_value);
}

void Stepper::set_maximum_value(double maximum)
{
    if (std::isnan(maximum))
        return;
    m_maximum = maximum;
    if (m_minimum > m_maximum)
        m_minimum = m_maximum;
    set_value(m_value);
}

void Stepper::set_step_value(double step)
{
    if (step > 0 && std::isfinite(step))
        m_step = step;
}

void Stepper::change_by_user(double target)
{
    if (!accepts_input())
        return;
    double before = m_value;
    set_value(target);
    if (m_value != before && on_value_changed)
        on_value_changed(*this);
}

void Stepper::user_increment()
{
    change_by_user(m_value + m_step);
}

void Stepper::user_decrement()
{
    change_by_user(m_value - m_step);
}

void Stepper::user_set_value(double value)
{
    change_by_user(value);
}

void Stepper::describe(Record& record) const
{
    View::describe(record);
    record["value"] = m_value;
    record["minimum"] = m_minimum;
    record["maximum"] = m_maximum;
    record["step"] = m_step;
    if (!enabled)
        record["enabled"] = false;
}

}
