#include "toolbar.h"

#include <algorithm>

namespace cw {

BarButtonItem::BarButtonItem(std::string item_title, Style item_style)
    : style(item_style)
{
    title = std::move(item_title);
}

BarButtonItem::BarButtonItem(Kind kind)
    : m_kind(kind)
{
}

std::unique_ptr<BarButtonItem> BarButtonItem::flexible_space()
{
    return std::unique_ptr<BarButtonItem>(new BarButtonItem(Kind::FlexibleSpace));
}

std::unique_ptr<BarButtonItem> BarButtonItem::fixed_space(double space)
{
    auto item = std::unique_ptr<BarButtonItem>(new BarButtonItem(Kind::FixedSpace));
    item->width = space;
    return item;
}

void BarButtonItem::describe(Record& record) const
{
    Button::describe(record);
    switch (m_kind) {
    case Kind::Titled:
        record["itemStyle"] = style == Style::Done ? "done" : "plain";
        break;
    case Kind::FlexibleSpace:
        record["item"] = "flexibleSpace";
        break;
    case Kind::FixedSpace:
        record["item"] = "fixedSpace";
        break;
    }
}

void Toolbar::set_items(std::vector<std::unique_ptr<BarButtonItem>> items)
{
    for (auto* item : m_items)
        item->remove_from_superview();
    m_items.clear();
    for (auto& item : items)
        m_items.push_back(&add_subview(std::move(item)));
    layout_items();
}

static double natural_width(BarButtonItem const& item)
{
    if (item.width > 0 || item.kind() != BarButtonItem::Kind::Titled)
        return item.width;
    return static_cast<double>(item.title.size()) * item.font_size / 2 + 2 * Toolbar::margin;
}

void Toolbar::layout_items()
{
    double fixed = 0;
    int flexible = 0;
    for (auto* item : m_items) {
        if (item->kind() == BarButtonItem::Kind::FlexibleSpace)
            ++flexible;
        else
            fixed += natural_width(*item);
    }
    double room = std::max(0.0, frame.size.width - 2 * margin - fixed);
    double share = flexible > 0 ? room / flexible : 0;
    double x = margin;
    for (auto* item : m_items) {
        double width = item->kind() == BarButtonItem::Kind::FlexibleSpace ? share : natural_width(*item);
        item->frame = { { x, 0 }, { width, frame.size.height } };
        x += width;
    }
}

void Toolbar::describe(Record& record) const
{
    View::describe(record);
    record["barStyle"] = bar_style == BarStyle::Black ? "black" : "default";
    if (bar_tint_color) {
        record["barTintColor"] = to_value(*bar_tint_color);
        // Front ends paint the bar in its tint, like a background.
        if (!background)
            record["background"] = to_value(*bar_tint_color);
    }
}

}
