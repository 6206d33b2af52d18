#pragma once

// Text layout metrics. A text view asks how tall its text is when laid out
// at a width, so that it knows its content size (and the scroll engine
// knows where the text ends). Front ends answer differently: the headless
// driver and the tests use the fixed metrics below; the browser front end
// measures what it actually drew and reports it through this interface.

#include "platform/ui/geometry.h"

#include <string_view>

namespace cw {

class TextLayout {
public:
    virtual ~TextLayout() = default;
    // The size of `text` (UTF-8) set in the system font at `font_size`
    // points and wrapped to `width` points: the widest line and the total
    // height of all lines.
    virtual Size measure(std::string_view text, double font_size, double width) const = 0;
};

// Deterministic metrics, the same on every machine:
//
// - Every code point is one glyph, 0.5 x font size wide (so an "m" and an
//   "i" are alike). Invalid UTF-8 bytes count one glyph each.
// - A line is 1.2 x font size tall.
// - "\n", "\r" and "\r\n" end a paragraph. Every paragraph is at least one
//   line, also an empty one (so a text ending in a line break has an empty
//   last line); an empty text has no lines at all.
// - Within a paragraph words (runs of characters other than a space) are
//   set greedily: a word that does not fit after the words already on the
//   line starts the next one; the spaces before it stay at the end of the
//   line they follow and take no room. A word longer than a whole line is
//   broken between glyphs. At least one glyph goes on every line, however
//   narrow the width.
// - A width that is not positive and finite means "do not wrap".
// - A font size that is not positive and finite measures as nothing.
//
// The measured width is that of the widest line (hanging spaces excluded);
// the height is lines x 1.2 x font size. So the height grows with the length
// of the text and with the font size, as on a real screen.
//
// Measuring walks the bytes once and allocates nothing.
class HeadlessTextLayout final : public TextLayout {
public:
    static constexpr double line_height_factor = 1.2;
    static constexpr double advance_factor = 0.5;

    Size measure(std::string_view text, double font_size, double width) const override;
};

}
