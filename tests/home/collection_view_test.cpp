// The grid view on its own, with a small data source: the flow layout's
// geometry, which cells exist, reuse, look-ups and interactive movement.

#include "platform/ui/collection_view.h"
#include "platform/ui/controls.h"
#include "platform/ui/gesture_recognizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace cw;

namespace {

struct NumberedCell : CollectionViewCell {
    explicit NumberedCell(Rect frame)
        : CollectionViewCell(frame)
    {
        label = &add_subview(std::make_unique<Label>(Rect { {}, frame.size }));
    }
    Label* label;
};

// Items named "0", "1", ...; a new cell gets one tap recogniser, a reused
// one keeps what it has.
struct Items : CollectionViewDataSource, CollectionViewDelegate {
    std::vector<std::string> names;
    bool movable { true };
    std::vector<std::pair<std::int64_t, std::int64_t>> moves;
    std::vector<std::int64_t> selected;

    explicit Items(int count)
    {
        for (int i = 0; i < count; ++i)
            names.push_back(std::to_string(i));
    }
    std::int64_t collectionViewNumberOfItemsInSection(CollectionView&, std::int64_t) override { return static_cast<std::int64_t>(names.size()); }
    CollectionViewCell& collectionViewCellForItemAtIndexPath(CollectionView& grid, IndexPath path) override
    {
        auto& cell = static_cast<NumberedCell&>(grid.dequeue_reusable_cell("cell", path));
        cell.label->text = names[static_cast<size_t>(path.item)];
        if (cell.gesture_recognizers().empty())
            cell.add_gesture_recognizer(std::make_unique<GestureRecognizer>(GestureRecognizer::Type::LongPress));
        return cell;
    }
    bool collectionViewCanMoveItemAtIndexPath(CollectionView&, IndexPath) override { return movable; }
    void collectionViewMoveItemAtIndexPathToIndexPath(CollectionView&, IndexPath from, IndexPath to) override
    {
        moves.emplace_back(from.item, to.item);
        auto name = names[static_cast<size_t>(from.item)];
        names.erase(names.begin() + from.item);
        names.insert(names.begin() + to.item, name);
    }
    void collectionViewDidSelectItemAtIndexPath(CollectionView&, IndexPath path) override { selected.push_back(path.item); }
    // Items named "tall" are 200 high; the rest take the layout's size.
    Size collectionViewLayoutSizeForItemAtIndexPath(CollectionView&, CollectionViewFlowLayout& layout, IndexPath path) override
    {
        return names[static_cast<size_t>(path.item)] == "tall" ? Size { 100, 200 } : layout.item_size;
    }
};

// A grid of 100 x 150 items with a 30-point content inset, like the home
// screen's.
struct Grid {
    Items items;
    CollectionView grid;

    Grid(int count, Size size)
        : items(count)
        , grid(Rect { {}, size }, std::make_unique<CollectionViewFlowLayout>())
    {
        grid.layout().item_size = { 100, 150 };
        grid.register_cell_class<NumberedCell>("cell");
        grid.data_source = &items;
        grid.delegate = &items;
        grid.set_content_inset({ 30, 30, 30, 30 });
        grid.layout_if_needed();
    }

    std::vector<std::string> shown() // texts of the cells on screen, by item
    {
        std::vector<std::string> texts;
        for (auto* cell : grid.visible_cells())
            texts.push_back(static_cast<NumberedCell*>(cell)->label->text);
        return texts;
    }
    // The text of the cell drawn at an item's resting place.
    std::string text_at_place(std::int64_t position)
    {
        auto frame = *grid.layout_frame_for_item({ 0, position });
        auto offset = grid.content_offset();
        Point origin { frame.origin.x - offset.x, frame.origin.y - offset.y };
        for (auto* cell : grid.visible_cells()) {
            if (cell->frame.origin == origin)
                return static_cast<NumberedCell*>(cell)->label->text;
        }
        return "(none)";
    }
};

}

TEST(CollectionView, FlowLayoutPlacesEqualItemsTenPointsApartWhateverTheWidth)
{
    struct Case {
        double width;
        int columns;
    } cases[] = {
        { 390, 3 }, // a phone: 330 points of content
        { 820, 7 }, // a tablet, upright
        { 1180, 10 }, // a tablet, on its side
        { 100, 1 }, // narrower than one item: still one per line
        { 380, 3 }, // exactly three items and two gaps
        { 379, 2 }, // half a point short of that
    };
    for (auto const& c : cases) {
        Grid g(10, { c.width, 844 });
        for (std::int64_t item = 0; item < 10; ++item) {
            auto frame = g.grid.layout_frame_for_item({ 0, item });
            ASSERT_TRUE(frame);
            double column = static_cast<double>(item % c.columns), row = static_cast<double>(item / c.columns);
            EXPECT_EQ(*frame, (Rect { { column * 110, row * 160 }, { 100, 150 } })) << "width " << c.width << ", item " << item;
        }
        int rows = (10 + c.columns - 1) / c.columns;
        EXPECT_EQ(g.grid.content_size().height, rows * 160 - 10) << c.width;
        // The first item shows inside the inset, at rest.
        EXPECT_EQ(g.grid.content_offset(), (Point { -30, -30 })) << c.width;
        EXPECT_EQ(g.grid.cell_for_item_at_index_path({ 0, 0 })->frame, (Rect { { 30, 30 }, { 100, 150 } })) << c.width;
    }
}

