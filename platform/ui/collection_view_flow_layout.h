#pragma once

// The grid's flow layout. Items flow left to right into lines, and lines
// stack from the top; the grid scrolls vertically. An item that does not fit
// in what is left of a line starts the next one (a line always takes at
// least one item, however narrow the grid). Items of one line are packed
// from the left, `minimum_interitem_spacing` apart, and centred vertically
// in their line; lines are `minimum_line_spacing` apart. The spacing values
// start at the toolkit's defaults of 10 points.
//
// Frames are in the content's coordinates: the first item's top left corner
// is at (section_inset.left, section_inset.top). `prepare` computes every
// item's frame once (the sizes of all items are needed to know where a line
// breaks); the look-ups that follow (which items meet a rectangle, which
// item is under a point) search the lines, so they cost as much as the
// answer, not as much as the whole grid.

#include "platform/ui/geometry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace cw {

class CollectionViewFlowLayout {
public:
    Size item_size { 50, 50 };
    double minimum_line_spacing { 10 };
    double minimum_interitem_spacing { 10 };
    EdgeInsets section_inset;

    // Lays out `count` items in a content area `width` points wide. `size_for`
    // answers each item's size; without it every item is `item_size`.
    void prepare(std::int64_t count, double width, std::function<Size(std::int64_t)> const& size_for = {});

    std::int64_t count() const { return static_cast<std::int64_t>(m_frames.size()); }
    // None for a position outside the prepared items.
    std::optional<Rect> frame_for_item(std::int64_t item) const;
    // The positions of the items whose frames meet `rect`, in order.
    std::vector<std::int64_t> items_in_rect(Rect rect) const;
    // The item whose frame holds the point; none between items.
    std::optional<std::int64_t> item_at_point(Point) const;
    // The prepared content: the width given to `prepare`, and the height of
    // every line with its spacing and the section insets (0 with no items).
    Size content_size() const { return m_content_size; }

private:
    struct Line {
        std::int64_t first;
        double y;
        double height;
    };
    // The lines that meet the band [top, bottom), as [first, last).
    std::pair<size_t, size_t> lines_between(double top, double bottom) const;
    std::int64_t line_end(size_t line) const;

    std::vector<Rect> m_frames;
    std::vector<Line> m_lines;
    Size m_content_size;
};

}
