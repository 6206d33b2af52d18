// What each library operation logs, in which order it has the grid rebuilt,
// whether it persists at once, and what it refuses. The grid here only
// writes markers into the same log, so one list shows the order of both.

#include "library/library_operations.h"
#include "library_fixture.h"

#include <functional>

using namespace cw;
using namespace cw::test;

namespace {

struct TracingGrid final : LibraryGrid {
    explicit TracingGrid(Log& log)
        : log(log)
    {
    }
    void configureCollectionView() override { log.line("<grid build>"); }
    void reloadData() override { log.line("<reload>"); }
    void reapplyAnimationsToVisibleCells() override { log.line("<reapply>"); }
    Log& log;
};

// Alpha at the top, the folder Talks with Notes and Extra, Outro, and the
// empty folder Beta.
SimDeviceOptions small_library()
{
    return library_store({ { "Alpha", 10 }, { "Notes", 20 }, { "Extra", 30 }, { "Outro", 40 } },
        List { script_item("Alpha"), folder_item("Talks", { "Notes", "Extra" }), script_item("Outro"), folder_item("Beta", {}) });
}

struct Session {
    RunLoop loop;
    SimDevice device { loop, small_library() };
    std::unique_ptr<TracingGrid> grid;
    std::unique_ptr<LibraryOperations> operations;

    Session()
    {
        device.launch();
        grid = std::make_unique<TracingGrid>(device.context().log);
        operations = std::make_unique<LibraryOperations>(home_of(device), *grid);
        device.log().take_new_lines();
    }
};

}

TEST(LibraryOperations, LogLinesGridRebuildsAndPersistence)
{
    using Ops = LibraryOperations;
    struct Case {
        char const* label;
        std::function<void(Ops&)> act;
        std::vector<std::string> lines;
        bool changes_store;
        bool persisted_at_once;
    };
    std::string const dump = "Folder deleted successfully. Updated combinedDataSource: ";
    Case cases[] = {
        { "create a folder", [](Ops& o) { o.createFolderWithName("New"); }, { "<reload>", "<grid build>" }, true, false },
        { "create a folder named like a top-level script", [](Ops& o) { o.createFolderWithName("Alpha"); }, {}, false, false },
        { "create a folder named like a script inside a folder", [](Ops& o) { o.createFolderWithName("Notes"); }, { "<reload>", "<grid build>" }, true, false },
        { "rename, even to another folder's name", [](Ops& o) { o.renameFolderAtIndex(1, "Beta"); }, { "<grid build>", "<reload>" }, true, false },
        { "rename with an empty text", [](Ops& o) { o.renameFolderAtIndex(1, ""); }, {}, false, false },
        { "rename past the end", [](Ops& o) { o.renameFolderAtIndex(4, "X"); }, {}, false, false },
        { "rename before the start", [](Ops& o) { o.renameFolderAtIndex(-1, "X"); }, {}, false, false },
        { "delete a folder", [](Ops& o) { o.deleteFolderAtIndex(1); }, { dump, "<grid build>", "<reload>" }, true, true },
        { "delete a folder past the end", [](Ops& o) { o.deleteFolderAtIndex(4); }, { "Invalid index: 4" }, false, false },
        { "delete a folder before the start", [](Ops& o) { o.deleteFolderAtIndex(-1); }, { "Invalid index: -1" }, false, false },
        { "delete a script as a folder", [](Ops& o) { o.deleteFolderAtIndex(0); }, { "Invalid item type at index 0. It's not a folder." }, false, false },
        { "move into a folder", [](Ops& o) { o.moveScriptAtIndexToFolder(2, 1); }, { "Script moved to Beta", "<grid build>", "<reload>" }, true, false },
        { "move into a folder that is not there", [](Ops& o) { o.moveScriptAtIndexToFolder(0, 2); }, { "Invalid indices for script or folder." }, false, false },
        { "move a script that is not there", [](Ops& o) { o.moveScriptAtIndexToFolder(4, 0); }, { "Invalid indices for script or folder." }, false, false },
        { "move with a negative position", [](Ops& o) { o.moveScriptAtIndexToFolder(-1, 0); }, { "Invalid indices for script or folder." }, false, false },
        { "move a folder into a folder", [](Ops& o) { o.moveScriptAtIndexToFolder(1, 1); }, { "Invalid indices for script or folder." }, false, false },
        { "move out of a folder", [](Ops& o) { o.moveScriptWithName("Extra"); }, { "<grid build>", "<reload>", "Moved script 'Extra' out of folder 'Talks'" }, true, true },
        { "move out a script in no folder", [](Ops& o) { o.moveScriptWithName("Alpha"); }, { "Script 'Alpha' not found in any folder." }, false, false },
        { "delete a top-level script", [](Ops& o) { o.deleteScriptConfirmedWithName("Alpha"); }, { "<grid build>", "<reload>", "Deleted script 'Alpha'" }, true, false },
        { "delete a script in a folder", [](Ops& o) { o.deleteScriptConfirmedWithName("Extra"); }, { "<grid build>", "<reload>", "Deleted script 'Extra' from folder 'Talks'" }, true, false },
        { "delete a script nobody has", [](Ops& o) { o.deleteScriptConfirmedWithName("Nobody"); }, { "Script 'Nobody' not found for deletion." }, false, false },
        { "a folder name is not a script name", [](Ops& o) { o.deleteScriptConfirmedWithName("Talks"); }, { "Script 'Talks' not found for deletion." }, false, false },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        Session session;
        auto before = session.device.store().snapshot();
        c.act(*session.operations);
        auto lines = session.device.log().take_new_lines();
        if (!c.lines.empty() && c.lines.front() == dump && !lines.empty() && lines.front().starts_with(dump))
            lines.front() = dump;
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(session.device.store().snapshot() != before, c.changes_store);
        if (c.changes_store) {
            EXPECT_EQ(!session.device.store().has_unsaved_changes(), c.persisted_at_once);
        }
    }
}

