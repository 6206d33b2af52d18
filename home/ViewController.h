#pragma once

// The home screen. It shows the library as a grid of script and folder
// tiles and is the first screen of the navigation stack; the prompter and
// the editor are pushed from it and come back to it.
//
// The screen is spread over a few files beside this one:
// - ViewController.cpp: what the screen reads from the store when it loads
//   and each time it comes back into view, and the start-up rebuild of the
//   library list for stores written before the library list existed;
// - home_layout.cpp: the fixed controls and the toolbar;
// - grid.cpp: the grid build, the tiles, and opening scripts and folders;
// - home_menus.cpp: the add menu, the option sheets and the modal screens;
// - rearrange.cpp: rearrange mode;
// - library_operations.cpp and library_dialogs.cpp: the operations that
//   change the library (library/) and the dialogs that lead to them;
// - import.cpp: importing a document as a script.
//
// The grid is rebuilt whole by `configureCollectionView`: a new grid, a new
// toolbar and a new drag recogniser each time. The old ones are kept until
// the end of the current main-loop turn, because the rebuild often runs
// from inside one of their own callbacks (a drop, a tap).

#include "home/CatCollectionViewReorder.h"
#include "home/CustomCollectionViewCell.h"
#include "home/document_import.h"
#include "library/library_operations.h"
#include "platform/foundation/value.h"
#include "platform/ui/collection_view.h"
#include "platform/ui/controls.h"
#include "platform/ui/document_picker_screen.h"
#include "platform/ui/navigation_controller.h"
#include "platform/ui/screen.h"
#include "platform/ui/toolbar.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

class AlertController;

namespace home {
inline constexpr char cell_identifier[] = "CustomCellIdentifier";
inline constexpr Color grid_background { 0.22, 0.22, 0.22, 1 };
inline constexpr char rearrange_background[] = "#2b4254";
inline constexpr Size item_size { 100, 150 };
inline constexpr EdgeInsets content_inset { 30, 30, 30, 30 };
inline constexpr EdgeInsets scroll_indicator_insets { 30, 0, 30, 0 };
inline constexpr double toolbar_height = 44;
// The toolbar's top edge is this far above the bottom of the screen's view.
inline constexpr double toolbar_rise = 80;
// The navigation bar the front ends draw over the top of the screen, and the
// strip of fixed controls below it. The grid reaches under both, and its
// items start below them.
inline constexpr double navigation_bar_height = NavigationController::bar_height;
inline constexpr double controls_height = 44;
// The video gallery is made in code, not from the layout resources. Its
// factory joins the storyboard registry under this identifier, which no
// layout uses, so that the home screen can open it before it exists:
//     storyboard.add(home::video_gallery_identifier, [](AppContext& c) { ... });
inline constexpr char video_gallery_identifier[] = "VideoViewController";
}

