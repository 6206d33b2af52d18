#include "text_view.h"

namespace cw {

TextView::TextView(std::shared_ptr<TextLayout const> layout, Rect frame)
    : View(frame)
    , m_layout(std::move(layout))
{
}

void TextView::set_text(std::string text)
{
    m_text = std::move(text);
    ++m_text_generation;
}

void TextView::set_content_offset(Point offset, bool animated)
{
    m_content_offset = offset;
    m_offset_animated = animated;
}

Size TextView::content_size() const
{
    double width = frame.size.width;
    auto& m = m_measured;
    if (m.text_generation != m_text_generation || m.font_size != m_font_size || m.width != width || m.inset != content_inset) {
        Size text_size;
        if (m_layout)
            text_size = m_layout->measure(m_text, m_font_size, width - content_inset.left - content_inset.right);
        m = { m_text_generation, m_font_size, width, content_inset,
            { width, text_size.height + content_inset.top + content_inset.bottom } };
    }
    return m.size;
}

void TextView::describe(Record& record) const
{
    View::describe(record);
    record["text"] = m_text;
    record["fontSize"] = m_font_size;
    record["textColor"] = to_value(text_color);
    record["editable"] = editable;
    record["contentOffset"] = to_value(m_content_offset);
    if (m_offset_animated)
        record["offsetAnimated"] = true;
    record["contentSize"] = to_value(content_size());
    if (content_inset != EdgeInsets {})
        record["contentInset"] = List { content_inset.top, content_inset.left, content_inset.bottom, content_inset.right };
}

}
