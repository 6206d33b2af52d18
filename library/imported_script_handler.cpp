#include "imported_script_handler.h"

#include "library/store_keys.h"
#include "platform/foundation/format.h"
#include "platform/ui/app_context.h"
#include "platform/ui/navigation_controller.h"

namespace cw {

void createImportedScriptWithName(Screen& presenter, std::string const& name)
{
    auto& context = presenter.context();
    auto& store = context.defaults;
    context.log.line(format("Added Script Name: %@", { name }));
    if (!store.object(keys::scriptTitlesArray))
        context.log.line("scriptTitles was nil. Initializing as new array.");
    if (!store.object(keys::scriptTextArray))
        context.log.line("scriptText was nil. Initializing as new array.");
    context.log.line(format("Added Script Content: %@", { store.string(keys::ImportedText) }));

    // The editor reads these when it loads, which is after the push.
    store.set(keys::temporaryTitle, name);
    store.set_boolean(keys::isNewScript, false);
    store.set_boolean(keys::isImportedScript, true);
    store.synchronize();

    if (auto* navigation = presenter.navigation_controller())
        navigation->push(context.storyboard.instantiate(context, "editScriptID"), true);
}

}
