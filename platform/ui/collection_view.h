#pragma once

// The grid (collection) view: one section of items laid out by a flow layout
// (collection_view_flow_layout.h), scrolling vertically.
//
// How it works. The grid asks its data source how many items there are, and
// a cell for each item it shows; it never makes a cell for an item that is
// not on screen. A cell comes from `dequeue_reusable_cell`: either a cell
// that left the screen earlier, handed out again exactly as it was (its
// label, colours and recognisers are the data source's to change), or a new
// one made by the factory registered under the reuse identifier, given the
// item's frame. Cells stay the grid's: the data source only fills them.
//
// The grid lays itself out at once whenever something that decides what is
// on screen changes: `reload_data`, a new frame or inset, a scroll, and each
// step of an interactive movement. Before its first layout (which
// `layout_if_needed` or any look-up makes) the grid asks its data source
// nothing, so a screen can set it up in any order.
//
// Coordinates. Item frames and the points the look-ups take are in the
// content's coordinates, where the first item sits at (0, 0). The content
// offset is the content point shown at the grid's top left corner; at rest
// it is (-left, -top) of the adjusted content inset, so the content inset
// shows as a margin around the items. Cells are subviews with frames in the
// grid's own coordinates (item frame minus content offset), so front ends
// draw them like any other view. `content_point` turns a point in the
// grid's coordinates (where a recogniser on the grid reports its touches)
// into a content point.
//
// The adjusted content inset is the content inset plus the safe-area
// insets: the part of the grid the screen's bars cover.
//
// Interactive movement lifts one item: the lifted cell follows the target
// point, and the other items make room, shown in the order they would have
// if the lifted item were dropped under the point. Ending the movement
// settles the cells in that order and then tells the data source where the
// item went; cancelling puts everything back and tells nobody.
//
// A tap on an item tells the delegate (`collectionViewDidSelectItemAtIndexPath`).

#include "platform/ui/collection_view_flow_layout.h"
#include "platform/ui/view.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cw {

class CollectionView;

struct IndexPath {
    std::int64_t section { 0 };
    std::int64_t item { 0 };
    bool operator==(IndexPath const&) const = default;
};

class CollectionViewCell : public View {
public:
    using View::View;
    std::string const& reuse_identifier() const { return m_reuse_identifier; }
    // Whether the cell is the one an interactive movement lifted.
    bool is_lifted() const { return m_lifted; }

    char const* type_name() const override { return "CollectionViewCell"; }
    void describe(Record&) const override;

private:
    friend class CollectionView;
    std::string m_reuse_identifier;
    bool m_lifted { false };
};

class CollectionViewDataSource {
public:
    virtual ~CollectionViewDataSource() = default;
    virtual std::int64_t collectionViewNumberOfItemsInSection(CollectionView&, std::int64_t section) = 0;
    // Must answer a cell from `dequeue_reusable_cell`.
    virtual CollectionViewCell& collectionViewCellForItemAtIndexPath(CollectionView&, IndexPath) = 0;
    // Whether an item may be lifted; none may by default.
    virtual bool collectionViewCanMoveItemAtIndexPath(CollectionView&, IndexPath) { return false; }
    // An interactive movement ended with the item of `from` dropped at `to`.
    virtual void collectionViewMoveItemAtIndexPathToIndexPath(CollectionView&, IndexPath, IndexPath) { }
};

class CollectionViewDelegate {
public:
    virtual ~CollectionViewDelegate() = default;
    virtual void collectionViewDidSelectItemAtIndexPath(CollectionView&, IndexPath) { }
    // An item's size in the flow layout; the layout's item size by default.
    virtual Size collectionViewLayoutSizeForItemAtIndexPath(CollectionView&, CollectionViewFlowLayout& layout, IndexPath)
    {
        return layout.item_size;
    }
};

class CollectionView : public View {
public:
    using CellFactory = std::function<std::unique_ptr<CollectionViewCell>(Rect frame)>;

    CollectionView(Rect frame, std::unique_ptr<CollectionViewFlowLayout>);
    ~CollectionView() override;

    CollectionViewFlowLayout& layout() { return *m_layout; }
    CollectionViewDataSource* data_source { nullptr };
    CollectionViewDelegate* delegate { nullptr };

