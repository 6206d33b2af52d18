#pragma once

// The alerts the library operations show themselves. Each answer runs after
// the alert is gone; the alerts hold nothing of the operations but the
// handlers they are given.

#include <functional>
#include <memory>
#include <string>

namespace cw {

class AlertController;
class AppContext;

// A folder of that name already exists at the top level. "Rename" hands the
// entered text on only when it is not empty.
std::unique_ptr<AlertController> make_duplicate_folder_name_alert(AppContext&, std::function<void(std::string const& name)> rename);

// Confirms deleting the script named `name` from the home screen.
std::unique_ptr<AlertController> make_delete_script_confirmation(AppContext&, std::string const& name, std::function<void()> confirmed);

}
