// The home screen's grid: the grid build, the items it shows, the tiles,
// and what a tap on a tile opens.
//
// While a folder is open the grid shows that folder's scripts as the last
// grid build took them from the store, so that a position means the same
// script for the tile, the tap and the long press.

#include "ViewController.h"

#include "library/library_records.h"
#include "library/store_keys.h"
#include "platform/foundation/format.h"
#include "platform/ui/app_context.h"
#include "platform/ui/navigation_controller.h"

#include <algorithm>
#include <limits>

namespace cw {

// The old grid, toolbar and drag recogniser live until the end of the turn:
// the build may run from inside their own callbacks.
void ViewController::retire_grid()
{
    struct Retired {
        std::unique_ptr<View> grid;
        std::unique_ptr<View> bar;
        std::unique_ptr<CatCollectionViewReorder> reorder;
    };
    auto retired = std::make_shared<Retired>();
    if (_collectionView)
        retired->grid = _collectionView->remove_from_superview();
    if (toolbar)
        retired->bar = toolbar->remove_from_superview();
    retired->reorder = std::move(_collectionViewReorder);
    _collectionView = nullptr;
    toolbar = nullptr;
    goBackButton = nullptr;
    context().loop.post([retired] { });
}

void ViewController::configureCollectionView()
{
    _collectionDataSource = context().defaults.list(keys::combinedDataSource);
    take_open_folder_again();
    retire_grid();

    auto layout = std::make_unique<CollectionViewFlowLayout>();
    layout->item_size = home::item_size;
    auto grid = std::make_unique<CollectionView>(Rect { {}, view().frame.size }, std::move(layout));
    grid->name = "collectionView";
    _collectionView = &view().add_subview(std::move(grid));
    _collectionView->register_cell_class(home::cell_identifier, [clock = &context().loop](Rect frame) {
        return std::make_unique<CustomCollectionViewCell>(frame, clock);
    });
    _collectionView->data_source = this;
    _collectionView->delegate = this;
    _collectionView->set_content_inset(home::content_inset);
    _collectionView->scroll_indicator_insets = home::scroll_indicator_insets;
    _collectionView->set_safe_area_insets({ home::navigation_bar_height + home::controls_height, 0, 0, 0 });

    _collectionViewReorder = std::make_unique<CatCollectionViewReorder>();
    _collectionViewReorder->bindToCollectionView(*_collectionView);
    _collectionView->background = home::grid_background;

    build_toolbar();
    bring_fixed_controls_to_front();

    _collectionView->layout_if_needed();
    if (isInRearrangeMode)
        reapplyAnimationsToVisibleCells();
}

void ViewController::reloadData()
{
    ++m_grid_reloads;
    if (_collectionView)
        _collectionView->reload_data();
}

// The folder view follows the stored folder of its name. A folder that left
// the library meanwhile shows as empty, and taps and presses in it find
// nothing.
void ViewController::take_open_folder_again()
{
    if (!selectedFolderName)
        return;
    for (auto const& item : _collectionDataSource) {
        if (is_folder_record(item) && record_name(item) == *selectedFolderName) {
            selectedFolder = item;
            currentFolderDataSource = folder_scripts(item);
            return;
        }
    }
    selectedFolder = Value {};
    currentFolderDataSource.clear();
}

List const* ViewController::open_folder_scripts() const
{
    for (auto const& item : _collectionDataSource) {
        if (is_folder_record(item) && record_name(item) == *selectedFolderName) {
            auto const* scripts = item.field(records::scripts);
            return scripts && scripts->is_list() ? &scripts->as_list() : nullptr;
        }
    }
    return nullptr;
}

List const& ViewController::shown_items() const
{
    static List const none;
    if (!selectedFolderName)
        return _collectionDataSource;
    auto const* scripts = open_folder_scripts();
    return scripts ? *scripts : none;
}

std::int64_t ViewController::collectionViewNumberOfItemsInSection(CollectionView&, std::int64_t)
{
    return static_cast<std::int64_t>(shown_items().size());
}

Size ViewController::collectionViewLayoutSizeForItemAtIndexPath(CollectionView&, CollectionViewFlowLayout&, IndexPath)
{
    return home::item_size;
}

CollectionViewCell& ViewController::collectionViewCellForItemAtIndexPath(CollectionView& grid, IndexPath path)
{
    auto& tile = static_cast<CustomCollectionViewCell&>(grid.dequeue_reusable_cell(home::cell_identifier, path));
    auto const& items = shown_items();
    if (path.item >= 0 && static_cast<size_t>(path.item) < items.size()) {
        auto const& record = items[static_cast<size_t>(path.item)];
        // Inside a folder every record is shown as a script. At the top
        // level a record of another kind leaves the tile as it came.
        if (selectedFolderName || is_script_record(record)) {
            tile.textLabel->text = record_name(record);
            tile.background = tile::script_background;
        } else if (is_folder_record(record)) {
            tile.textLabel->text = record_name(record);
            tile.background = tile::folder_background;
        }
    }

    if (!tile.cellLongPressGestureRecognizer) {
        auto press = std::make_unique<GestureRecognizer>(GestureRecognizer::Type::LongPress);
        press->on_action = [this](GestureRecognizer& recognizer) { handleLongPress(recognizer); };
        tile.cellLongPressGestureRecognizer = &tile.add_gesture_recognizer(std::move(press));
    }
    if (isInRearrangeMode) {
        tile.cellLongPressGestureRecognizer->enabled = false;
        // The tile being filled is not on screen yet, so the tiles on screen
        // are put into the mode and this one with them.
        reapplyAnimationsToVisibleCells();
        put_in_rearrange_mode(tile);
    } else {
        tile.cellLongPressGestureRecognizer->enabled = true;
    }
    return tile;
}

void ViewController::collectionViewDidSelectItemAtIndexPath(CollectionView&, IndexPath path)
{
    if (isInRearrangeMode)
        return;
    auto position = static_cast<size_t>(path.item);
    Value record;
    if (isInsideFolder) {
        if (path.item < 0 || position >= currentFolderDataSource.size())
            return;
        record = currentFolderDataSource[position];
    } else {
        auto stored = context().defaults.list(keys::combinedDataSource);
        if (path.item < 0 || position >= stored.size())
            return;
        record = stored[position];
    }
    if (!isInsideFolder && is_folder_record(record))
        open_folder(record);
    else if (is_script_record(record))
        open_script_named(record_name(record));
}

void ViewController::open_folder(Value const& record)
{
    selectedFolderName = record_name(record);
    selectedFolder = record;
    isInsideFolder = true;
    currentFolderDataSource = folder_scripts(record);
    goBackButton->hidden = false;
    reloadData();
}

// The position the platform answers for a title that is not there.
static constexpr std::int64_t title_not_found = std::numeric_limits<std::int64_t>::max();

// The script index is the first position of the name among the titles; the
// prompter learns which script to show from the working keys.
void ViewController::open_script_named(std::string const& name)
{
    auto found = std::find(scriptTitles.begin(), scriptTitles.end(), name);
    std::int64_t index = found == scriptTitles.end() ? title_not_found : found - scriptTitles.begin();
    if (found == scriptTitles.end() || static_cast<size_t>(index) >= scriptText.size()) {
        context().log.line(format("Script selection failed. selectedIndex=%ld, scriptText.count=%lu", { index, static_cast<std::uint64_t>(scriptText.size()) }));
        return;
    }
    auto& store = context().defaults;
    auto i = static_cast<size_t>(index);
    store.set(keys::currentlyEditingTitle, scriptTitles[i]);
    store.set(keys::currentlyEditingText, scriptText[i]);
    store.set_integer(keys::currentlyEditingIndex, index);
    store.set_boolean(keys::isNewScript, false);
    auto prompter = context().storyboard.instantiate(context(), "scriptID");
    if (auto* navigation = navigation_controller(); navigation && prompter)
        navigation->push(std::move(prompter), true);
}

void ViewController::goBack(BarButtonItem*)
{
    selectedFolderName.reset();
    reloadData();
    goBackButton->hidden = true;
    isInsideFolder = false;
}

CustomCollectionViewCell* ViewController::tile_at(IndexPath path) const
{
    return _collectionView ? static_cast<CustomCollectionViewCell*>(_collectionView->cell_for_item_at_index_path(path)) : nullptr;
}

}
