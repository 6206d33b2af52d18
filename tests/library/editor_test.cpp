// The script editor in its three modes: what it shows, what saving stores,
// deleting, leaving, and keeping the insertion point above the keyboard.

#include "app/product_info.h"
#include "library/editScriptViewController.h"
#include "library/imported_script_handler.h"
#include "library/welcome_text.h"
#include "library_fixture.h"
#include "platform/ui/editable_text_view.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/navigation_controller.h"

using namespace cw;
using namespace cw::test;

namespace {

// Two scripts: Intro at the top level and Outro in the folder Talks.
SimDeviceOptions two_scripts()
{
    return library_store({ { "Intro", 10 }, { "Outro", 80 } }, List { script_item("Intro"), folder_item("Talks", { "Outro" }) });
}

enum class Mode { New, Imported, Existing };

editScriptViewController* open_editor(SimDevice& device, Mode mode, std::string const& title = "Alpha", std::int64_t index = 0)
{
    auto& store = device.store();
    if (mode == Mode::Existing) {
        store.set_integer(keys::currentlyEditingIndex, index);
        store.set_boolean(keys::isNewScript, false);
        store.set_boolean(keys::isImportedScript, false);
    } else {
        store.set(keys::temporaryTitle, title);
        store.set_boolean(keys::isNewScript, mode == Mode::New);
        store.set_boolean(keys::isImportedScript, mode == Mode::Imported);
    }
    device.app().navigation()->push(device.context().storyboard.instantiate(device.context(), "editScriptID"), true);
    device.settle();
    return device.top_as<editScriptViewController>();
}

NavigationEvent last_navigation(SimDevice& device)
{
    return device.app().navigation()->history().back();
}

}

TEST(Editor, ShowsTheTextOfItsMode)
{
    struct Case {
        char const* label;
        Mode mode;
        std::string text;
        bool delete_enabled;
        bool is_new;
    } cases[] = {
        { "new script", Mode::New, welcome_text(), false, true },
        { "imported script", Mode::Imported, "the document", false, false },
        { "existing script", Mode::Existing, "text of Outro", true, false },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        RunLoop loop;
        SimDevice device(loop, two_scripts());
        device.launch();
        device.store().set(keys::ImportedText, "the document");
        auto* editor = open_editor(device, c.mode, "Alpha", 1);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->editTextView->text(), c.text);
        EXPECT_EQ(editor->deleteButton->enabled, c.delete_enabled);
        EXPECT_EQ(editor->isNewScript, c.is_new);
        EXPECT_TRUE(device.log().contains(c.mode == Mode::Existing ? "Script index = 1" : "Script index = 0"));
    }
}

TEST(Editor, WelcomeText)
{
    auto text = welcome_text();
    std::string const first_three = "Welcome to Cuewright. 👋 \n\n"
                                    "Use this area to type a new script directly in the app. Simply tap anywhere to edit. You can type as much as you need here and all settings are configured in the next window! 🪄 \n\n"
                                    "If you have any problems at all please just hit the HELP button in the settings window! \n\n";
    ASSERT_TRUE(text.starts_with(first_three));
    auto fourth = text.substr(first_three.size());
    EXPECT_TRUE(fourth.starts_with(" 🙏🏻"));
    EXPECT_NE(fourth.find(product::support_email), std::string::npos);
    EXPECT_EQ(fourth.find('\n'), std::string::npos);
}