TEST(CollectionView, ItemAtPointFindsNoneBetweenOrBesideItems)
{
    Grid g(5, { 390, 844 });
    struct Case {
        Point point;
        std::optional<std::int64_t> item;
    } cases[] = {
        { { 0, 0 }, 0 },
        { { 99.9, 149.9 }, 0 },
        { { 105, 50 }, std::nullopt }, // the gap between two items
        { { 50, 155 }, std::nullopt }, // the gap between two lines
        { { 115, 170 }, 4 },
        { { 225, 170 }, std::nullopt }, // where a sixth item would be
        { { -10, 10 }, std::nullopt }, // in the inset
    };
    for (auto const& c : cases) {
        auto path = g.grid.index_path_for_item_at_point(c.point);
        EXPECT_EQ(path ? std::optional(path->item) : std::nullopt, c.item) << c.point.x << ", " << c.point.y;
    }
}

TEST(CollectionView, MakesCellsOnlyForItemsOnScreenAndReusesThemWhenScrolling)
{
    // 5,000 items; a phone shows six lines of three.
    Grid g(5000, { 390, 844 });
    auto on_screen = g.shown();
    EXPECT_EQ(on_screen.size(), 18u);
    EXPECT_EQ(on_screen.front(), "0");
    EXPECT_EQ(g.grid.cells_made(), 18);
    EXPECT_EQ(g.grid.cell_for_item_at_index_path({ 0, 30 }), nullptr) << "no cell for an item off screen";

    auto* first = g.grid.cell_for_item_at_index_path({ 0, 0 });
    g.grid.user_scroll_to({ 0, 160 * 100 });
    EXPECT_EQ(g.shown().front(), "300");
    EXPECT_EQ(g.grid.cell_for_item_at_index_path({ 0, 0 }), nullptr);
    EXPECT_LE(g.grid.cells_made(), 24) << "scrolling reuses the cells that left the screen";
    for (auto* cell : g.grid.visible_cells())
        EXPECT_EQ(cell->gesture_recognizers().size(), 1u) << "a reused cell keeps its recogniser and gets no second one";

    // A user's scroll stops at the end of the content.
    g.grid.user_scroll_to({ 0, 1e9 });
    EXPECT_EQ(g.grid.content_offset().y, g.grid.content_size().height + 30 - 844);
    EXPECT_EQ(g.shown().back(), "4999");
    g.grid.user_scroll_to({ 0, -1e9 });
    EXPECT_EQ(g.grid.content_offset().y, -30);
    EXPECT_NE(std::find(g.grid.visible_cells().begin(), g.grid.visible_cells().end(), first), g.grid.visible_cells().end())
        << "back at the top, cells come from the reuse pool";
}

TEST(CollectionView, AReloadHandsTheSameCellsOutAgainAsTheyWere)
{
    Grid g(3, { 390, 844 });
    auto before = g.grid.visible_cells();
    g.grid.cell_for_item_at_index_path({ 0, 1 })->background = Color::red_color();
    g.items.names = { "a", "b", "c" };
    g.grid.reload_data();
    auto after = g.grid.visible_cells();
    EXPECT_EQ(std::set(before.begin(), before.end()), std::set(after.begin(), after.end()));
    EXPECT_EQ(g.grid.cells_made(), 3);
    EXPECT_EQ(g.shown(), (std::vector<std::string> { "a", "b", "c" }));
    // The data source changed only the texts; the colour stays on its cell,
    // whichever item that cell now shows.
    EXPECT_EQ(std::count_if(after.begin(), after.end(), [](auto* cell) { return cell->background == Color::red_color(); }), 1);
}

TEST(CollectionView, VisibleCellsFollowTheFrame)
{
    Grid g(40, { 390, 844 });
    EXPECT_EQ(g.shown().size(), 18u);
    g.grid.set_frame({ {}, { 820, 1180 } });
    // Seven columns; lines at 0, 160, ... up to 1180 - 30 of content: 8 lines.
    EXPECT_EQ(g.shown().size(), 40u);
    EXPECT_EQ(g.grid.cell_for_item_at_index_path({ 0, 7 })->frame.origin, (Point { 30, 190 }));
    g.grid.set_frame({ {}, { 390, 400 } });
    EXPECT_EQ(g.shown().size(), 9u);
}

TEST(CollectionView, ATapSelectsTheItemUnderItAndNothingBetweenItems)
{
    Grid g(5, { 390, 844 });
    auto& tap = *g.grid.gesture_recognizers().front();
    ASSERT_EQ(tap.type, GestureRecognizer::Type::Tap);
    tap.update(GestureState::Ended, { 30 + 110 + 50, 30 + 75 }); // the middle of item 1
    tap.update(GestureState::Ended, { 30 + 105, 30 + 75 }); // the gap after item 0
    EXPECT_EQ(g.items.selected, std::vector<std::int64_t> { 1 });
}

