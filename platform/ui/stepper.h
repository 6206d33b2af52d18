#pragma once

// A stepper: a pair of minus and plus buttons that move a double value by a
// step between a minimum and a maximum. The toolkit's defaults are a range
// of 0 to 100 and a step of 1. Moving either bound pulls the value inside
// the new range.
//
// Like every control, its action runs only on user input (`user_increment`,
// `user_decrement`, `user_set_value`) and only when the value actually
// changes; code that sets the value fires nothing.

#include "platform/ui/view.h"

#include <functional>

namespace cw {

class Stepper : public View {
public:
    using View::View;

    bool enabled { true };
    std::function<void(Stepper&)> on_value_changed;

    double value() const { return m_value; }
    double minimum_value() const { return m_minimum; }
    double maximum_value() const { return m_maximum; }
    double step_value() const { return m_step; }

    // Clamped to the range; a value that is not a number becomes the minimum.
    void set_value(double);
    void set_minimum_value(double);
    void set_maximum_value(double);
    // Steps that are not positive are refused and the old step is kept.
    void set_step_value(double);

    // A user's press of plus or minus: one step, stopping at the bound.
    void user_increment();
    void user_decrement();
    // A user's change to an exact value (a front end that offers a field).
    void user_set_value(double);

    char const* type_name() const override { return "Stepper"; }
    void describe(Record&) const override;

private:
    bool accepts_input() const { return !hidden && enabled && user_interaction_enabled; }
    void change_by_user(double);

    double m_value { 0 };
    double m_minimum { 0 };
    double m_maximum { 100 };
    double m_step { 1 };
};

}