TEST(Editor, SavingANewScriptAddsItEverywhereAtTheEnd)
{
    struct Case {
        char const* label;
        bool type_text;
    } cases[] = { { "typed text", true }, { "untouched welcome text", false } };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        RunLoop loop;
        SimDevice device(loop, two_scripts());
        device.launch();
        auto* editor = open_editor(device, Mode::New, "Alpha");
        ASSERT_NE(editor, nullptr);
        if (c.type_text)
            editor->editTextView->user_replace_all("Hello there");
        ASSERT_TRUE(device.tap("saveButton"));

        auto& store = device.store();
        EXPECT_EQ(string_list(store.list(keys::scriptTitlesArray)), (std::vector<std::string> { "Intro", "Outro", "Alpha" }));
        EXPECT_EQ(string_list(store.list(keys::scriptTextArray))[2], c.type_text ? "Hello there" : welcome_text());
        auto start = script_start_values();
        for (size_t k = 0; k < 7; ++k)
            EXPECT_EQ(store.list(keys::perScriptSettings[k])[2], start[k]) << keys::perScriptSettings[k];
        EXPECT_EQ(store.list(keys::textSizeArray)[2], Value(56.0));
        EXPECT_EQ(store.list(keys::colorDataArray)[2], Value(archive_color(Color::black())));
        EXPECT_EQ(store.list(keys::textColorDataArray)[2], Value(archive_color(Color::white())));
        auto library = store.list(keys::combinedDataSource);
        EXPECT_EQ(library.back(), Value(make_script_record("Alpha", generateUniqueIDForScriptName("Alpha", loop.seconds_since_1970()))));
        EXPECT_EQ(store.integer(keys::currentlyEditingIndex), 2);
        EXPECT_TRUE(library_is_consistent(store, { { "Intro", 10 }, { "Outro", 80 }, { "Alpha", 56 } }));
        EXPECT_EQ(last_navigation(device).kind, NavigationEvent::Kind::Pop);
        EXPECT_TRUE(last_navigation(device).animated);
        EXPECT_EQ(device.top(), device.app().home());
        EXPECT_EQ(top_level_names(store), (std::vector<std::string> { "Intro", "Talks/", "Alpha" }));
    }
}

// Saving an edit replaces the text only: the presenter's text size, colours
// and other settings survive it.
TEST(Editor, SavingAnExistingScriptKeepsItsSettings)
{
    RunLoop loop;
    SimDevice device(loop, two_scripts());
    device.launch();
    auto settings_before = device.store().snapshot();
    auto* editor = open_editor(device, Mode::Existing, {}, 1);
    ASSERT_NE(editor, nullptr);
    editor->editTextView->user_replace_all("A better ending");
    ASSERT_TRUE(device.tap("saveButton"));

    auto& store = device.store();
    EXPECT_EQ(string_list(store.list(keys::scriptTextArray)), (std::vector<std::string> { "text of Intro", "A better ending" }));
    EXPECT_EQ(string_list(store.list(keys::scriptTitlesArray)), (std::vector<std::string> { "Intro", "Outro" }));
    EXPECT_EQ(store.list(keys::textSizeArray)[1], Value(80.0));
    for (auto const* key : keys::perScriptSettings)
        EXPECT_EQ(store.object(key), settings_before.at(key)) << key;
    EXPECT_EQ(store.object(keys::combinedDataSource), settings_before.at(keys::combinedDataSource));
    EXPECT_EQ(device.top(), device.app().home());
}

TEST(Editor, DeletingAScriptReturnsToTheHomeScreenWithoutAnimation)
{
    // Three scripts; the one at position 1 is deleted, its record sitting at
    // the top level or in a folder.
    struct Case {
        char const* label;
        List library;
        std::vector<std::string> top_level;
    } cases[] = {
        { "record at the top level", List { script_item("A"), script_item("B"), folder_item("F", { "C" }) }, { "A", "F/" } },
        { "record in a folder", List { script_item("A"), folder_item("F", { "C", "B" }) }, { "A", "F/" } },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        RunLoop loop;
        SimDevice device(loop, library_store({ { "A", 10 }, { "B", 20 }, { "C", 30 } }, c.library));
        device.launch();
        // Opened from the prompter in real use: a screen between the home
        // screen and the editor goes too.
        device.app().navigation()->push(std::make_unique<Screen>(device.context()), true);
        auto* editor = open_editor(device, Mode::Existing, {}, 1);
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(device.tap("deleteButton"));
        auto* alert = device.alert();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->alert_title(), "Delete this Script?");
        EXPECT_EQ(alert->message(), "Are you sure? This cannot be undone. If you want to make changes, just edit this script and save it.");
        ASSERT_EQ(alert->actions().size(), 2u);
        EXPECT_EQ(alert->actions()[0].title, "Yes, delete it!");
        EXPECT_EQ(alert->actions()[1].title, "No, I'll edit it thanks!");
        EXPECT_EQ(alert->actions()[1].style, AlertActionStyle::Default);
        answer(device, "Yes, delete it!");

        auto& store = device.store();
        EXPECT_EQ(string_list(store.list(keys::scriptTitlesArray)), (std::vector<std::string> { "A", "C" }));
        EXPECT_EQ(top_level_names(store), c.top_level);
        EXPECT_TRUE(library_is_consistent(store, { { "A", 10 }, { "C", 30 } }));
        EXPECT_EQ(device.app().navigation()->stack().size(), 1u);
        EXPECT_EQ(last_navigation(device).kind, NavigationEvent::Kind::PopTo);
        EXPECT_FALSE(last_navigation(device).animated);
        EXPECT_EQ(home_of(device)._collectionDataSource, store.list(keys::combinedDataSource));
    }
}

