// Deleting a script by name: its record goes from the library list (from
// the top level or from its folder, whichever comes first), then its title,
// text and settings go from the nine parallel lists.

#include "library_operations.h"

#include "library/library_dialogs.h"
#include "library/library_records.h"
#include "library/script_lists.h"
#include "library/store_keys.h"
#include "platform/foundation/format.h"
#include "platform/ui/alert_controller.h"
#include "platform/ui/app_context.h"

namespace cw {

void LibraryOperations::deleteScriptWithName(std::string const& name)
{
    m_presenter.present(make_delete_script_confirmation(m_presenter.context(), name, [this, name] {
        deleteScriptConfirmedWithName(name);
    }),
        true);
}

void LibraryOperations::deleteScriptConfirmedWithName(std::string const& name)
{
    auto removal = removeScriptRecordWithName(name);
    if (!removal.found()) {
        log(format("Script '%@' not found for deletion.", { name }));
        return;
    }
    removeScriptDataWithName(name);

    m_grid.configureCollectionView();
    m_grid.reloadData();
    if (removal.where == RecordRemoval::Where::Folder)
        log(format("Deleted script '%@' from folder '%@'", { name, removal.folder_name }));
    else
        log(format("Deleted script '%@'", { name }));
}

RecordRemoval LibraryOperations::removeScriptRecordWithName(std::string const& name)
{
    return remove_script_record_with_name(store(), name);
}

// The first match in list order decides: a folder holding the name that
// comes before a top-level script of that name wins, and the reverse.
RecordRemoval remove_script_record_with_name(Defaults& store, std::string const& name)
{
    auto library = store.list(keys::combinedDataSource);
    for (size_t i = 0; i < library.size(); ++i) {
        Value item = library[i];
        if (is_folder_record(item)) {
            auto scripts = folder_scripts(item);
            auto k = find_record_named(scripts, name);
            if (!k)
                continue;
            Value folder = item;
            scripts.erase(scripts.begin() + static_cast<std::ptrdiff_t>(*k));
            Value updated = with_scripts(folder, std::move(scripts));
            replace_first_equal(library, folder, updated);
            store.set(keys::combinedDataSource, std::move(library));
            auto folders = store.list(keys::folders);
            replace_first_equal(folders, folder, std::move(updated));
            store.set(keys::folders, std::move(folders));
            return { RecordRemoval::Where::Folder, record_name(folder) };
        }
        if (is_script_record(item) && record_name(item) == name) {
            Value script = item;
            remove_all_equal(library, script);
            store.set(keys::combinedDataSource, std::move(library));
            return { RecordRemoval::Where::TopLevel, {} };
        }
    }
    return {};
}

void LibraryOperations::removeScriptDataWithName(std::string const& name)
{
    auto scripts = ScriptLists::load(store());
    auto k = find_script_index(scripts.titles, name);
    if (!k)
        return;
    scripts.remove_at(*k);
    scripts.store_titles(store());
    scripts.store_texts(store());
    scripts.store_settings(store());
}

}
