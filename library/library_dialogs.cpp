#include "library_dialogs.h"

#include "platform/foundation/format.h"
#include "platform/ui/alert_controller.h"

namespace cw {

std::unique_ptr<AlertController> make_duplicate_folder_name_alert(AppContext& context, std::function<void(std::string const&)> rename)
{
    auto alert = std::make_unique<AlertController>(context, "Duplicate Folder Name",
        "A folder with the same name already exists. Please enter a different name.", AlertStyle::Alert);
    alert->add_text_field("Enter a new folder name");
    alert->add_action("Cancel", AlertActionStyle::Cancel);
    alert->add_action("Rename", AlertActionStyle::Default, [rename = std::move(rename)](AlertController& answered) {
        auto name = answered.field_text(0);
        if (!name.empty())
            rename(name);
    });
    return alert;
}

std::unique_ptr<AlertController> make_delete_script_confirmation(AppContext& context, std::string const& name, std::function<void()> confirmed)
{
    auto alert = std::make_unique<AlertController>(context, "Confirm Deletion",
        format("Are you sure you want to delete the script '%@'?", { name }), AlertStyle::Alert);
    alert->add_action("Cancel", AlertActionStyle::Cancel);
    alert->add_action("Delete", AlertActionStyle::Destructive, [confirmed = std::move(confirmed)](AlertController&) { confirmed(); });
    return alert;
}

}
