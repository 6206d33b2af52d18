#pragma once

// A horizontal slider with a 32-bit float value between a minimum and a
// maximum. Like every control, its action runs only on user input
// (`user_set_value`); code that sets the value fires nothing.

#include "platform/ui/view.h"

#include <functional>

namespace cw {

class Slider : public View {
public:
    using View::View;

    float minimum_value { 0 };
    float maximum_value { 1 };
    bool enabled { true };
    std::function<void(Slider&)> on_value_changed;

    float value() const { return m_value; }
    // Clamped to the range, as the toolkit does. `animated` only tells the
    // front ends to ease the thumb there.
    void set_value(float, bool animated = false);
    // A user's move of the thumb: the value is clamped, then the action
    // runs. Does nothing while hidden, disabled or not interactive.
    void user_set_value(float);

    char const* type_name() const override { return "Slider"; }
    void describe(Record&) const override;

private:
    float m_value { 0 };
};

}
