#pragma once

// The basic controls: a label and a button. Their actions run only on user
// input; code that sets a value never fires an action.

#include "platform/ui/view.h"

#include <functional>
#include <string>

namespace cw {

enum class TextAlignment { Left, Center, Right };

class Label : public View {
public:
    using View::View;
    std::string text;
    double font_size { 17 };
    bool bold { false };
    Color text_color { Color::black() };
    TextAlignment alignment { TextAlignment::Left };
    // 0 means as many lines as fit.
    int number_of_lines { 1 };
    bool adjusts_font_size_to_fit { false };
    double minimum_scale_factor { 0 };

    char const* type_name() const override { return "Label"; }
    void describe(Record&) const override;
};

class Button : public View {
public:
    using View::View;
    std::string title;
    Color title_color { Color { 0, 122.0 / 255, 1, 1 } };
    double font_size { 17 };
    bool enabled { true };
    std::string image;
    std::function<void()> on_tap;

    // A user's tap. Does nothing while hidden or disabled.
    void tap();

    char const* type_name() const override { return "Button"; }
    void describe(Record&) const override;
};

}
