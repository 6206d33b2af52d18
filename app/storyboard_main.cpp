#include "application.h"

#include "library/editScriptViewController.h"
#include "prompter/scriptViewController.h"
#include "remote/RemoteCommandSenderViewController.h"
#include "settings/SettingsTableViewController.h"
#include "settings/settingsViewController.h"
#include "home/ViewController.h"
#include "videos/VideoViewController.h"

namespace cw {

// Screens of the "Main" layout by identifier. Screens join here as they are
// built; an identifier that is not here yet is refused with a clear log line.
void register_main_storyboard(StoryboardRegistry& storyboard)
{
    storyboard.add("scriptID", [](AppContext& c) { return std::make_unique<scriptViewController>(c); });
    storyboard.add("editScriptID", [](AppContext& c) { return std::make_unique<editScriptViewController>(c); });
    storyboard.add("NEWSET", [](AppContext& c) { return std::make_unique<SettingsTableViewController>(c); });
    storyboard.add("settingsID", [](AppContext& c) { return std::make_unique<settingsViewController>(c); });
    storyboard.add(home::video_gallery_identifier, [](AppContext& c) { return std::make_unique<VideoViewController>(c); });
    storyboard.add("RemoteID", [](AppContext& c) { return std::make_unique<RemoteCommandSenderViewController>(c); });
}

}