TEST(LibraryOperations, DuplicateFolderNameDialog)
{
    struct Case {
        char const* label;
        std::string action;
        std::string text;
        std::vector<std::string> top_level;
    } cases[] = {
        { "Rename with a free name", "Rename", "Beta2", { "Alpha", "Talks/", "Outro", "Beta/", "Beta2/" } },
        { "Rename with a taken name asks again", "Rename", "Outro", { "Alpha", "Talks/", "Outro", "Beta/" } },
        { "Rename with nothing typed", "Rename", "", { "Alpha", "Talks/", "Outro", "Beta/" } },
        { "Cancel", "Cancel", "Beta2", { "Alpha", "Talks/", "Outro", "Beta/" } },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        Session session;
        auto& device = session.device;
        session.operations->createFolderWithName("Talks");
        auto* alert = device.alert();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->alert_title(), "Duplicate Folder Name");
        EXPECT_EQ(alert->message(), "A folder with the same name already exists. Please enter a different name.");
        ASSERT_EQ(alert->text_fields().size(), 1u);
        EXPECT_EQ(alert->text_fields()[0].placeholder, "Enter a new folder name");
        ASSERT_EQ(alert->actions().size(), 2u);
        EXPECT_EQ(alert->actions()[0].title, "Cancel");
        EXPECT_EQ(alert->actions()[0].style, AlertActionStyle::Cancel);
        EXPECT_EQ(alert->actions()[1].title, "Rename");
        EXPECT_EQ(alert->actions()[1].style, AlertActionStyle::Default);

        answer(device, c.action, c.text);
        EXPECT_EQ(top_level_names(device.store()), c.top_level);
        bool asks_again = c.text == "Outro" && c.action == "Rename";
        EXPECT_EQ(device.alert() != nullptr, asks_again);
        if (asks_again) {
            EXPECT_EQ(device.alert()->alert_title(), "Duplicate Folder Name");
        }
    }
}

TEST(LibraryOperations, MovingTheSameRecordIntoAFolderTwiceIsRefused)
{
    // Intro sits at the top level and, as the very same record, in Talks;
    // Twin has Intro's name but its own identifier.
    Value twin = make_script_record("Intro", "Intro_2.000000");
    RunLoop loop;
    SimDevice device(loop, library_store({ { "Intro", 10 } }, List { script_item("Intro"), twin, folder_item("Talks", { "Intro" }) }));
    device.launch();
    auto& home = home_of(device);
    device.log().take_new_lines();

    auto before = device.store().snapshot();
    home.moveScriptAtIndexToFolder(0, 0);
    EXPECT_EQ(device.log().take_new_lines(), std::vector<std::string> { "Script is already in the target folder." });
    EXPECT_EQ(device.store().snapshot(), before);

    home.moveScriptAtIndexToFolder(1, 0);
    EXPECT_TRUE(device.log().contains("Script moved to Talks"));
    EXPECT_EQ(top_level_names(device.store()), (std::vector<std::string> { "Intro", "Talks/" }));
    auto talks = device.store().list(keys::combinedDataSource)[1];
    EXPECT_EQ(folder_scripts(talks), (List { script_item("Intro"), twin }));
    EXPECT_EQ(device.store().list(keys::folders), List { talks });
}

