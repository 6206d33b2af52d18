// One user session through every operation that changes the library, with
// the store's invariants checked after each step. Most faults in the
// operations (a list written in the wrong order, a settings list that was
// not shifted, a folder copy left stale) break one of them.

#include "library/imported_script_handler.h"
#include "library/editScriptViewController.h"
#include "library_fixture.h"
#include "platform/ui/editable_text_view.h"
#include "platform/ui/navigation_controller.h"

#include <functional>

using namespace cw;
using namespace cw::test;

namespace {

editScriptViewController* editor_of(SimDevice& device)
{
    return dynamic_cast<editScriptViewController*>(device.app().navigation()->top());
}

void open_existing(SimDevice& device, std::string const& title)
{
    auto index = find_script_index(device.store().list(keys::scriptTitlesArray), title);
    ASSERT_TRUE(index.has_value()) << title;
    device.store().set_integer(keys::currentlyEditingIndex, static_cast<std::int64_t>(*index));
    device.store().set_boolean(keys::isNewScript, false);
    device.store().set_boolean(keys::isImportedScript, false);
    device.app().navigation()->push(device.context().storyboard.instantiate(device.context(), "editScriptID"), true);
    device.settle();
    ASSERT_NE(editor_of(device), nullptr);
}

struct Step {
    char const* label;
    std::function<void(SimDevice&)> act;
    std::vector<std::string> top_level;
    // Titles that come (with their size) or go (none) in this step.
    std::vector<std::pair<std::string, std::optional<double>>> scripts;
};

}