TEST(CollectionView, InteractiveMovementReflowsTheOthersAndReportsTheDrop)
{
    Grid g(6, { 390, 844 });
    auto place_centre = [&](std::int64_t position) {
        auto frame = *g.grid.layout_frame_for_item({ 0, position });
        return Point { frame.mid_x(), frame.mid_y() };
    };
    auto* lifted = g.grid.cell_for_item_at_index_path({ 0, 0 });
    ASSERT_TRUE(g.grid.begin_interactive_movement_for_item_at_index_path(IndexPath { 0, 0 }));
    EXPECT_TRUE(lifted->is_lifted());

    // Over item 3's place: items 1 to 3 move back one place each.
    g.grid.update_interactive_movement_target_position(place_centre(3));
    EXPECT_EQ(g.grid.interactive_movement_target(), (IndexPath { 0, 3 }));
    EXPECT_EQ(g.text_at_place(0), "1");
    EXPECT_EQ(g.text_at_place(2), "3");
    EXPECT_EQ(g.text_at_place(4), "4");
    // The lifted cell is centred under the target point.
    auto offset = g.grid.content_offset();
    EXPECT_EQ(lifted->frame.mid_x(), place_centre(3).x - offset.x);
    // Between items the target stays where it was.
    g.grid.update_interactive_movement_target_position({ 105, 75 });
    EXPECT_EQ(g.grid.interactive_movement_target(), (IndexPath { 0, 3 }));
    EXPECT_TRUE(g.items.moves.empty());

    g.grid.end_interactive_movement();
    EXPECT_EQ(g.items.moves, (std::vector<std::pair<std::int64_t, std::int64_t>> { { 0, 3 } }));
    EXPECT_FALSE(lifted->is_lifted());
    EXPECT_EQ(g.shown(), (std::vector<std::string> { "1", "2", "3", "0", "4", "5" }));
    EXPECT_EQ(g.text_at_place(3), "0");
}

TEST(CollectionView, CancelledOrRefusedMovementsTellTheDataSourceNothing)
{
    Grid g(6, { 390, 844 });
    EXPECT_FALSE(g.grid.begin_interactive_movement_for_item_at_index_path(std::nullopt));
    EXPECT_FALSE(g.grid.begin_interactive_movement_for_item_at_index_path(IndexPath { 0, 6 }));
    g.grid.update_interactive_movement_target_position({ 50, 75 });
    g.grid.end_interactive_movement();

    ASSERT_TRUE(g.grid.begin_interactive_movement_for_item_at_index_path(IndexPath { 0, 1 }));
    EXPECT_FALSE(g.grid.begin_interactive_movement_for_item_at_index_path(IndexPath { 0, 2 })) << "one lift at a time";
    g.grid.update_interactive_movement_target_position({ 50, 240 });
    EXPECT_EQ(g.text_at_place(0), "0");
    EXPECT_EQ(g.text_at_place(1), "2");
    g.grid.cancel_interactive_movement();
    EXPECT_EQ(g.shown(), (std::vector<std::string> { "0", "1", "2", "3", "4", "5" }));
    for (std::int64_t i = 0; i < 6; ++i)
        EXPECT_EQ(g.text_at_place(i), std::to_string(i));

    g.items.movable = false;
    EXPECT_FALSE(g.grid.begin_interactive_movement_for_item_at_index_path(IndexPath { 0, 1 }));
    EXPECT_TRUE(g.items.moves.empty());
}

TEST(CollectionView, ItemsOfOtherSizesAreCentredInTheirLineAndMoveWithTheirSize)
{
    Grid g(6, { 390, 844 });
    g.items.names[1] = "tall";
    g.grid.reload_data();
    auto frame = [&](std::int64_t position) { return *g.grid.layout_frame_for_item({ 0, position }); };
    EXPECT_EQ(frame(0), (Rect { { 0, 25 }, { 100, 150 } }));
    EXPECT_EQ(frame(1), (Rect { { 110, 0 }, { 100, 200 } }));
    EXPECT_EQ(frame(3).origin.y, 210) << "the next line starts below the tallest item";

    // Dropped at the start of the second line, the tall item makes that
    // line the tall one.
    ASSERT_TRUE(g.grid.begin_interactive_movement_for_item_at_index_path(IndexPath { 0, 1 }));
    g.grid.update_interactive_movement_target_position({ 50, 260 });
    EXPECT_EQ(g.grid.interactive_movement_target(), (IndexPath { 0, 3 }));
    EXPECT_EQ(frame(0).size.height, 150);
    EXPECT_EQ(frame(3).size.height, 200);
    g.grid.end_interactive_movement();
    EXPECT_EQ(g.items.names, (std::vector<std::string> { "0", "2", "3", "tall", "4", "5" }));
    EXPECT_EQ(frame(3), (Rect { { 0, 160 }, { 100, 200 } }));
    EXPECT_EQ(g.text_at_place(3), "tall");
}
