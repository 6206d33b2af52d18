#include "editable_text_view.h"

#include <algorithm>

namespace cw {

EditableTextView::EditableTextView(std::shared_ptr<TextLayout const> layout, Rect frame)
    : TextView(layout, frame)
    , m_layout(std::move(layout))
{
}

static bool is_continuation(std::string const& text, std::size_t offset)
{
    return offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80;
}

static std::size_t to_boundary(std::string const& text, std::size_t offset)
{
    offset = std::min(offset, text.size());
    while (offset > 0 && is_continuation(text, offset))
        --offset;
    return offset;
}

static TextRange clamp_range(std::string const& text, TextRange range)
{
    auto start = to_boundary(text, range.location);
    auto end = to_boundary(text, start + std::min(range.length, text.size() - start));
    return { start, end - start };
}

TextRange EditableTextView::selected_range() const
{
    return clamp_range(text(), m_selection);
}

void EditableTextView::select(TextRange range)
{
    m_selection = range;
    m_selection = selected_range();
}

bool EditableTextView::accepts_user_input() const
{
    return editable && !hidden && user_interaction_enabled;
}

void EditableTextView::user_changed()
{
    if (on_change)
        on_change(*this);
}

void EditableTextView::user_insert(std::string const& inserted)
{
    if (!accepts_user_input())
        return;
    auto range = selected_range();
    std::string changed = text();
    changed.replace(range.location, range.length, inserted);
    set_text(std::move(changed));
    m_selection = { range.location + inserted.size(), 0 };
    user_changed();
}

void EditableTextView::user_delete_backward()
{
    if (!accepts_user_input())
        return;
    auto range = selected_range();
    if (range.length == 0) {
        if (range.location == 0)
            return;
        auto start = to_boundary(text(), range.location - 1);
        range = { start, range.location - start };
    }
    std::string changed = text();
    changed.erase(range.location, range.length);
    set_text(std::move(changed));
    m_selection = { range.location, 0 };
    user_changed();
}

void EditableTextView::user_replace_all(std::string replacement)
{
    if (!accepts_user_input())
        return;
    m_selection = { replacement.size(), 0 };
    set_text(std::move(replacement));
    user_changed();
}

// The height of the text up to `end` as laid out in this view: the bottom
// of the line that holds that point. Before any text it is one line.
double EditableTextView::height_up_to(std::size_t end) const
{
    double width = frame.size.width - content_inset.left - content_inset.right;
    double line = m_layout ? m_layout->measure("M", font_size(), width).height : 0;
    if (!m_layout || end == 0)
        return line;
    return std::max(line, m_layout->measure(std::string_view(text()).substr(0, end), font_size(), width).height);
}

void EditableTextView::scroll_range_to_visible(TextRange range)
{
    range = clamp_range(text(), range);
    double line = height_up_to(0);
    double top = content_inset.top + height_up_to(range.location) - line;
    double bottom = content_inset.top + height_up_to(range.location + range.length);

    double visible_height = std::max(0.0, frame.size.height - content_inset.bottom);
    auto offset = content_offset();
    if (bottom > offset.y + visible_height)
        offset.y = bottom - visible_height;
    if (top < offset.y)
        offset.y = top;
    double furthest = std::max(0.0, content_size().height - frame.size.height);
    offset.y = std::clamp(offset.y, 0.0, furthest);
    set_content_offset(offset);
}

void EditableTextView::describe(Record& record) const
{
    TextView::describe(record);
    auto range = selected_range();
    record["selectedRange"] = List { static_cast<std::int64_t>(range.location), static_cast<std::int64_t>(range.length) };
    if (scroll_indicator_insets != EdgeInsets {})
        record["scrollIndicatorInset"] = List { scroll_indicator_insets.top, scroll_indicator_insets.left, scroll_indicator_insets.bottom, scroll_indicator_insets.right };
}

}
