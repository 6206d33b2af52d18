// Driver commands for the library: the home screen's folder and script
// operations, reached the way the home screen reaches them (most open a
// dialog or sheet, which "alert" shows and "answer" answers), and the
// script editor with its text, insertion point and keyboard.

#include "driver.h"

#include "home/ViewController.h"
#include "library/editScriptViewController.h"
#include "library/imported_script_handler.h"
#include "library/library_records.h"
#include "library/store_keys.h"
#include "platform/ui/editable_text_view.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/navigation_controller.h"

#include <cmath>

namespace cw {

using Json = nlohmann::json;

static ViewController& home_screen(SimDevice& device)
{
    auto* home = dynamic_cast<ViewController*>(device.app().home());
    if (!home)
        throw DriverError("the home screen is not loaded");
    return *home;
}

static std::int64_t required_integer(Json const& request, char const* field)
{
    auto it = request.find(field);
    if (it == request.end() || !it->is_number_integer())
        throw DriverError(std::string("missing whole-number field \"") + field + "\"");
    return it->get<std::int64_t>();
}

// Runs one home-screen action and answers which screen is on top after it.
template<typename Action>
static Json on_home(Driver& driver, Json const& request, Action action)
{
    auto& device = driver.device(request);
    action(home_screen(device));
    device.settle();
    auto* top = device.top();
    return { { "top", top ? top->class_name() : "" } };
}

static editScriptViewController& editor(SimDevice& device)
{
    auto* navigation = device.app().navigation();
    auto* screen = navigation ? dynamic_cast<editScriptViewController*>(navigation->top()) : nullptr;
    if (!screen)
        throw DriverError("the script editor is not open");
    return *screen;
}

static Json editor_state(editScriptViewController& screen)
{
    auto& text = *screen.editTextView;
    auto range = text.selected_range();
    auto inset = text.content_inset;
    auto indicator = text.scroll_indicator_insets;
    return { { "editor",
        { { "isNewScript", screen.isNewScript },
            { "scriptIndex", screen.scriptIndex },
            { "deleteEnabled", screen.deleteButton->enabled },
            { "text", text.text() },
            { "selectedRange", { range.location, range.length } },
            { "contentInset", { inset.top, inset.left, inset.bottom, inset.right } },
            { "scrollIndicatorInset", { indicator.top, indicator.left, indicator.bottom, indicator.right } },
            { "contentOffset", { text.content_offset().x, text.content_offset().y } },
            { "contentHeight", text.content_size().height },
            { "frameHeight", text.frame.size.height } } } };
}

template<typename Edit>
static Json on_editor(Driver& driver, Json const& request, Edit edit)
{
    auto& device = driver.device(request);
    auto& screen = editor(device);
    edit(screen);
    device.settle();
    return editor_state(screen);
}

// Writes the working keys the way the editor's openers do, then pushes it.
static Json open_editor(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& store = device.store();
    auto mode = required_string(request, "mode");
    if (mode == "new" || mode == "imported") {
        auto title = required_string(request, "title");
        // The create dialog never opens the editor on a taken title.
        if (mode == "new" && find_script_index(store.list(keys::scriptTitlesArray), title))
            throw DriverError("a script titled \"" + title + "\" already exists");
        store.set(keys::temporaryTitle, title);
        store.set_boolean(keys::isNewScript, mode == "new");
        store.set_boolean(keys::isImportedScript, mode == "imported");
        if (request.contains("text"))
            store.set(keys::ImportedText, required_string(request, "text"));
    } else if (mode == "existing") {
        auto index = required_integer(request, "index");
        if (index < 0 || static_cast<size_t>(index) >= store.list(keys::scriptTextArray).size())
            throw DriverError("no stored script at index " + std::to_string(index));
        store.set_integer(keys::currentlyEditingIndex, index);
        store.set_boolean(keys::isNewScript, false);
        store.set_boolean(keys::isImportedScript, false);
    } else {
        throw DriverError("mode must be \"new\", \"imported\" or \"existing\"");
    }
    auto* navigation = device.app().navigation();
    auto screen = device.context().storyboard.instantiate(device.context(), "editScriptID");
    if (!navigation || !screen)
        throw DriverError("the script editor cannot be opened");
    navigation->push(std::move(screen), true);
    device.settle();
    return editor_state(editor(device));
}

static Json show_keyboard_command(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    double height = optional_number(request, "height", 336);
    if (!std::isfinite(height) || height < 0)
        throw DriverError("height must be a number of points, 0 or more");
    show_keyboard(device.context(), height);
    device.settle();
    return {};
}

static Json hide_keyboard_command(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    hide_keyboard(device.context());
    device.settle();
    return {};
}

void register_library_commands(Driver& driver)
{
    driver.add_command("create_script", [](Driver& d, Json const& r) { return on_home(d, r, [](ViewController& home) { home.createScript(); }); });
    driver.add_command("import_script", [](Driver& d, Json const& r) {
        auto name = required_string(r, "name");
        if (r.contains("text"))
            d.device(r).store().set(keys::ImportedText, required_string(r, "text"));
        return on_home(d, r, [&](ViewController& home) { createImportedScriptWithName(home, name); });
    });
    driver.add_command("create_folder", [](Driver& d, Json const& r) { return on_home(d, r, [](ViewController& home) { home.createFolder(); }); });
    driver.add_command("rename_folder", [](Driver& d, Json const& r) {
        auto index = required_integer(r, "index");
        return on_home(d, r, [&](ViewController& home) { home.showRenameFolderAlertForFolderAtIndex(index); });
    });
    driver.add_command("delete_folder", [](Driver& d, Json const& r) {
        auto index = required_integer(r, "index");
        return on_home(d, r, [&](ViewController& home) { home.confirmFolderDeletionForFolderAtIndex(index); });
    });
    driver.add_command("move_script", [](Driver& d, Json const& r) {
        auto index = required_integer(r, "index");
        return on_home(d, r, [&](ViewController& home) { home.showFolderSelectionSheetForScriptAtIndex(index); });
    });
    driver.add_command("move_out", [](Driver& d, Json const& r) {
        auto name = required_string(r, "name");
        return on_home(d, r, [&](ViewController& home) { home.moveScriptWithName(name); });
    });
    driver.add_command("delete_script", [](Driver& d, Json const& r) {
        auto name = required_string(r, "name");
        return on_home(d, r, [&](ViewController& home) { home.deleteScriptWithName(name); });
    });
    driver.add_command("reorder", [](Driver& d, Json const& r) {
        auto from = required_integer(r, "from");
        auto to = required_integer(r, "to");
        return on_home(d, r, [&](ViewController& home) { home.collectionViewMoveItemAtIndexPathToIndexPath(from, to); });
    });

    driver.add_command("open_editor", open_editor);
    driver.add_command("editor", [](Driver& d, Json const& r) { return editor_state(editor(d.device(r))); });
    driver.add_command("editor_type", [](Driver& d, Json const& r) {
        auto text = required_string(r, "text");
        return on_editor(d, r, [&](editScriptViewController& screen) { screen.editTextView->user_insert(text); });
    });
    driver.add_command("editor_replace", [](Driver& d, Json const& r) {
        auto text = required_string(r, "text");
        return on_editor(d, r, [&](editScriptViewController& screen) { screen.editTextView->user_replace_all(text); });
    });
    driver.add_command("editor_backspace", [](Driver& d, Json const& r) {
        return on_editor(d, r, [](editScriptViewController& screen) { screen.editTextView->user_delete_backward(); });
    });
    driver.add_command("editor_select", [](Driver& d, Json const& r) {
        auto location = required_integer(r, "location");
        auto length = r.contains("length") ? required_integer(r, "length") : 0;
        if (location < 0 || length < 0)
            throw DriverError("location and length must not be negative");
        return on_editor(d, r, [&](editScriptViewController& screen) {
            screen.editTextView->select({ static_cast<size_t>(location), static_cast<size_t>(length) });
        });
    });
    driver.add_command("keyboard_show", show_keyboard_command);
    driver.add_command("keyboard_hide", hide_keyboard_command);
}

}