TEST(LibrarySequence, EveryOperationKeepsTheStoreConsistent)
{
    RunLoop loop;
    SimDevice device(loop, library_store({ { "Alpha", 10 }, { "Intro", 20 }, { "Notes", 30 }, { "Outro", 40 } },
                               List { script_item("Alpha"), script_item("Intro"), folder_item("Talks", { "Notes" }), script_item("Outro") }));
    device.launch();
    std::map<std::string, double> sizes { { "Alpha", 10 }, { "Intro", 20 }, { "Notes", 30 }, { "Outro", 40 } };

    Step steps[] = {
        { "a folder named like a top-level script is refused, then renamed",
            [](SimDevice& d) {
                home_of(d).createFolder();
                answer(d, "Save", "Alpha");
                ASSERT_EQ(d.alert()->alert_title(), "Duplicate Folder Name");
                answer(d, "Rename", "Beta");
            },
            { "Alpha", "Intro", "Talks/", "Outro", "Beta/" }, {} },
        { "a script named like the folder inside another folder does not block it",
            [](SimDevice& d) {
                home_of(d).createFolder();
                answer(d, "Save", "Notes");
            },
            { "Alpha", "Intro", "Talks/", "Outro", "Beta/", "Notes/" }, {} },
        { "move Intro into Beta",
            [](SimDevice& d) {
                home_of(d).showFolderSelectionSheetForScriptAtIndex(1);
                answer(d, "Beta");
            },
            { "Alpha", "Talks/", "Outro", "Beta/", "Notes/" }, {} },
        { "move Outro into Beta, after Intro",
            [](SimDevice& d) {
                home_of(d).showFolderSelectionSheetForScriptAtIndex(2);
                answer(d, "Beta");
                EXPECT_EQ(folder_contents(d.store(), "Beta"), (std::vector<std::string> { "Intro", "Outro" }));
            },
            { "Alpha", "Talks/", "Beta/", "Notes/" }, {} },
        { "rename the folder at position 2",
            [](SimDevice& d) {
                home_of(d).showRenameFolderAlertForFolderAtIndex(2);
                answer(d, "Rename", "Gamma");
                EXPECT_EQ(folder_contents(d.store(), "Gamma"), (std::vector<std::string> { "Intro", "Outro" }));
            },
            { "Alpha", "Talks/", "Gamma/", "Notes/" }, {} },
        { "drag the first tile onto the third position",
            [](SimDevice& d) { home_of(d).collectionViewMoveItemAtIndexPathToIndexPath(0, 2); },
            { "Talks/", "Gamma/", "Alpha", "Notes/" }, {} },
        { "a new script from the create dialog, saved with the welcome text",
            [](SimDevice& d) {
                home_of(d).createScript();
                answer(d, "Create Script", "Omega");
                ASSERT_TRUE(d.tap("saveButton"));
            },
            { "Talks/", "Gamma/", "Alpha", "Notes/", "Omega" }, { { "Omega", 56 } } },
        { "move Intro out of Gamma",
            [](SimDevice& d) { home_of(d).moveScriptWithName("Intro"); },
            { "Talks/", "Gamma/", "Alpha", "Notes/", "Omega", "Intro" }, {} },
        { "delete Alpha by name",
            [](SimDevice& d) {
                home_of(d).deleteScriptWithName("Alpha");
                answer(d, "Delete");
            },
            { "Talks/", "Gamma/", "Notes/", "Omega", "Intro" }, { { "Alpha", std::nullopt } } },
        { "delete the folder Talks with its script",
            [](SimDevice& d) {
                home_of(d).confirmFolderDeletionForFolderAtIndex(0);
                answer(d, "Delete");
            },
            { "Gamma/", "Notes/", "Omega", "Intro" }, { { "Notes", std::nullopt } } },
        { "an imported script left without saving stores nothing",
            [](SimDevice& d) {
                d.store().set(keys::ImportedText, "document text");
                createImportedScriptWithName(home_of(d), "Draft");
                d.settle();
                ASSERT_NE(editor_of(d), nullptr);
                ASSERT_TRUE(d.tap("cancelButton"));
            },
            { "Gamma/", "Notes/", "Omega", "Intro" }, {} },
        { "an imported script saved",
            [](SimDevice& d) {
                d.store().set(keys::ImportedText, "document text");
                createImportedScriptWithName(home_of(d), "Draft");
                d.settle();
                ASSERT_TRUE(d.tap("saveButton"));
            },
            { "Gamma/", "Notes/", "Omega", "Intro", "Draft" }, { { "Draft", 56 } } },
        { "an existing script edited and saved",
            [](SimDevice& d) {
                open_existing(d, "Outro");
                editor_of(d)->editTextView->user_replace_all("new outro");
                ASSERT_TRUE(d.tap("saveButton"));
            },
            { "Gamma/", "Notes/", "Omega", "Intro", "Draft" }, {} },
        { "an existing script deleted in the editor",
            [](SimDevice& d) {
                open_existing(d, "Omega");
                ASSERT_TRUE(d.tap("deleteButton"));
                answer(d, "Yes, delete it!");
            },
            { "Gamma/", "Notes/", "Intro", "Draft" }, { { "Omega", std::nullopt } } },
        { "a script inside a folder deleted by name",
            [](SimDevice& d) {
                home_of(d).deleteScriptWithName("Outro");
                answer(d, "Delete");
                EXPECT_TRUE(folder_contents(d.store(), "Gamma").empty());
            },
            { "Gamma/", "Notes/", "Intro", "Draft" }, { { "Outro", std::nullopt } } },
    };

    for (auto const& step : steps) {
        SCOPED_TRACE(step.label);
        step.act(device);
        device.settle();
        for (auto const& [title, size] : step.scripts) {
            if (size)
                sizes[title] = *size;
            else
                sizes.erase(title);
        }
        EXPECT_EQ(device.top(), device.app().home());
        EXPECT_EQ(top_level_names(device.store()), step.top_level);
        EXPECT_TRUE(library_is_consistent(device.store(), sizes));
        EXPECT_EQ(home_of(device)._collectionDataSource, device.store().list(keys::combinedDataSource)) << "the grid shows the stored list";
    }
    auto texts = string_list(device.store().list(keys::scriptTextArray));
    EXPECT_EQ(texts, (std::vector<std::string> { "text of Intro", "document text" }));
}
