#pragma once

// The home screen. It shows the library as a grid of script and folder
// tiles and is the first screen of the navigation stack; the prompter and
// the editor are pushed from it and come back to it.
//
// This file holds the data side: what the screen reads from the store when
// it loads and each time it comes back into view, and the start-up rebuild
// of the library list for stores written before the library list existed.

#include "platform/foundation/value.h"
#include "platform/ui/controls.h"
#include "platform/ui/screen.h"

#include <string>
#include <vector>

namespace cw {

class ViewController : public Screen {
public:
    explicit ViewController(AppContext&);

    char const* class_name() const override { return "ViewController"; }
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void describe(Record&) const override;

    std::string generateUniqueIDForScriptName(std::string const& name) const;

    // The grid build: takes the library list from the store.
    void configureCollectionView();

    // In-memory copies of the stored lists.
    std::vector<std::string> scriptTitles;
    std::vector<std::string> scriptText;
    List _collectionDataSource;

    // Rearrange state, reset at load.
    bool isRearrangeModeActive { false };

    Button* goBackButton { nullptr };
    int grid_reload_count() const { return m_grid_reloads; }

private:
    void reloadStoredScripts();
    void rebuildLibraryListIfNeeded();
    void reloadGrid();

    int m_grid_reloads { 0 };
};

}