TEST(Editor, DecliningTheDeletionChangesNothing)
{
    RunLoop loop;
    SimDevice device(loop, two_scripts());
    device.launch();
    auto* editor = open_editor(device, Mode::Existing, {}, 0);
    ASSERT_NE(editor, nullptr);
    auto before = device.store().snapshot();
    ASSERT_TRUE(device.tap("deleteButton"));
    answer(device, "No, I'll edit it thanks!");
    EXPECT_EQ(device.store().snapshot(), before);
    EXPECT_EQ(device.top(), editor);
}

TEST(Editor, DeleteControlDoesNothingForNewAndImportedScripts)
{
    for (auto mode : { Mode::New, Mode::Imported }) {
        RunLoop loop;
        SimDevice device(loop, two_scripts());
        device.launch();
        auto* editor = open_editor(device, mode);
        ASSERT_NE(editor, nullptr);
        device.tap("deleteButton");
        EXPECT_EQ(device.top(), editor);
    }
}

TEST(Editor, ImportedScript)
{
    RunLoop loop;
    SimDevice device(loop, two_scripts());
    device.launch();
    device.store().set(keys::ImportedText, "Dear all,\nthank you.");
    device.log().take_new_lines();
    createImportedScriptWithName(home_of(device), "Speech");
    device.settle();
    EXPECT_EQ(device.log().take_new_lines(),
        (std::vector<std::string> { "Added Script Name: Speech", "Added Script Content: Dear all,\nthank you.", "Script index = 0" }));
    EXPECT_EQ(device.store().string(keys::temporaryTitle), "Speech");
    EXPECT_FALSE(device.store().boolean(keys::isNewScript));
    EXPECT_TRUE(device.store().boolean(keys::isImportedScript));
    EXPECT_FALSE(device.store().has_unsaved_changes());
    EXPECT_EQ(last_navigation(device).kind, NavigationEvent::Kind::Push);
    EXPECT_TRUE(last_navigation(device).animated);

    auto* editor = device.top_as<editScriptViewController>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->editTextView->text(), "Dear all,\nthank you.");
    // The presenter corrects the document before saving; the correction is
    // what gets stored.
    editor->editTextView->select({ 9, 0 });
    editor->editTextView->user_insert(" and welcome");
    ASSERT_TRUE(device.tap("saveButton"));

    auto& store = device.store();
    EXPECT_EQ(string_list(store.list(keys::scriptTitlesArray)), (std::vector<std::string> { "Intro", "Outro", "Speech" }));
    EXPECT_EQ(string_list(store.list(keys::scriptTextArray))[2], "Dear all, and welcome\nthank you.");
    EXPECT_EQ(store.integer(keys::currentlyEditingIndex), 2);
    EXPECT_TRUE(library_is_consistent(store, { { "Intro", 10 }, { "Outro", 80 }, { "Speech", 56 } }));
}

TEST(Editor, ImportedScriptOnAFreshStoreSaysTheListsWereMissing)
{
    RunLoop loop;
    SimDevice device(loop);
    device.launch();
    device.log().take_new_lines();
    createImportedScriptWithName(home_of(device), "Speech");
    auto lines = device.log().take_new_lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[1], "scriptTitles was nil. Initializing as new array.");
    EXPECT_EQ(lines[2], "scriptText was nil. Initializing as new array.");
}

