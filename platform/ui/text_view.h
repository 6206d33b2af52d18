#pragma once

// A scrollable, optionally editable text view. Its content is the text laid
// out at the view's width; how tall that is comes from the text-layout
// service, so the headless driver and the browser agree with what they
// draw. The content offset is the scroll position: (0, 0) shows the top of
// the text, and y grows as the text moves up.
//
// The content size is measured once and kept until the text, the font size,
// the width or the insets change, so reading it on every display refresh
// costs no layout work.

#include "platform/services/text_layout.h"
#include "platform/ui/view.h"

#include <cstdint>
#include <memory>
#include <string>

namespace cw {

class TextView : public View {
public:
    // Without a layout service the text measures as nothing.
    explicit TextView(std::shared_ptr<TextLayout const> layout, Rect frame = {});

    std::string const& text() const { return m_text; }
    void set_text(std::string);

    // The system font at this many points.
    double font_size() const { return m_font_size; }
    void set_font_size(double points) { m_font_size = points; }

    Color text_color { Color::black() };
    bool editable { true };
    // Room around the text inside the content, as the text container's
    // inset: the text is laid out at the width less the side insets, and
    // the top and bottom insets add to the content height.
    EdgeInsets content_inset;

    Point content_offset() const { return m_content_offset; }
    // `animated` is passed on to the front ends, which may ease the move;
    // the model takes the new offset at once either way.
    void set_content_offset(Point, bool animated = false);
    bool last_offset_change_animated() const { return m_offset_animated; }

    // Width: the frame's. Height: the laid-out text plus the top and bottom
    // insets.
    Size content_size() const;

    char const* type_name() const override { return "TextView"; }
    void describe(Record&) const override;

private:
    std::shared_ptr<TextLayout const> m_layout;
    std::string m_text;
    std::uint64_t m_text_generation { 0 };
    double m_font_size { 17 };
    Point m_content_offset;
    bool m_offset_animated { false };

    struct Measured {
        std::uint64_t text_generation { ~std::uint64_t { 0 } };
        double font_size { 0 };
        double width { 0 };
        EdgeInsets inset;
        Size size;
    };
    mutable Measured m_measured;
};

}
