// The editor's save and delete.

#include "editScriptViewController.h"

#include "library/library_operations.h"
#include "library/library_records.h"
#include "library/script_start_values.h"
#include "library/store_keys.h"
#include "platform/foundation/format.h"
#include "platform/ui/alert_controller.h"
#include "platform/ui/app_context.h"
#include "platform/ui/editable_text_view.h"
#include "platform/ui/navigation_controller.h"

namespace cw {

void editScriptViewController::saveScript()
{
    // The mode was fixed at load, but whether the script is an imported one
    // is read again here.
    bool imported = context().defaults.boolean(keys::isImportedScript);
    if (imported || isNewScript)
        saveNewScript(imported);
    else
        saveExistingScript();
    if (auto* navigation = navigation_controller())
        navigation->pop(true);
}

void editScriptViewController::saveNewScript(bool imported)
{
    auto& store = context().defaults;
    scriptName = store.string(keys::temporaryTitle);

    // The new record goes to the end of the top level, whatever folder the
    // home screen shows.
    auto library = store.list(keys::combinedDataSource);
    library.push_back(make_script_record(scriptName, generateUniqueIDForScriptName(scriptName)));
    store.set(keys::combinedDataSource, std::move(library));

    // An imported script's title and text are stored here, not by the import
    // dialog, and the text is the editor's: the presenter may have corrected
    // the document's text before saving. A new script's name was checked
    // against the stored titles before the editor opened.
    if (imported || !find_script_index(scriptTitles, scriptName)) {
        if (!imported)
            context().log.line(format("Added Script Name: %@", { scriptName }));
        scriptTitles.push_back(scriptName);
        scriptText.push_back(editTextView->text());
    }
    store.set(keys::scriptTitlesArray, scriptTitles);
    store.set(keys::scriptTextArray, scriptText);

    newScriptIndex = static_cast<std::int64_t>(scriptText.size()) - 1;
    store.set_integer(keys::currentlyEditingIndex, newScriptIndex);
    saveScriptDataAtIndex(newScriptIndex);
}

void editScriptViewController::saveScriptDataAtIndex(std::int64_t i)
{
    auto& store = context().defaults;
    auto position = static_cast<size_t>(std::max<std::int64_t>(i, 0));
    auto values = script_start_values();
    auto lists = settingsLists();
    for (size_t k = 0; k < lists.size(); ++k) {
        auto& list = *lists[k];
        if (list.size() > position)
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(position), values[k]);
        else
            list.push_back(values[k]);
        store.set(keys::perScriptSettings[k], list);
    }
    store.set(keys::scriptTitlesArray, scriptTitles);
    store.set(keys::scriptTextArray, scriptText);
}

// Only the text changes. The script's settings (text size, scrolling,
// colours, mirror, voice scrolling, recording) are the presenter's choices
// and stay as they are; so does the title.
void editScriptViewController::saveExistingScript()
{
    auto& store = context().defaults;
    auto i = store.integer(keys::currentlyEditingIndex);
    if (i < 0 || static_cast<size_t>(i) >= scriptText.size())
        return;
    scriptText[static_cast<size_t>(i)] = editTextView->text();
    store.set(keys::scriptTextArray, scriptText);
}

void editScriptViewController::deleteScript()
{
    auto alert = std::make_unique<AlertController>(context(), "Delete this Script?",
        "Are you sure? This cannot be undone. If you want to make changes, just edit this script and save it.", AlertStyle::Alert);
    alert->add_action("Yes, delete it!", AlertActionStyle::Default, [this](AlertController&) { deleteConfirmed(); });
    // The alert is already gone when this runs; nothing else happens.
    alert->add_action("No, I'll edit it thanks!", AlertActionStyle::Default);
    present(std::move(alert), true);
}

static void erase_at(List& list, size_t position)
{
    if (position < list.size())
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(position));
}

void editScriptViewController::deleteConfirmed()
{
    if (scriptIndex < 0 || static_cast<size_t>(scriptIndex) >= scriptTitles.size())
        return;
    auto position = static_cast<size_t>(scriptIndex);
    auto const& noted = scriptTitles[position];
    std::string title = noted.is_string() ? noted.as_string() : std::string {};

    erase_at(scriptText, position);
    erase_at(scriptTitles, position);
    auto lists = settingsLists();
    for (auto* list : lists)
        erase_at(*list, position);

    auto& store = context().defaults;
    for (size_t k = 0; k < lists.size(); ++k)
        store.set(keys::perScriptSettings[k], *lists[k]);
    store.set(keys::scriptTitlesArray, scriptTitles);
    store.set(keys::scriptTextArray, scriptText);
    remove_script_record_with_name(store, title);

    returnToHomeScreen();
}

void editScriptViewController::returnToHomeScreen()
{
    auto* navigation = navigation_controller();
    if (!navigation)
        return;
    std::vector<Screen*> homes;
    for (auto const& screen : navigation->stack()) {
        if (std::string_view(screen->class_name()) == "ViewController")
            homes.push_back(screen.get());
    }
    for (auto* home : homes)
        navigation->pop_to(*home, false);
}

}