// Leaving the editor of an imported script without saving must not leave a
// title without settings behind: every later script's settings would then
// belong to the script before it.
TEST(Editor, LeavingAnImportedScriptUnsavedKeepsLaterScriptsInLine)
{
    RunLoop loop;
    SimDevice device(loop, two_scripts());
    device.launch();
    auto before = device.store().list(keys::scriptTitlesArray);
    createImportedScriptWithName(home_of(device), "Speech");
    device.settle();
    ASSERT_TRUE(device.tap("cancelButton"));
    EXPECT_EQ(device.top(), device.app().home());
    EXPECT_EQ(device.store().list(keys::scriptTitlesArray), before);

    home_of(device).createScript();
    answer(device, "Create Script", "Later");
    ASSERT_NE(device.top_as<editScriptViewController>(), nullptr);
    ASSERT_TRUE(device.tap("saveButton"));
    EXPECT_EQ(string_list(device.store().list(keys::scriptTitlesArray)), (std::vector<std::string> { "Intro", "Outro", "Later" }));
    EXPECT_TRUE(library_is_consistent(device.store(), { { "Intro", 10 }, { "Outro", 80 }, { "Later", 56 } }));
}

TEST(Editor, CreateScriptDialogRefusesATakenName)
{
    RunLoop loop;
    SimDevice device(loop, two_scripts());
    device.launch();
    home_of(device).createScript();
    ASSERT_NE(device.alert(), nullptr);
    EXPECT_EQ(device.alert()->text_fields().at(0).keyboard, KeyboardType::AsciiCapable);
    answer(device, "Create Script", "Outro");
    ASSERT_NE(device.alert(), nullptr);
    EXPECT_EQ(device.alert()->alert_title(), "Script Name Exists");
    answer(device, "OK");
    ASSERT_NE(device.alert(), nullptr);
    EXPECT_EQ(device.alert()->alert_title(), "Create New Script");
    answer(device, "Create Script", "Outro 2");
    EXPECT_NE(device.top_as<editScriptViewController>(), nullptr);
    EXPECT_EQ(device.store().string(keys::temporaryTitle), "Outro 2");
    EXPECT_TRUE(device.store().boolean(keys::isNewScript));
    EXPECT_FALSE(device.store().boolean(keys::isImportedScript));
}

TEST(Editor, KeyboardInsetsKeepTheInsertionPointVisible)
{
    RunLoop loop;
    SimDevice device(loop, two_scripts());
    device.launch();
    auto* editor = open_editor(device, Mode::Existing, {}, 0);
    ASSERT_NE(editor, nullptr);
    auto& text = *editor->editTextView;
    std::string long_text;
    for (int line = 0; line < 60; ++line)
        long_text += "Line " + std::to_string(line) + "\n";
    text.user_replace_all(long_text);

    show_keyboard(device.context(), 300);
    EXPECT_EQ(text.content_inset, (EdgeInsets { 0, 0, 300, 0 }));
    EXPECT_EQ(text.scroll_indicator_insets, (EdgeInsets { 0, 0, 300, 0 }));

    // Typing at the end scrolls the new line above the keyboard, and the
    // end of the text can be scrolled that far.
    text.user_insert("The end");
    double caret_bottom = text.content_size().height - text.content_inset.bottom;
    double visible_bottom = text.content_offset().y + text.frame.size.height - 300;
    EXPECT_NEAR(visible_bottom, caret_bottom, 1e-9);
    EXPECT_LE(text.content_offset().y, text.content_size().height - text.frame.size.height);

    // Typing back at the start scrolls up to it.
    text.select({ 0, 0 });
    text.user_insert("A");
    EXPECT_EQ(text.content_offset().y, 0);

    hide_keyboard(device.context());
    EXPECT_EQ(text.content_inset, EdgeInsets {});
    EXPECT_EQ(text.scroll_indicator_insets, EdgeInsets {});
}

TEST(Editor, StopsObservingTheKeyboardWhenGone)
{
    RunLoop loop;
    SimDevice device(loop, two_scripts());
    device.launch();
    ASSERT_NE(open_editor(device, Mode::Existing, {}, 0), nullptr);
    ASSERT_TRUE(device.tap("cancelButton"));
    device.settle();
    show_keyboard(device.context(), 300);
    hide_keyboard(device.context());
    EXPECT_EQ(device.top(), device.app().home());
}
