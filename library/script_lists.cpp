#include "script_lists.h"

#include "library/store_keys.h"
#include "platform/foundation/defaults.h"

namespace cw {

ScriptLists ScriptLists::load(Defaults const& store)
{
    ScriptLists lists;
    lists.titles = store.list(keys::scriptTitlesArray);
    lists.texts = store.list(keys::scriptTextArray);
    for (size_t i = 0; i < lists.settings.size(); ++i)
        lists.settings[i] = store.list(keys::perScriptSettings[i]);
    return lists;
}

void load_settings_lists(Defaults const& store, std::array<List*, 7> const& into)
{
    for (size_t i = 0; i < into.size(); ++i)
        *into[i] = store.list(keys::perScriptSettings[i]);
}

static void erase_at(List& list, size_t k)
{
    if (k < list.size())
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(k));
}

void ScriptLists::remove_at(size_t k)
{
    erase_at(titles, k);
    erase_at(texts, k);
    for (auto& list : settings)
        erase_at(list, k);
}

void ScriptLists::store_titles(Defaults& store) const
{
    store.set(keys::scriptTitlesArray, titles);
}

void ScriptLists::store_texts(Defaults& store) const
{
    store.set(keys::scriptTextArray, texts);
}

void ScriptLists::store_settings(Defaults& store) const
{
    for (size_t i = 0; i < settings.size(); ++i)
        store.set(keys::perScriptSettings[i], settings[i]);
}

}
