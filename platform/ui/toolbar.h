#pragma once

// A toolbar: a bar of bar button items laid out left to right. Flexible
// spaces share the width the other items leave, so a button between two of
// them sits in the middle of the bar. A hidden item keeps its place, so
// showing or hiding one moves nothing else.
//
// Bar button items are buttons (controls.h) that the toolbar places: a user's
// tap runs `on_tap`, and `tint_color` is the colour of the title. The bar
// has no text metrics of its own: a titled item is as wide as its `width`,
// or, when that is 0, as its title at about half the font size per
// character plus a margin on each side.

#include "platform/ui/controls.h"

#include <memory>
#include <vector>

namespace cw {

class BarButtonItem : public Button {
public:
    enum class Kind { Titled, FlexibleSpace, FixedSpace };
    enum class Style { Plain, Done };

    // A titled item.
    BarButtonItem(std::string title, Style);
    static std::unique_ptr<BarButtonItem> flexible_space();
    static std::unique_ptr<BarButtonItem> fixed_space(double width);

    Kind kind() const { return m_kind; }
    Style style { Style::Plain };
    // 0: from the title.
    double width { 0 };
    void set_tint_color(Color color) { title_color = color; }
    Color tint_color() const { return title_color; }

    char const* type_name() const override { return "BarButtonItem"; }
    void describe(Record&) const override;

private:
    explicit BarButtonItem(Kind);
    Kind m_kind { Kind::Titled };
};

class Toolbar : public View {
public:
    enum class BarStyle { Default, Black };

    using View::View;

    BarStyle bar_style { BarStyle::Default };
    // The bar's colour; none leaves the style's own.
    std::optional<Color> bar_tint_color;

    // Replaces the items; they become the bar's subviews, in order.
    void set_items(std::vector<std::unique_ptr<BarButtonItem>>);
    std::vector<BarButtonItem*> const& items() const { return m_items; }
    // Places the items across the bar's width; call after the frame changes.
    void layout_items();

    static constexpr double margin = 8;

    char const* type_name() const override { return "Toolbar"; }
    void describe(Record&) const override;

private:
    std::vector<BarButtonItem*> m_items;
};

}
