#include "text_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace cw {

namespace {

// Counts lines and the widest line of a text, in glyphs, for a line that
// holds at most `capacity` glyphs.
class LineCounter {
public:
    explicit LineCounter(std::int64_t capacity)
        : m_capacity(capacity)
    {
    }

    void glyph(bool is_space)
    {
        if (is_space) {
            if (m_word > 0)
                end_word();
            ++m_spaces;
        } else {
            ++m_word;
        }
    }

    void end_paragraph()
    {
        end_word();
        // An empty paragraph (or one of spaces only) still takes a line.
        ++m_lines;
        m_widest = std::max(m_widest, m_line);
        m_line = 0;
        m_spaces = 0;
        m_at_paragraph_start = true;
    }

    std::int64_t lines() const { return m_lines; }
    std::int64_t widest() const { return m_widest; }

private:
    void end_word()
    {
        if (m_word == 0)
            return;
        std::int64_t word = m_word;
        std::int64_t gap = m_spaces;
        m_word = 0;
        m_spaces = 0;
        if (m_at_paragraph_start) {
            // Leading spaces of a paragraph are part of its first word.
            word += gap;
            gap = 0;
            m_at_paragraph_start = false;
        } else if (m_line + gap + word <= m_capacity) {
            m_line += gap + word;
            return;
        } else {
            new_line();
        }
        // The word opens a line, and breaks over as many as it needs.
        while (word > m_capacity) {
            m_line = m_capacity;
            new_line();
            word -= m_capacity;
        }
        m_line = word;
    }

    void new_line()
    {
        m_widest = std::max(m_widest, m_line);
        ++m_lines;
        m_line = 0;
    }

    std::int64_t m_capacity;
    std::int64_t m_lines { 0 };
    std::int64_t m_widest { 0 };
    std::int64_t m_line { 0 };
    std::int64_t m_word { 0 };
    std::int64_t m_spaces { 0 };
    bool m_at_paragraph_start { true };
};

bool is_continuation_byte(unsigned char byte)
{
    return (byte & 0xc0) == 0x80;
}

// Length of the UTF-8 sequence that starts with `lead`, or 1 for a byte that
// cannot start one.
std::size_t sequence_length(unsigned char lead)
{
    if (lead >= 0xf0 && lead <= 0xf4)
        return 4;
    if (lead >= 0xe0)
        return lead <= 0xef ? 3 : 1;
    if (lead >= 0xc2)
        return 2;
    return 1;
}

}

Size HeadlessTextLayout::measure(std::string_view text, double font_size, double width) const
{
    if (text.empty() || !std::isfinite(font_size) || font_size <= 0)
        return {};
    double advance = advance_factor * font_size;
    std::int64_t capacity = std::numeric_limits<std::int64_t>::max() / 4;
    if (std::isfinite(width) && width > 0)
        capacity = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::floor(width / advance + 1e-9)));

    LineCounter counter(capacity);
    std::size_t i = 0;
    while (i < text.size()) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\r' || byte == '\n') {
            counter.end_paragraph();
            i += (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        std::size_t length = sequence_length(byte);
        std::size_t taken = 1;
        while (taken < length && i + taken < text.size() && is_continuation_byte(static_cast<unsigned char>(text[i + taken])))
            ++taken;
        // A sequence cut short counts its lead byte alone; the stray
        // continuation bytes that follow count one glyph each.
        i += taken == length ? length : 1;
        counter.glyph(byte == ' ');
    }
    // The last paragraph; after a final line break it is an empty one.
    counter.end_paragraph();

    return { static_cast<double>(counter.widest()) * advance,
        static_cast<double>(counter.lines()) * line_height_factor * font_size };
}

}
