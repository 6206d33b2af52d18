#pragma once

// Gesture recognisers attached to views. The front ends feed them touches;
// the recogniser calls its action with its state as the gesture unfolds.

#include "platform/ui/geometry.h"

#include <functional>
#include <string>

namespace cw {

class View;

enum class GestureState { Possible, Began, Changed, Ended, Cancelled, Failed };

class GestureRecognizer {
public:
    enum class Type { Tap, LongPress, Pan };

    explicit GestureRecognizer(Type type)
        : type(type)
    {
    }
    virtual ~GestureRecognizer() = default;

    Type const type;
    GestureState state { GestureState::Possible };
    bool enabled { true };
    // Long press: how long the finger must rest before it begins.
    double minimum_press_duration { 0.5 };
    // Where the touch is, in the view's coordinates, and for pans how far it
    // moved since it began.
    Point location;
    Point translation;
    Point velocity;
    View* view { nullptr };

    std::function<void(GestureRecognizer&)> on_action;

    // Moves to a new state and tells the action, as the toolkit does.
    void update(GestureState new_state, Point where)
    {
        state = new_state;
        location = where;
        if (on_action)
            on_action(*this);
    }
};

}
