#include "ViewController.h"

#include "library/library_records.h"
#include "library/store_keys.h"
#include "platform/ui/app_context.h"

namespace cw {

ViewController::ViewController(AppContext& context)
    : Screen(context)
{
    title = "Scripts";
}

ViewController::~ViewController() = default;

void ViewController::viewDidLoad()
{
    isInRearrangeMode = false;
    reloadStoredScripts();
    context().window.status_bar_light_content = true;
    rebuildLibraryListIfNeeded();

    configureCollectionView();
    reloadData();
    goBackButton->hidden = true;
}

void ViewController::viewDidAppear(bool animated)
{
    reloadData();
    Screen::viewDidAppear(animated);
    reloadStoredScripts();
    reloadData();
    configureCollectionView();
}

void ViewController::reloadStoredScripts()
{
    auto& store = context().defaults;
    scriptText = string_list(store.list(keys::scriptTextArray));
    scriptTitles = string_list(store.list(keys::scriptTitlesArray));
}

// Stores made before the library list existed, or whose library list was
// emptied, get one top-level record per title, followed by the stored
// folders. A library list with records is never touched.
void ViewController::rebuildLibraryListIfNeeded()
{
    auto& store = context().defaults;
    auto stored_library = store.object(keys::combinedDataSource);
    auto stored_folders = store.object(keys::folders);
    if (stored_library && stored_library->is_list() && !stored_library->as_list().empty())
        return;

    List library;
    for (auto const& title : string_list(store.list(keys::scriptTitlesArray)))
        library.push_back(make_script_record(title, generateUniqueIDForScriptName(title)));
    if (stored_folders && stored_folders->is_list()) {
        for (auto const& folder : stored_folders->as_list())
            library.push_back(folder);
    }
    store.set(keys::combinedDataSource, std::move(library));
    store.set(keys::folders, stored_folders ? *stored_folders : Value(List {}));
    store.synchronize();
}

std::string ViewController::generateUniqueIDForScriptName(std::string const& name) const
{
    return cw::generateUniqueIDForScriptName(name, context().loop.seconds_since_1970());
}

void ViewController::describe(Record& record) const
{
    record["isInRearrangeMode"] = isInRearrangeMode;
    record["isInsideFolder"] = isInsideFolder;
    if (selectedFolderName)
        record["selectedFolderName"] = *selectedFolderName;
    record["itemCount"] = static_cast<std::int64_t>(shown_items().size());
}

}
