#include "collection_view_flow_layout.h"

#include <algorithm>

namespace cw {

void CollectionViewFlowLayout::prepare(std::int64_t count, double width, std::function<Size(std::int64_t)> const& size_for)
{
    m_frames.clear();
    m_lines.clear();
    count = std::max<std::int64_t>(count, 0);
    m_frames.reserve(static_cast<size_t>(count));

    double const left = section_inset.left;
    double const right_edge = width - section_inset.right;
    double y = section_inset.top;
    double x = left;
    std::vector<Size> line_sizes;

    // Places the items of the line being filled, centred in its height.
    auto close_line = [&](std::int64_t first) {
        double height = 0;
        for (auto const& size : line_sizes)
            height = std::max(height, size.height);
        double cursor = left;
        for (auto const& size : line_sizes) {
            m_frames.push_back({ { cursor, y + (height - size.height) / 2 }, size });
            cursor += size.width + minimum_interitem_spacing;
        }
        m_lines.push_back({ first, y, height });
        y += height + minimum_line_spacing;
        line_sizes.clear();
        x = left;
    };

    std::int64_t first = 0;
    for (std::int64_t item = 0; item < count; ++item) {
        Size size = size_for ? size_for(item) : item_size;
        if (!line_sizes.empty() && x + size.width > right_edge) {
            close_line(first);
            first = item;
        }
        line_sizes.push_back(size);
        x += size.width + minimum_interitem_spacing;
    }
    if (!line_sizes.empty())
        close_line(first);

    double height = 0;
    if (!m_lines.empty())
        height = m_lines.back().y + m_lines.back().height + section_inset.bottom;
    m_content_size = { std::max(0.0, width), height };
}

std::optional<Rect> CollectionViewFlowLayout::frame_for_item(std::int64_t item) const
{
    if (item < 0 || item >= count())
        return std::nullopt;
    return m_frames[static_cast<size_t>(item)];
}

std::int64_t CollectionViewFlowLayout::line_end(size_t line) const
{
    return line + 1 < m_lines.size() ? m_lines[line + 1].first : count();
}

std::pair<size_t, size_t> CollectionViewFlowLayout::lines_between(double top, double bottom) const
{
    // Lines are in order of y and do not overlap, so both ends are found by
    // binary search.
    auto first = std::partition_point(m_lines.begin(), m_lines.end(), [&](Line const& line) { return line.y + line.height <= top; });
    auto last = std::partition_point(first, m_lines.end(), [&](Line const& line) { return line.y < bottom; });
    return { static_cast<size_t>(first - m_lines.begin()), static_cast<size_t>(last - m_lines.begin()) };
}

static bool meets(Rect const& a, Rect const& b)
{
    return a.min_x() < b.max_x() && b.min_x() < a.max_x() && a.min_y() < b.max_y() && b.min_y() < a.max_y();
}

std::vector<std::int64_t> CollectionViewFlowLayout::items_in_rect(Rect rect) const
{
    std::vector<std::int64_t> items;
    auto [first, last] = lines_between(rect.min_y(), rect.max_y());
    for (size_t line = first; line < last; ++line) {
        for (auto item = m_lines[line].first; item < line_end(line); ++item) {
            if (meets(m_frames[static_cast<size_t>(item)], rect))
                items.push_back(item);
        }
    }
    return items;
}

std::optional<std::int64_t> CollectionViewFlowLayout::item_at_point(Point point) const
{
    auto [first, last] = lines_between(point.y, point.y + 1e-9);
    for (size_t line = first; line < last; ++line) {
        for (auto item = m_lines[line].first; item < line_end(line); ++item) {
            if (m_frames[static_cast<size_t>(item)].contains(point))
                return item;
        }
    }
    return std::nullopt;
}

}
