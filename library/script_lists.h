#pragma once

// The nine parallel lists that hold the scripts: titles, texts and the seven
// per-script settings lists. Position i of every one of them belongs to
// script i, so a script is only ever added or removed in all nine at once.
// Operations that change scripts load the nine lists together, change them
// here and store them in the order their own description asks for.

#include "platform/foundation/value.h"

#include <array>
#include <cstddef>

namespace cw {

class Defaults;

struct ScriptLists {
    List titles;
    List texts;
    // In the order of keys::perScriptSettings.
    std::array<List, 7> settings;

    // Absent lists load as empty lists.
    static ScriptLists load(Defaults const&);

    // Removes position k from all nine lists. A list too short to have that
    // position (a store written without the invariants) is left as it is.
    void remove_at(size_t k);

    void store_titles(Defaults&) const;
    void store_texts(Defaults&) const;
    // The seven settings lists, in the order of keys::perScriptSettings.
    void store_settings(Defaults&) const;
};

// Reads the seven per-script settings lists into a screen's own fields,
// given in the order of keys::perScriptSettings.
void load_settings_lists(Defaults const&, std::array<List*, 7> const& into);

}