    void register_cell_class(std::string identifier, CellFactory);
    template<typename Cell>
    void register_cell_class(std::string identifier)
    {
        register_cell_class(std::move(identifier), [](Rect frame) { return std::make_unique<Cell>(frame); });
    }
    // A cell for the data source to fill. Asking for an identifier nothing
    // was registered under is a programming error (std::logic_error).
    CollectionViewCell& dequeue_reusable_cell(std::string const& identifier, IndexPath);

    void set_frame(Rect);
    EdgeInsets content_inset() const { return m_content_inset; }
    void set_content_inset(EdgeInsets);
    EdgeInsets scroll_indicator_insets;
    EdgeInsets safe_area_insets() const { return m_safe_area; }
    void set_safe_area_insets(EdgeInsets);
    EdgeInsets adjusted_content_inset() const;

    Point content_offset() const;
    // Code may put the offset anywhere below or above the scrollable range.
    void set_content_offset(Point);
    // A user's scroll, kept within the scrollable range.
    void user_scroll_to(Point);
    Point minimum_content_offset() const;
    Point maximum_content_offset();
    Size content_size();
    Point content_point(Point in_grid) const;
    // A point in `view` (the grid or a view inside it) in content coordinates.
    Point content_point(View const& view, Point in_view) const;

    // Forgets every cell on screen and asks the data source again.
    void reload_data();
    void layout_if_needed();
    std::int64_t number_of_items();

    // The cells on screen, in item order.
    std::vector<CollectionViewCell*> visible_cells();
    // The cell of an item only while it is on screen.
    CollectionViewCell* cell_for_item_at_index_path(IndexPath);
    std::optional<IndexPath> index_path_for_cell(CollectionViewCell const&) const;
    // None between items and outside them.
    std::optional<IndexPath> index_path_for_item_at_point(Point content);
    // The frame of the place at a position, in content coordinates. While
    // an item is lifted, the item shown at a place may be another one.
    std::optional<Rect> layout_frame_for_item(IndexPath);

    // Interactive movement. `begin` answers whether an item was lifted: none
    // is lifted for no index path, while another is lifted, or when the data
    // source says it cannot move.
    bool begin_interactive_movement_for_item_at_index_path(std::optional<IndexPath>);
    void update_interactive_movement_target_position(Point content);
    void end_interactive_movement();
    void cancel_interactive_movement();
    bool is_moving_item() const { return m_movement.has_value(); }
    // Where the lifted item would land if dropped now.
    std::optional<IndexPath> interactive_movement_target() const;

    // How many cells the factories made over the grid's life.
    int cells_made() const { return m_cells_made; }

    char const* type_name() const override { return "CollectionView"; }
    void describe(Record&) const override;

private:
    struct Movement {
        std::int64_t source;
        std::int64_t target;
        Point point;
    };

    void set_needs_layout();
    void layout_now();
    void prepare_layout();
    Rect visible_content_rect() const;
    // The item shown at a position and the position an item is shown at,
    // while an item is lifted (the same outside a movement).
    std::int64_t item_at_position(std::int64_t position) const;
    std::int64_t position_of_item(std::int64_t item) const;
    void make_cell(std::int64_t item);
    void recycle(std::int64_t item);
    void place_cells();
    void handle_tap(GestureRecognizer&);

    std::unique_ptr<CollectionViewFlowLayout> m_layout;
    std::map<std::string, CellFactory> m_factories;
    std::map<std::string, std::vector<std::unique_ptr<CollectionViewCell>>> m_reuse_pool;
    std::vector<std::unique_ptr<CollectionViewCell>> m_dequeued;
    // The cells on screen by item.
    std::map<std::int64_t, CollectionViewCell*> m_cells;

    EdgeInsets m_content_inset;
    EdgeInsets m_safe_area;
    // How far the content is scrolled from its resting position.
    Point m_scroll;
    std::int64_t m_count { 0 };
    bool m_loaded { false };
    bool m_needs_reload { false };
    bool m_needs_count { true };
    bool m_needs_prepare { true };
    bool m_in_layout { false };
    bool m_layout_again { false };
    int m_cells_made { 0 };
    std::optional<Movement> m_movement;
    // Item sizes, kept only when they differ.
    std::vector<Size> m_sizes;
    Size m_uniform_size;
    bool m_uniform_sizes { true };
};

}
