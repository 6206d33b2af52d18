// The editor's load, layout and keyboard handling. Saving and deleting are
// in editor_save.cpp.

#include "editScriptViewController.h"

#include "library/library_records.h"
#include "library/script_lists.h"
#include "library/store_keys.h"
#include "library/welcome_text.h"
#include "platform/foundation/format.h"
#include "platform/services/text_layout.h"
#include "platform/ui/app_context.h"
#include "platform/ui/editable_text_view.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/navigation_controller.h"

#include <algorithm>

namespace cw {

static constexpr double bar_height = 44;
static Color const editor_background { 0.22, 0.22, 0.22, 1 };

editScriptViewController::editScriptViewController(AppContext& context)
    : Screen(context)
{
    title = "Edit Script";
}

static std::unique_ptr<Button> make_bar_button(char const* name, char const* title)
{
    auto button = std::make_unique<Button>();
    button->name = name;
    button->title = title;
    button->title_color = Color::white();
    return button;
}

void editScriptViewController::loadView()
{
    auto root = std::make_unique<View>(context().window.bounds());
    root->background = editor_background;

    cancelButton = &root->add_subview(make_bar_button("cancelButton", "Cancel"));
    cancelButton->on_tap = [this] {
        if (auto* navigation = navigation_controller())
            navigation->pop(true);
    };
    deleteButton = &root->add_subview(make_bar_button("deleteButton", "Delete"));
    deleteButton->title_color = Color { 1, 0.23, 0.19, 1 };
    deleteButton->on_tap = [this] { deleteScript(); };
    saveButton = &root->add_subview(make_bar_button("saveButton", "Save"));
    saveButton->on_tap = [this] { saveScript(); };

    // Added last, so the text view is in front of everything else.
    auto text = std::make_unique<EditableTextView>(context().services.shared<TextLayout>());
    text->name = "editTextView";
    text->background = Color::black();
    text->text_color = Color::white();
    text->set_font_size(20);
    text->on_change = [this](EditableTextView& view) { textViewDidChange(view); };
    editTextView = &root->add_subview(std::move(text));

    set_view(std::move(root));
    layout();
}

// A bar along the top with Cancel on the left, Delete in the middle and
// Save on the right; the text fills the rest of the screen.
void editScriptViewController::layout()
{
    auto size = context().window.size();
    double third = size.width / 3;
    // Below the navigation bar, which would otherwise cover the buttons.
    double top = NavigationController::top_inset_for(*this);
    cancelButton->frame = { { 0, top }, { third, bar_height } };
    deleteButton->frame = { { third, top }, { third, bar_height } };
    saveButton->frame = { { 2 * third, top }, { third, bar_height } };
    double text_top = top + bar_height;
    editTextView->frame = { { 0, text_top }, { size.width, std::max(0.0, size.height - text_top) } };
}

void editScriptViewController::viewWillLayoutSubviews()
{
    layout();
}

void editScriptViewController::viewDidLoad()
{
    m_keyboard_show = context().notifications.observe(keyboard_will_show_notification, nullptr, [this] { keyboardWillShow(); });
    m_keyboard_hide = context().notifications.observe(keyboard_will_hide_notification, nullptr, [this] { keyboardWillHide(); });

    scriptIndex = context().defaults.integer(keys::currentlyEditingIndex);
    loadWorkingLists();
    context().log.line(format("Script index = %d", { scriptIndex }));
    chooseMode();
}

void editScriptViewController::loadWorkingLists()
{
    auto& store = context().defaults;
    scriptText = store.list(keys::scriptTextArray);
    scriptTitles = store.list(keys::scriptTitlesArray);
    load_settings_lists(store, { &textSizeArray, &isScrollNormalArray, &colorDataArray, &textColorDataArray,
                                   &isMirrorModeArray, &isMagicScrollingArray, &isRecordingVideoArray });
}

void editScriptViewController::chooseMode()
{
    auto& store = context().defaults;
    if (store.boolean(keys::isImportedScript)) {
        editTextView->set_text(store.string(keys::ImportedText));
        deleteButton->enabled = false;
    } else if (store.boolean(keys::isNewScript)) {
        isNewScript = true;
        editTextView->set_text(welcome_text());
        deleteButton->enabled = false;
    } else {
        isNewScript = false;
        scriptIndex = store.integer(keys::currentlyEditingIndex);
        bool known = scriptIndex >= 0 && static_cast<size_t>(scriptIndex) < scriptText.size();
        editTextView->set_text(known && scriptText[static_cast<size_t>(scriptIndex)].is_string() ? scriptText[static_cast<size_t>(scriptIndex)].as_string() : std::string {});
    }
}

std::array<List*, 7> editScriptViewController::settingsLists()
{
    return { &textSizeArray, &isScrollNormalArray, &colorDataArray, &textColorDataArray,
        &isMirrorModeArray, &isMagicScrollingArray, &isRecordingVideoArray };
}

std::string editScriptViewController::generateUniqueIDForScriptName(std::string const& name) const
{
    return cw::generateUniqueIDForScriptName(name, context().loop.seconds_since_1970());
}

// The keyboard covers the bottom of the text; a bottom inset of its height
// lets the end of the text scroll above it.
void editScriptViewController::keyboardWillShow()
{
    double height = context().window.keyboard_frame ? context().window.keyboard_frame->size.height : 0;
    EdgeInsets insets = editTextView->content_inset;
    insets.bottom = height;
    editTextView->content_inset = insets;
    editTextView->scroll_indicator_insets = insets;
}

void editScriptViewController::keyboardWillHide()
{
    editTextView->content_inset = {};
    editTextView->scroll_indicator_insets = {};
}

void editScriptViewController::textViewDidChange(EditableTextView& view)
{
    view.scroll_range_to_visible(view.selected_range());
}

void editScriptViewController::describe(Record& record) const
{
    record["isNewScript"] = isNewScript;
    record["scriptIndex"] = scriptIndex;
    record["deleteEnabled"] = deleteButton ? deleteButton->enabled : false;
}

}
