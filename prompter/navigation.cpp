// Where the prompter leads: the editor for its script, and the two
// settings screens.

#include "scriptViewController.h"

#include "library/store_keys.h"
#include "platform/ui/app_context.h"
#include "platform/ui/navigation_controller.h"

namespace cw {

// The run goes on while the editor is open.
void scriptViewController::editScript()
{
    auto editor = context().storyboard.instantiate(context(), "editScriptID");
    if (!editor)
        return;
    context().defaults.set_boolean(keys::isImportedScript, false);
    if (auto* navigation = navigation_controller())
        navigation->push(std::move(editor), true);
}

// On a phone the settings cover the text, so the run stops first; on a
// tablet the run goes on behind them.
void scriptViewController::loadSettings()
{
    if (context().window.idiom() != Idiom::Tablet)
        stopScript();
    present(context().storyboard.instantiate(context(), "NEWSET"), true);
}

void scriptViewController::tryVideo()
{
    stopScript();
    present(context().storyboard.instantiate(context(), "settingsID"), true);
}

}
