#pragma once

// An on/off switch. Its action runs only when a user flips it; setting the
// state from code fires nothing.

#include "platform/ui/view.h"

#include <functional>

namespace cw {

class Switch : public View {
public:
    using View::View;

    bool enabled { true };
    std::function<void(Switch&)> on_value_changed;

    bool is_on() const { return m_on; }
    // `animated` only tells the front ends to slide the knob.
    void set_on(bool on, bool animated = false);

    // A user's flip. Does nothing while hidden, disabled or not interactive.
    void user_toggle();
    // A user's flip to a given state; nothing happens when it is already
    // there.
    void user_set_on(bool);

    char const* type_name() const override { return "Switch"; }
    void describe(Record&) const override;

private:
    bool m_on { false };
};

}