TEST(LibraryOperations, FolderChoiceFollowsTheGridOrderNotTheOrderOfCreation)
{
    RunLoop loop;
    SimDevice device(loop, library_store({ { "Intro", 10 } }, List { script_item("Intro") }));
    device.launch();
    auto& home = home_of(device);
    home.createFolderWithName("First");
    home.createFolderWithName("Second");
    home.collectionViewMoveItemAtIndexPathToIndexPath(2, 1);
    ASSERT_EQ(top_level_names(device.store()), (std::vector<std::string> { "Intro", "Second/", "First/" }));

    home.showFolderSelectionSheetForScriptAtIndex(0);
    auto* sheet = device.alert();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->alert_title(), "Select Folder");
    EXPECT_EQ(sheet->style(), AlertStyle::ActionSheet);
    std::vector<std::string> titles;
    for (auto const& action : sheet->actions())
        titles.push_back(action.title);
    EXPECT_EQ(titles, (std::vector<std::string> { "Second", "First", "Cancel" }));

    answer(device, "First");
    EXPECT_EQ(top_level_names(device.store()), (std::vector<std::string> { "Second/", "First/" }));
    EXPECT_EQ(folder_contents(device.store(), "First"), std::vector<std::string> { "Intro" });
    EXPECT_TRUE(library_is_consistent(device.store(), { { "Intro", 10 } }));
}

TEST(LibraryOperations, MovingOutOfAFolderOfThreeKeepsTheIdentifierAndTheOthers)
{
    RunLoop loop;
    SimDevice device(loop, library_store({ { "A", 10 }, { "B", 20 }, { "C", 30 }, { "D", 40 } },
                               List { script_item("D"), folder_item("Talks", { "A", "B", "C" }) }));
    device.launch();
    home_of(device).moveScriptWithName("B");

    auto library = device.store().list(keys::combinedDataSource);
    ASSERT_EQ(library.size(), 3u);
    EXPECT_EQ(library[2], script_item("B"));
    EXPECT_EQ(library[1], folder_item("Talks", { "A", "C" }));
    EXPECT_EQ(device.store().list(keys::folders), List { folder_item("Talks", { "A", "C" }) });
    EXPECT_TRUE(library_is_consistent(device.store(), { { "A", 10 }, { "B", 20 }, { "C", 30 }, { "D", 40 } }));
}

TEST(LibraryOperations, TheFirstRecordInListOrderDecidesWhereADeletionHappens)
{
    // Two scripts share the title Same: the one at index 0 (size 10) and the
    // one at index 2 (size 30). Whichever record is removed, the first
    // title's data goes, and the remaining record still finds a script.
    struct Case {
        char const* label;
        List library;
        RecordRemoval::Where where;
        std::vector<std::string> top_level;
    } cases[] = {
        { "top-level record first", List { script_item("Same"), script_item("Other"), folder_item("F", { "Same" }) },
            RecordRemoval::Where::TopLevel, { "Other", "F/" } },
        { "folder first", List { folder_item("F", { "Same" }), script_item("Other"), script_item("Same") },
            RecordRemoval::Where::Folder, { "F/", "Other", "Same" } },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        RunLoop loop;
        SimDevice device(loop, library_store({ { "Same", 10 }, { "Other", 20 }, { "Same", 30 } }, c.library));
        device.launch();
        auto& home = home_of(device);
        auto removal = home.removeScriptRecordWithName("Same");
        EXPECT_EQ(removal.where, c.where);
        EXPECT_EQ(removal.folder_name, c.where == RecordRemoval::Where::Folder ? "F" : "");
        home.removeScriptDataWithName("Same");
        EXPECT_EQ(top_level_names(device.store()), c.top_level);
        EXPECT_EQ(device.store().list(keys::textSizeArray), (List { 20.0, 30.0 }));
        EXPECT_EQ(string_list(device.store().list(keys::scriptTextArray)), (std::vector<std::string> { "text of Other", "text of Same" }));
        EXPECT_TRUE(library_is_consistent(device.store(), { { "Same", 30 }, { "Other", 20 } }));
    }
}

