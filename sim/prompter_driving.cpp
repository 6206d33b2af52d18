#include "prompter_driving.h"

#include "library/library_records.h"
#include "library/store_keys.h"
#include "prompter/scriptViewController.h"
#include "platform/ui/navigation_controller.h"

namespace cw {

scriptViewController* open_script(SimDevice& device, std::int64_t index, std::string& error)
{
    auto& store = device.store();
    auto texts = string_list(store.list(keys::scriptTextArray));
    auto titles = string_list(store.list(keys::scriptTitlesArray));
    if (index < 0 || static_cast<std::uint64_t>(index) >= texts.size()) {
        error = "no script at index " + std::to_string(index) + " (the store holds " + std::to_string(texts.size()) + " script texts)";
        return nullptr;
    }
    auto* navigation = device.app().navigation();
    if (!navigation) {
        error = "the application has not been launched";
        return nullptr;
    }
    auto i = static_cast<size_t>(index);
    store.set(keys::currentlyEditingTitle, i < titles.size() ? titles[i] : std::string {});
    store.set(keys::currentlyEditingText, texts[i]);
    store.set_integer(keys::currentlyEditingIndex, index);
    store.set_boolean(keys::isNewScript, false);
    auto& context = device.context();
    navigation->push(context.storyboard.instantiate(context, "scriptID"), true);
    device.settle();
    auto* prompter = top_prompter(device);
    if (!prompter)
        error = "the prompter did not open";
    return prompter;
}

scriptViewController* top_prompter(SimDevice& device)
{
    return device.top_as<scriptViewController>();
}

}