class ViewController : public Screen
    , public LibraryGrid
    , public CollectionViewDataSource
    , public CollectionViewDelegate
    , public DocumentPickerDelegate {
public:
    explicit ViewController(AppContext&);
    ~ViewController() override;

    char const* class_name() const override { return "ViewController"; }
    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillLayoutSubviews() override;
    void describe(Record&) const override;

    std::string generateUniqueIDForScriptName(std::string const& name) const;

    // The grid build: takes the library list from the store and builds a
    // new grid and toolbar.
    void configureCollectionView() override;
    void reloadData() override;

    // The grid's data source and delegate.
    std::int64_t collectionViewNumberOfItemsInSection(CollectionView&, std::int64_t section) override;
    CollectionViewCell& collectionViewCellForItemAtIndexPath(CollectionView&, IndexPath) override;
    Size collectionViewLayoutSizeForItemAtIndexPath(CollectionView&, CollectionViewFlowLayout&, IndexPath) override;
    void collectionViewDidSelectItemAtIndexPath(CollectionView&, IndexPath) override;
    bool collectionViewCanMoveItemAtIndexPath(CollectionView&, IndexPath) override;
    void collectionViewMoveItemAtIndexPathToIndexPath(CollectionView&, IndexPath from, IndexPath to) override;

    // Leaves the open folder.
    void goBack(BarButtonItem* sender = nullptr);

    // The add menu, the option sheets and the modal screens.
    void addScript();

    // Importing a document (import.cpp, document_import.h).
    void import();
    void documentPickerDidPickDocumentAtURL(DocumentPickerScreen&, std::string const& url) override;
    void documentPickerWasCancelled(DocumentPickerScreen&) override { }
    void createImportedScript();
    DocumentImport const& document_import() const { return m_import; }

    void handleLongPress(GestureRecognizer&);
    void presentVideoViewController(Button* sender = nullptr);
    void remoteControlAction(Button* sender = nullptr);

    // Rearrange mode.
    void enterRearrangeMode();
    void exitRearrangeMode(Button* sender = nullptr);
    void reapplyAnimationsToVisibleCells() override;
    // "#rrggbb" as a colour.
    static Color colorFromHexString(std::string_view);

    // The library operations.
    bool scriptNameExists(std::string const& name) const;
    void createFolderWithName(std::string const& name);
    void renameFolderAtIndex(std::int64_t index, std::string const& text);
    void deleteFolderAtIndex(std::int64_t index);
    void moveScriptAtIndexToFolder(std::int64_t script, std::int64_t folder);
    void moveScriptWithName(std::string const& name);
    void deleteScriptWithName(std::string const& name);
    RecordRemoval removeScriptRecordWithName(std::string const& name);
    void removeScriptDataWithName(std::string const& name);
    void collectionViewMoveItemAtIndexPathToIndexPath(std::int64_t from, std::int64_t to);

    // The menus and dialogs that lead to them.
    void createScript();
    void promptScriptNameExists();
    void createFolder();
    void showRenameFolderAlertForFolderAtIndex(std::int64_t index);
    void confirmFolderDeletionForFolderAtIndex(std::int64_t index);
    void showFolderSelectionSheetForScriptAtIndex(std::int64_t script);

    // The records the grid shows, by position: the top level, or the open
    // folder's scripts as the last grid build took them.
    List const& shown_items() const;

    // In-memory copies of the stored lists.
    std::vector<std::string> scriptTitles;
    std::vector<std::string> scriptText;
    List _collectionDataSource;

    // The open folder, while one is open.
    std::optional<std::string> selectedFolderName;
    Value selectedFolder;
    bool isInsideFolder { false };
    List currentFolderDataSource;

    // Rearrange state, reset at load.
    bool isInRearrangeMode { false };

    // The grid and its toolbar, replaced by each grid build.
    CollectionView* _collectionView { nullptr };
    Toolbar* toolbar { nullptr };
    BarButtonItem* goBackButton { nullptr };
    std::unique_ptr<CatCollectionViewReorder> _collectionViewReorder;

    // The fixed controls.
    Button* addScriptButton { nullptr };
    Button* cameraBtn { nullptr };
    Button* remoteBtn { nullptr };
    Button* stopRearrangingBtn { nullptr };

    int grid_reload_count() const { return m_grid_reloads; }

private:
    void reloadStoredScripts();
    void rebuildLibraryListIfNeeded();
    void createScriptNamed(std::string const& name);

    // home_layout.cpp
    void add_fixed_controls(View& root);
    void layout_fixed_controls();
    void bring_fixed_controls_to_front();
    void build_toolbar();
    void layout_toolbar();

    // grid.cpp
    void retire_grid();
    void take_open_folder_again();
    List const* open_folder_scripts() const;
    void open_folder(Value const& record);
    void open_script_named(std::string const& name);
    CustomCollectionViewCell* tile_at(IndexPath) const;

    // home_menus.cpp
    std::optional<IndexPath> pressed_item(GestureRecognizer const&) const;
    void present_option_sheet(std::int64_t position, Value const& record);
    void anchor_to_tile(AlertController&, IndexPath);

    // rearrange.cpp
    static void put_in_rearrange_mode(CustomCollectionViewCell&);

    View* m_controls { nullptr };
    int m_grid_reloads { 0 };
    LibraryOperations m_library { *this, *this };
    DocumentImport m_import { *this };
};

}
