#pragma once

// A one-line text field. Code sets `text` freely; a user's typing goes
// through `user_set_text`, which also runs the editing action.

#include "platform/ui/view.h"

#include <functional>
#include <string>

namespace cw {

class TextField : public View {
public:
    using View::View;

    std::string text;
    std::string placeholder;
    double font_size { 17 };
    Color text_color { Color::black() };
    bool enabled { true };
    std::function<void(TextField&)> on_editing_changed;

    // Does nothing while hidden, disabled or not interactive.
    void user_set_text(std::string);

    char const* type_name() const override { return "TextField"; }
    void describe(Record&) const override;
};

}
