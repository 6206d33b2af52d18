// The home screen's dialogs and sheets that lead to the library operations:
// naming a new script or folder, renaming and deleting a folder, and
// choosing the folder a script moves into. Each answer runs after its
// dialog is gone, and reads the typed text then.

#include "ViewController.h"

#include "library/library_records.h"
#include "library/store_keys.h"
#include "platform/foundation/format.h"
#include "platform/ui/alert_controller.h"
#include "platform/ui/app_context.h"
#include "platform/ui/navigation_controller.h"

namespace cw {

static std::unique_ptr<AlertController> make_alert(AppContext& context, std::string title, std::string message, AlertStyle style = AlertStyle::Alert)
{
    return std::make_unique<AlertController>(context, std::move(title), std::move(message), style);
}

void ViewController::createScript()
{
    auto alert = make_alert(context(), "Create New Script", "Enter script name");
    alert->add_text_field({}, KeyboardType::AsciiCapable);
    // The name is taken as typed: no trimming, and an empty name is a name.
    alert->add_action("Create Script", AlertActionStyle::Default, [this](AlertController& answered) {
        createScriptNamed(answered.field_text(0));
    });
    present(std::move(alert), true);
}

void ViewController::createScriptNamed(std::string const& name)
{
    if (scriptNameExists(name)) {
        promptScriptNameExists();
        return;
    }
    auto& store = context().defaults;
    store.set(keys::temporaryTitle, name);
    store.set_boolean(keys::isNewScript, true);
    store.set_boolean(keys::isImportedScript, false);
    if (auto* navigation = navigation_controller())
        navigation->push(context().storyboard.instantiate(context(), "editScriptID"), true);
}

void ViewController::promptScriptNameExists()
{
    auto alert = make_alert(context(), "Script Name Exists", "A script with this name already exists. Please choose another name.");
    alert->add_action("OK", AlertActionStyle::Default, [this](AlertController&) { createScript(); });
    present(std::move(alert), true);
}

void ViewController::createFolder()
{
    auto alert = make_alert(context(), "Create a New Folder", "Enter a name for the new folder");
    alert->add_text_field("Folder Name");
    alert->add_action("Save", AlertActionStyle::Default, [this](AlertController& answered) {
        auto name = answered.field_text(0);
        if (!name.empty())
            createFolderWithName(name);
    });
    alert->add_action("Cancel", AlertActionStyle::Cancel);
    present(std::move(alert), true);
}

void ViewController::showRenameFolderAlertForFolderAtIndex(std::int64_t index)
{
    auto alert = make_alert(context(), "Rename Folder", "Enter the new folder name:");
    alert->add_text_field("New Folder Name");
    alert->add_action("Cancel", AlertActionStyle::Cancel);
    alert->add_action("Rename", AlertActionStyle::Default, [this, index](AlertController& answered) {
        auto text = answered.field_text(0);
        if (!text.empty())
            renameFolderAtIndex(index, text);
    });
    present(std::move(alert), true);
}

void ViewController::confirmFolderDeletionForFolderAtIndex(std::int64_t index)
{
    auto alert = make_alert(context(), "Confirm Deletion", "Are you sure you want to delete this folder and its contents?");
    alert->add_action("Cancel", AlertActionStyle::Cancel);
    alert->add_action("Delete", AlertActionStyle::Destructive, [this, index](AlertController&) {
        context().log.line(format("Deleting folder at index: %ld", { index }));
        deleteFolderAtIndex(index);
    });
    present(std::move(alert), true);
}

// The folders are listed in library order, as the grid shows them, and the
// chosen position is a position in that same order.
void ViewController::showFolderSelectionSheetForScriptAtIndex(std::int64_t script)
{
    auto sheet = make_alert(context(), "Select Folder", {}, AlertStyle::ActionSheet);
    std::int64_t folder = 0;
    for (auto const& item : context().defaults.list(keys::combinedDataSource)) {
        if (!is_folder_record(item))
            continue;
        sheet->add_action(record_name(item), AlertActionStyle::Default, [this, script, folder](AlertController&) {
            moveScriptAtIndexToFolder(script, folder);
        });
        ++folder;
    }
    sheet->add_action("Cancel", AlertActionStyle::Cancel);
    if (context().window.is_tablet())
        sheet->popover_anchor = PopoverAnchor { {}, &view(), { { view().frame.size.width / 2, view().frame.size.height / 2 }, { 1, 1 } } };
    present(std::move(sheet), true);
}

}
