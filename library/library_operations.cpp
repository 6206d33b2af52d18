// The name test and the folder operations: create, rename, delete.

#include "library_operations.h"

#include "library/library_dialogs.h"
#include "library/library_records.h"
#include "library/script_lists.h"
#include "library/store_keys.h"
#include "platform/foundation/format.h"
#include "platform/ui/alert_controller.h"
#include "platform/ui/app_context.h"

namespace cw {

LibraryOperations::LibraryOperations(Screen& presenter, LibraryGrid& grid)
    : m_presenter(presenter)
    , m_grid(grid)
{
}

Defaults& LibraryOperations::store() const
{
    return m_presenter.context().defaults;
}

void LibraryOperations::log(std::string const& line) const
{
    m_presenter.context().log.line(line);
}

bool LibraryOperations::scriptNameExists(std::string const& name) const
{
    return find_script_index(store().list(keys::scriptTitlesArray), name).has_value();
}

// Only top-level names count: a script named like the new folder inside
// some folder does not block it.
static bool top_level_name_taken(List const& library, std::string const& name)
{
    for (auto const& item : library) {
        auto const* field = item.field(records::name);
        if (field && field->is_string() && field->as_string() == name)
            return true;
    }
    return false;
}

void LibraryOperations::createFolderWithName(std::string const& name)
{
    auto library = store().list(keys::combinedDataSource);
    if (top_level_name_taken(library, name)) {
        m_presenter.present(make_duplicate_folder_name_alert(m_presenter.context(), [this](std::string const& other) {
            createFolderWithName(other);
        }),
            true);
        return;
    }
    Value folder = make_folder_record(name);
    library.push_back(folder);
    store().set(keys::combinedDataSource, std::move(library));
    auto folders = store().list(keys::folders);
    folders.push_back(std::move(folder));
    store().set(keys::folders, std::move(folders));

    m_grid.reloadData();
    m_grid.configureCollectionView();
}

void LibraryOperations::renameFolderAtIndex(std::int64_t index, std::string const& text)
{
    if (text.empty())
        return;
    auto library = store().list(keys::combinedDataSource);
    if (index < 0 || static_cast<size_t>(index) >= library.size())
        return;
    auto& item = library[static_cast<size_t>(index)];
    Value before = item;
    item = with_name(item, text);
    Value renamed = item;
    store().set(keys::combinedDataSource, std::move(library));

    auto folders = store().list(keys::folders);
    replace_first_equal(folders, before, std::move(renamed));
    store().set(keys::folders, std::move(folders));

    m_grid.configureCollectionView();
    m_grid.reloadData();
}

void LibraryOperations::deleteFolderAtIndex(std::int64_t index)
{
    auto library = store().list(keys::combinedDataSource);
    auto folders = store().list(keys::folders);
    auto scripts = ScriptLists::load(store());

    if (index < 0 || static_cast<size_t>(index) >= library.size()) {
        log(format("Invalid index: %ld", { index }));
        return;
    }
    auto position = library.begin() + static_cast<std::ptrdiff_t>(index);
    if (!is_folder_record(*position)) {
        log(format("Invalid item type at index %ld. It's not a folder.", { index }));
        return;
    }
    Value folder = *position;
    library.erase(position);
    remove_all_equal(folders, folder);

    // The folder's scripts go with it. A record whose name matches no title
    // has nothing else to remove.
    for (auto const& script : folder_scripts(folder)) {
        if (!is_script_record(script))
            continue;
        if (auto k = find_script_index(scripts.titles, record_name(script)))
            scripts.remove_at(*k);
    }

    Value updated = library;
    store().set(keys::combinedDataSource, std::move(library));
    store().set(keys::folders, std::move(folders));
    scripts.store_titles(store());
    scripts.store_texts(store());
    scripts.store_settings(store());
    store().synchronize();
    log(format("Folder deleted successfully. Updated combinedDataSource: %@", { describe(updated) }));

    m_grid.configureCollectionView();
    m_grid.reloadData();
}

}
