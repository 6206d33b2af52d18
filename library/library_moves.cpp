// Moving scripts into and out of folders, and reordering by drag. A moved
// script keeps its title, text and settings where they are: only its record
// changes place, so its script index stays the same.

#include "library_operations.h"

#include "library/library_records.h"
#include "library/store_keys.h"
#include "platform/foundation/format.h"
#include "platform/ui/app_context.h"

#include <algorithm>
#include <vector>

namespace cw {

static std::vector<size_t> folder_positions(List const& library)
{
    std::vector<size_t> positions;
    for (size_t i = 0; i < library.size(); ++i) {
        if (is_folder_record(library[i]))
            positions.push_back(i);
    }
    return positions;
}

static bool folder_holds_unique_id(Value const& folder, std::string const& unique_id)
{
    auto scripts = folder_scripts(folder);
    return std::any_of(scripts.begin(), scripts.end(), [&](Value const& script) {
        auto const* field = script.field(records::uniqueID);
        return field && field->is_string() && field->as_string() == unique_id;
    });
}

void LibraryOperations::moveScriptAtIndexToFolder(std::int64_t script, std::int64_t folder)
{
    auto library = store().list(keys::combinedDataSource);
    auto folders_in_order = folder_positions(library);
    // The sheet is only offered for script records; a folder is never moved
    // into a folder, because folders do not nest.
    if (script < 0 || folder < 0 || static_cast<size_t>(script) >= library.size()
        || static_cast<size_t>(folder) >= folders_in_order.size()
        || !is_script_record(library[static_cast<size_t>(script)])) {
        log("Invalid indices for script or folder.");
        return;
    }
    auto s = static_cast<size_t>(script);
    size_t target_position = folders_in_order[static_cast<size_t>(folder)];
    Value moving = library[s];
    Value target = library[target_position];

    // Two records with the same name but different identifiers are
    // different records; only the very same record is refused.
    auto const* moving_id = moving.field(records::uniqueID);
    if (moving_id && moving_id->is_string() && folder_holds_unique_id(target, moving_id->as_string())) {
        log("Script is already in the target folder.");
        return;
    }

    auto scripts = folder_scripts(target);
    scripts.push_back(moving);
    Value updated = with_scripts(target, std::move(scripts));

    library.erase(library.begin() + static_cast<std::ptrdiff_t>(s));
    if (s < target_position)
        --target_position;
    library[target_position] = updated;
    store().set(keys::combinedDataSource, std::move(library));

    auto folders = store().list(keys::folders);
    replace_first_equal(folders, target, updated);
    store().set(keys::folders, std::move(folders));

    log(format("Script moved to %@", { record_name(target) }));
    m_grid.configureCollectionView();
    m_grid.reloadData();
}

void LibraryOperations::moveScriptWithName(std::string const& name)
{
    auto library = store().list(keys::combinedDataSource);
    std::optional<Value> folder;
    size_t k = 0;
    for (auto const& item : library) {
        auto const* scripts = item.field(records::scripts);
        if (!scripts || !scripts->is_list())
            continue;
        if (auto found = find_record_named(scripts->as_list(), name)) {
            folder = item;
            k = *found;
            break;
        }
    }
    if (!folder) {
        log(format("Script '%@' not found in any folder.", { name }));
        return;
    }

    auto scripts = folder_scripts(*folder);
    Value moving = scripts[k];
    scripts.erase(scripts.begin() + static_cast<std::ptrdiff_t>(k));
    Value updated = with_scripts(*folder, std::move(scripts));
    replace_first_equal(library, *folder, updated);
    library.push_back(make_script_record(name, record_unique_id(moving)));
    store().set(keys::combinedDataSource, std::move(library));

    auto folders = store().list(keys::folders);
    replace_first_equal(folders, *folder, updated);
    store().set(keys::folders, std::move(folders));
    store().synchronize();

    m_grid.configureCollectionView();
    m_grid.reloadData();
    log(format("Moved script '%@' out of folder '%@'", { name, record_name(*folder) }));
}

static bool move_element(List& list, std::int64_t from, std::int64_t to)
{
    auto size = static_cast<std::int64_t>(list.size());
    if (from < 0 || from >= size || to < 0 || to >= size)
        return false;
    Value moving = std::move(list[static_cast<size_t>(from)]);
    list.erase(list.begin() + from);
    list.insert(list.begin() + to, std::move(moving));
    return true;
}

void LibraryOperations::collectionViewMoveItemAtIndexPathToIndexPath(GridLists lists, std::int64_t from, std::int64_t to)
{
    log("Move item at index path called");
    if (lists.isInsideFolder)
        moveItemInsideFolder(lists, from, to);
    else
        moveItemAtTopLevel(lists, from, to);
}

void LibraryOperations::moveItemAtTopLevel(GridLists& lists, std::int64_t from, std::int64_t to)
{
    if (move_element(lists.collectionDataSource, from, to))
        m_grid.reapplyAnimationsToVisibleCells();
    // Stored even when unchanged: the grid's order is the order the user sees.
    store().set(keys::combinedDataSource, lists.collectionDataSource);

    m_grid.reapplyAnimationsToVisibleCells();
    m_grid.reloadData();
    m_grid.configureCollectionView();
    m_grid.reapplyAnimationsToVisibleCells();
}

void LibraryOperations::moveItemInsideFolder(GridLists& lists, std::int64_t from, std::int64_t to)
{
    if (move_element(lists.currentFolderDataSource, from, to)) {
        auto library = store().list(keys::combinedDataSource);
        bool found = std::find(library.begin(), library.end(), lists.selectedFolder) != library.end();
        m_grid.reapplyAnimationsToVisibleCells();
        if (found) {
            // The folder as the grid last took it from the store; the folder
            // list's copy is equal to it.
            Value before = lists.selectedFolder;
            Value updated = with_scripts(before, lists.currentFolderDataSource);
            replace_first_equal(library, before, updated);
            store().set(keys::combinedDataSource, std::move(library));
            auto folders = store().list(keys::folders);
            replace_first_equal(folders, before, std::move(updated));
            store().set(keys::folders, std::move(folders));
            m_grid.reapplyAnimationsToVisibleCells();
        }
    }
    // The grid build takes the top-level list and the open folder from the
    // store again; the grid's own top-level list is not stored here.
    m_grid.reapplyAnimationsToVisibleCells();
    m_grid.reloadData();
    m_grid.configureCollectionView();
    m_grid.reapplyAnimationsToVisibleCells();
}

}
