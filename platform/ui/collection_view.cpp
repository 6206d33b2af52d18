#include "collection_view.h"

#include "gesture_recognizer.h"

#include <algorithm>
#include <stdexcept>

namespace cw {

void CollectionViewCell::describe(Record& record) const
{
    View::describe(record);
    record["reuseIdentifier"] = m_reuse_identifier;
    if (m_lifted)
        record["lifted"] = true;
}

CollectionView::CollectionView(Rect frame, std::unique_ptr<CollectionViewFlowLayout> layout)
    : View(frame)
    , m_layout(layout ? std::move(layout) : std::make_unique<CollectionViewFlowLayout>())
{
    auto tap = std::make_unique<GestureRecognizer>(GestureRecognizer::Type::Tap);
    tap->on_action = [this](GestureRecognizer& recognizer) { handle_tap(recognizer); };
    add_gesture_recognizer(std::move(tap));
}

CollectionView::~CollectionView() = default;

void CollectionView::register_cell_class(std::string identifier, CellFactory factory)
{
    m_factories[std::move(identifier)] = std::move(factory);
}

CollectionViewCell& CollectionView::dequeue_reusable_cell(std::string const& identifier, IndexPath path)
{
    auto factory = m_factories.find(identifier);
    if (factory == m_factories.end())
        throw std::logic_error("no cell class is registered under \"" + identifier + "\"");
    std::unique_ptr<CollectionViewCell> cell;
    auto& pool = m_reuse_pool[identifier];
    if (!pool.empty()) {
        cell = std::move(pool.back());
        pool.pop_back();
    } else {
        Rect frame { {}, m_layout->item_size };
        if (auto laid_out = m_layout->frame_for_item(position_of_item(path.item))) {
            auto offset = content_offset();
            frame = { { laid_out->origin.x - offset.x, laid_out->origin.y - offset.y }, laid_out->size };
        }
        cell = factory->second(frame);
        ++m_cells_made;
        cell->m_reuse_identifier = identifier;
    }
    m_dequeued.push_back(std::move(cell));
    return *m_dequeued.back();
}

void CollectionView::set_frame(Rect new_frame)
{
    if (new_frame.size.width != frame.size.width)
        m_needs_prepare = true;
    frame = new_frame;
    set_needs_layout();
}

void CollectionView::set_content_inset(EdgeInsets inset)
{
    m_content_inset = inset;
    m_needs_prepare = true;
    set_needs_layout();
}

void CollectionView::set_safe_area_insets(EdgeInsets inset)
{
    m_safe_area = inset;
    m_needs_prepare = true;
    set_needs_layout();
}

EdgeInsets CollectionView::adjusted_content_inset() const
{
    return { m_content_inset.top + m_safe_area.top, m_content_inset.left + m_safe_area.left,
        m_content_inset.bottom + m_safe_area.bottom, m_content_inset.right + m_safe_area.right };
}

Point CollectionView::content_offset() const
{
    auto inset = adjusted_content_inset();
    return { m_scroll.x - inset.left, m_scroll.y - inset.top };
}

void CollectionView::set_content_offset(Point offset)
{
    auto inset = adjusted_content_inset();
    m_scroll = { offset.x + inset.left, offset.y + inset.top };
    set_needs_layout();
}

Point CollectionView::minimum_content_offset() const
{
    auto inset = adjusted_content_inset();
    return { -inset.left, -inset.top };
}

Point CollectionView::maximum_content_offset()
{
    auto inset = adjusted_content_inset();
    auto lowest = minimum_content_offset();
    return { lowest.x, std::max(lowest.y, content_size().height + inset.bottom - frame.size.height) };
}

void CollectionView::user_scroll_to(Point offset)
{
    if (hidden || !user_interaction_enabled)
        return;
    auto lowest = minimum_content_offset();
    auto highest = maximum_content_offset();
    set_content_offset({ lowest.x, std::clamp(offset.y, lowest.y, highest.y) });
}

Size CollectionView::content_size()
{
    layout_if_needed();
    return m_layout->content_size();
}

Point CollectionView::content_point(Point in_grid) const
{
    auto offset = content_offset();
    return { in_grid.x + offset.x, in_grid.y + offset.y };
}

Point CollectionView::content_point(View const& view, Point in_view) const
{
    for (View const* v = &view; v && v != this; v = v->superview()) {
        in_view.x += v->frame.origin.x;
        in_view.y += v->frame.origin.y;
    }
    return content_point(in_view);
}

void CollectionView::reload_data()
{
    if (m_movement) {
        // The items changed under the lifted one; it goes back down.
        if (auto it = m_cells.find(m_movement->source); it != m_cells.end())
            it->second->m_lifted = false;
        m_movement.reset();
    }
    m_needs_reload = true;
    layout_now();
}

void CollectionView::layout_if_needed()
{
    if (!m_loaded)
        layout_now();
}

void CollectionView::set_needs_layout()
{
    if (m_loaded)
        layout_now();
}

std::int64_t CollectionView::number_of_items()
{
    layout_if_needed();
    return m_count;
}

void CollectionView::layout_now()
{
    if (m_in_layout) {
        // A data source that changes the grid while it fills a cell gets a
        // second pass once the first is done.
        m_layout_again = true;
        return;
    }
    m_in_layout = true;
    m_loaded = true;
    for (int pass = 0; pass < 3; ++pass) {
        m_layout_again = false;
        if (m_needs_reload) {
            m_needs_reload = false;
            m_needs_count = true;
            while (!m_cells.empty())
                recycle(m_cells.begin()->first);
        }
        if (m_needs_count || m_needs_prepare)
            prepare_layout();

        std::vector<std::int64_t> wanted;
        for (auto position : m_layout->items_in_rect(visible_content_rect()))
            wanted.push_back(item_at_position(position));
        // Cells are not recycled while an item is lifted: the finger's touch
        // is on one of them, and the cells keep their places under the grid
        // until the movement ends.
        if (!m_movement) {
            std::vector<std::int64_t> leaving;
            for (auto const& [item, cell] : m_cells) {
                if (std::find(wanted.begin(), wanted.end(), item) == wanted.end())
                    leaving.push_back(item);
            }
            for (auto item : leaving)
                recycle(item);
        }
        for (auto item : wanted) {
            if (!m_cells.contains(item))
                make_cell(item);
        }
        place_cells();
        if (!m_layout_again)
            break;
    }
    m_in_layout = false;
}

void CollectionView::prepare_layout()
{
    if (m_needs_count) {
        m_needs_count = false;
        m_count = data_source ? std::max<std::int64_t>(0, data_source->collectionViewNumberOfItemsInSection(*this, 0)) : 0;
        m_sizes.clear();
        m_uniform_size = m_layout->item_size;
        m_uniform_sizes = true;
        // Sizes are kept one by one only once one differs from the first.
        for (std::int64_t item = 0; delegate && item < m_count; ++item) {
            auto size = delegate->collectionViewLayoutSizeForItemAtIndexPath(*this, *m_layout, { 0, item });
            if (item == 0)
                m_uniform_size = size;
            if (m_uniform_sizes && size != m_uniform_size) {
                m_uniform_sizes = false;
                m_sizes.assign(static_cast<size_t>(item), m_uniform_size);
            }
            if (!m_uniform_sizes)
                m_sizes.push_back(size);
        }
    }
    m_needs_prepare = false;
    auto inset = adjusted_content_inset();
    double width = std::max(0.0, frame.size.width - inset.left - inset.right);
    if (m_uniform_sizes) {
        Size size = m_uniform_size;
        m_layout->prepare(m_count, width, [size](std::int64_t) { return size; });
    } else {
        m_layout->prepare(m_count, width, [this](std::int64_t position) { return m_sizes[static_cast<size_t>(item_at_position(position))]; });
    }
}

Rect CollectionView::visible_content_rect() const
{
    return { content_offset(), frame.size };
}

std::int64_t CollectionView::item_at_position(std::int64_t position) const
{
    if (!m_movement)
        return position;
    auto [source, target, point] = *m_movement;
    if (position == target)
        return source;
    // Take the lifted item out, then put it back in at the target.
    std::int64_t without = position - (position > target ? 1 : 0);
    return without + (without >= source ? 1 : 0);
}

std::int64_t CollectionView::position_of_item(std::int64_t item) const
{
    if (!m_movement)
        return item;
    auto [source, target, point] = *m_movement;
    if (item == source)
        return target;
    std::int64_t without = item - (item > source ? 1 : 0);
    return without + (without >= target ? 1 : 0);
}

void CollectionView::make_cell(std::int64_t item)
{
    if (!data_source)
        return;
    auto& answered = data_source->collectionViewCellForItemAtIndexPath(*this, { 0, item });
    auto it = std::find_if(m_dequeued.begin(), m_dequeued.end(), [&](auto const& cell) { return cell.get() == &answered; });
    if (it == m_dequeued.end())
        throw std::logic_error("the data source answered a cell that was not dequeued from this grid");
    auto cell = std::move(*it);
    m_dequeued.erase(it);
    // Cells dequeued but not answered go back to their pool.
    for (auto& unused : m_dequeued)
        m_reuse_pool[unused->m_reuse_identifier].push_back(std::move(unused));
    m_dequeued.clear();
    m_cells[item] = &add_subview(std::move(cell));
}

void CollectionView::recycle(std::int64_t item)
{
    auto it = m_cells.find(item);
    if (it == m_cells.end())
        return;
    auto* cell = it->second;
    m_cells.erase(it);
    cell->m_lifted = false;
    auto owned = cell->remove_from_superview();
    m_reuse_pool[cell->m_reuse_identifier].push_back(std::unique_ptr<CollectionViewCell>(static_cast<CollectionViewCell*>(owned.release())));
}

void CollectionView::place_cells()
{
    auto offset = content_offset();
    for (auto const& [item, cell] : m_cells) {
        auto laid_out = m_layout->frame_for_item(position_of_item(item));
        if (!laid_out)
            continue;
        Rect placed = *laid_out;
        if (m_movement && item == m_movement->source) {
            // The lifted cell is centred under the target point.
            placed.origin = { m_movement->point.x - placed.size.width / 2, m_movement->point.y - placed.size.height / 2 };
        }
        cell->frame = { { placed.origin.x - offset.x, placed.origin.y - offset.y }, placed.size };
    }
}

std::vector<CollectionViewCell*> CollectionView::visible_cells()
{
    layout_if_needed();
    std::vector<CollectionViewCell*> cells;
    cells.reserve(m_cells.size());
    for (auto const& [item, cell] : m_cells)
        cells.push_back(cell);
    return cells;
}

CollectionViewCell* CollectionView::cell_for_item_at_index_path(IndexPath path)
{
    layout_if_needed();
    auto it = m_cells.find(path.item);
    return path.section == 0 && it != m_cells.end() ? it->second : nullptr;
}

std::optional<IndexPath> CollectionView::index_path_for_cell(CollectionViewCell const& wanted) const
{
    for (auto const& [item, cell] : m_cells) {
        if (cell == &wanted)
            return IndexPath { 0, item };
    }
    return std::nullopt;
}

std::optional<IndexPath> CollectionView::index_path_for_item_at_point(Point point)
{
    layout_if_needed();
    auto position = m_layout->item_at_point(point);
    if (!position)
        return std::nullopt;
    return IndexPath { 0, item_at_position(*position) };
}

std::optional<Rect> CollectionView::layout_frame_for_item(IndexPath path)
{
    layout_if_needed();
    if (path.section != 0)
        return std::nullopt;
    return m_layout->frame_for_item(path.item);
}

bool CollectionView::begin_interactive_movement_for_item_at_index_path(std::optional<IndexPath> path)
{
    layout_if_needed();
    if (!path || m_movement || !data_source || path->section != 0 || path->item < 0 || path->item >= m_count)
        return false;
    if (!data_source->collectionViewCanMoveItemAtIndexPath(*this, *path))
        return false;
    auto laid_out = m_layout->frame_for_item(path->item);
    m_movement = Movement { path->item, path->item, { laid_out->mid_x(), laid_out->mid_y() } };
    if (auto it = m_cells.find(path->item); it != m_cells.end())
        it->second->m_lifted = true;
    layout_now();
    return true;
}

void CollectionView::update_interactive_movement_target_position(Point point)
{
    if (!m_movement)
        return;
    m_movement->point = point;
    if (auto position = m_layout->item_at_point(point); position && *position != m_movement->target) {
        m_movement->target = *position;
        if (!m_uniform_sizes)
            m_needs_prepare = true;
    }
    layout_now();
}

std::optional<IndexPath> CollectionView::interactive_movement_target() const
{
    if (!m_movement)
        return std::nullopt;
    return IndexPath { 0, m_movement->target };
}

void CollectionView::end_interactive_movement()
{
    if (!m_movement)
        return;
    auto [source, target, point] = *m_movement;
    // The cells and sizes take the order the user sees before the data
    // source hears of it, so that the grid already shows what the data
    // source is about to hold.
    std::map<std::int64_t, CollectionViewCell*> settled;
    for (auto const& [item, cell] : m_cells) {
        cell->m_lifted = false;
        settled[position_of_item(item)] = cell;
    }
    if (!m_uniform_sizes) {
        std::vector<Size> sizes(m_sizes.size());
        for (size_t position = 0; position < sizes.size(); ++position)
            sizes[position] = m_sizes[static_cast<size_t>(item_at_position(static_cast<std::int64_t>(position)))];
        m_sizes = std::move(sizes);
        m_needs_prepare = true;
    }
    m_cells = std::move(settled);
    m_movement.reset();
    layout_now();
    // The data source may replace this grid; nothing of it is touched after.
    if (data_source)
        data_source->collectionViewMoveItemAtIndexPathToIndexPath(*this, { 0, source }, { 0, target });
}

void CollectionView::cancel_interactive_movement()
{
    if (!m_movement)
        return;
    if (auto it = m_cells.find(m_movement->source); it != m_cells.end())
        it->second->m_lifted = false;
    m_movement.reset();
    if (!m_uniform_sizes)
        m_needs_prepare = true;
    layout_now();
}

void CollectionView::handle_tap(GestureRecognizer& recognizer)
{
    if (recognizer.state != GestureState::Ended || m_movement || !delegate)
        return;
    if (auto path = index_path_for_item_at_point(content_point(recognizer.location)))
        delegate->collectionViewDidSelectItemAtIndexPath(*this, *path);
}

static Value insets_value(EdgeInsets inset)
{
    return List { inset.top, inset.left, inset.bottom, inset.right };
}

void CollectionView::describe(Record& record) const
{
    View::describe(record);
    record["scrollDirection"] = "vertical";
    record["contentInset"] = insets_value(m_content_inset);
    record["adjustedContentInset"] = insets_value(adjusted_content_inset());
    record["scrollIndicatorInsets"] = insets_value(scroll_indicator_insets);
    record["contentOffset"] = to_value(content_offset());
    record["contentSize"] = to_value(m_layout->content_size());
    record["itemSize"] = to_value(m_layout->item_size);
    record["lineSpacing"] = m_layout->minimum_line_spacing;
    record["interitemSpacing"] = m_layout->minimum_interitem_spacing;
    record["itemCount"] = m_count;
    if (m_movement)
        record["movement"] = Record { { "from", m_movement->source }, { "to", m_movement->target } };
}

}