TEST(LibraryOperations, DeleteConfirmationAsksFirst)
{
    struct Case {
        char const* action;
        bool deleted;
    } cases[] = { { "Cancel", false }, { "Delete", true } };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.action);
        Session session;
        auto& device = session.device;
        home_of(device).deleteScriptWithName("Extra");
        auto* alert = device.alert();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->alert_title(), "Confirm Deletion");
        EXPECT_EQ(alert->message(), "Are you sure you want to delete the script 'Extra'?");
        ASSERT_EQ(alert->actions().size(), 2u);
        EXPECT_EQ(alert->actions()[0].style, AlertActionStyle::Cancel);
        EXPECT_EQ(alert->actions()[1].title, "Delete");
        EXPECT_EQ(alert->actions()[1].style, AlertActionStyle::Destructive);
        answer(device, c.action);
        EXPECT_EQ(folder_contents(device.store(), "Talks"), (c.deleted ? std::vector<std::string> { "Notes" } : std::vector<std::string> { "Notes", "Extra" }));
        std::map<std::string, double> sizes { { "Alpha", 10 }, { "Notes", 20 }, { "Outro", 40 } };
        if (!c.deleted)
            sizes["Extra"] = 30;
        EXPECT_TRUE(library_is_consistent(device.store(), sizes));
    }
}

TEST(LibraryOperations, ReorderStoresTheNewOrder)
{
    struct Case {
        char const* label;
        bool inside_folder;
        std::int64_t from, to;
        bool folder_still_stored;
        std::vector<std::string> lines;
        std::vector<std::string> talks;
        std::vector<std::string> top_level;
    };
    std::vector<std::string> moved { "Move item at index path called", "<reapply>", "<reapply>", "<reload>", "<grid build>", "<reapply>" };
    std::vector<std::string> unchanged { "Move item at index path called", "<reapply>", "<reload>", "<grid build>", "<reapply>" };
    std::vector<std::string> folder_moved { "Move item at index path called", "<reapply>", "<reapply>", "<reapply>", "<reload>", "<grid build>", "<reapply>" };
    Case cases[] = {
        { "top level, first onto third", false, 0, 2, true, moved, { "Notes", "Extra" }, { "Talks/", "Outro", "Alpha", "Beta/" } },
        { "top level, past the end", false, 0, 4, true, unchanged, { "Notes", "Extra" }, { "Alpha", "Talks/", "Outro", "Beta/" } },
        { "inside a folder", true, 1, 0, true, folder_moved, { "Extra", "Notes" }, { "Alpha", "Talks/", "Outro", "Beta/" } },
        { "inside a folder, past the end", true, 0, 2, true, unchanged, { "Notes", "Extra" }, { "Alpha", "Talks/", "Outro", "Beta/" } },
        { "inside a folder that left the library", true, 1, 0, false, { "Move item at index path called", "<reapply>", "<reapply>", "<reload>", "<grid build>", "<reapply>" }, { "Notes", "Extra" }, { "Alpha", "Talks/", "Outro", "Beta/" } },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        Session session;
        auto& store = session.device.store();
        List grid = store.list(keys::combinedDataSource);
        Value selected = c.folder_still_stored ? grid[1] : folder_item("Talks", { "Notes" });
        List folder = folder_scripts(grid[1]);
        session.operations->collectionViewMoveItemAtIndexPathToIndexPath({ grid, c.inside_folder, folder, selected }, c.from, c.to);
        EXPECT_EQ(session.device.log().take_new_lines(), c.lines);
        EXPECT_EQ(top_level_names(store), c.top_level);
        EXPECT_EQ(folder_contents(store, "Talks"), c.talks);
        EXPECT_TRUE(library_is_consistent(store, { { "Alpha", 10 }, { "Notes", 20 }, { "Extra", 30 }, { "Outro", 40 } }));
    }
}
