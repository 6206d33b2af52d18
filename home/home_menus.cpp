// The home screen's menus: the add menu, the option sheet a long press on a
// tile brings up, and the screens the fixed controls open modally.

#include "ViewController.h"

#include "library/library_records.h"
#include "library/store_keys.h"
#include "platform/ui/alert_controller.h"
#include "platform/ui/app_context.h"

namespace cw {

static std::unique_ptr<AlertController> make_sheet(AppContext& context, std::string title, std::string message = {})
{
    return std::make_unique<AlertController>(context, std::move(title), std::move(message), AlertStyle::ActionSheet);
}

static Rect frame_in_root(View const& view)
{
    return { view.convert_to_root({}), view.frame.size };
}

void ViewController::addScript()
{
    auto sheet = make_sheet(context(), "Add Script or Folder", "Choose an option");
    sheet->add_action("Create New Script", AlertActionStyle::Default, [this](AlertController&) { createScript(); });
    sheet->add_action("Import Existing Script", AlertActionStyle::Default, [this](AlertController&) { import(); });
    sheet->add_action("Create New Folder", AlertActionStyle::Default, [this](AlertController&) { createFolder(); });
    sheet->add_action("Cancel", AlertActionStyle::Cancel);
    if (context().window.idiom() != Idiom::Phone)
        sheet->popover_anchor = PopoverAnchor { "addScriptButton", &view(), frame_in_root(*addScriptButton) };
    present(std::move(sheet), true);
}

// The item under a press on a tile, found from where the press is in the
// grid. A press that reaches here from a grid that has since been replaced
// finds nothing.
std::optional<IndexPath> ViewController::pressed_item(GestureRecognizer const& recognizer) const
{
    if (!_collectionView || !recognizer.view)
        return std::nullopt;
    for (View const* v = recognizer.view; v != _collectionView; v = v->superview()) {
        if (!v)
            return std::nullopt;
    }
    return _collectionView->index_path_for_item_at_point(_collectionView->content_point(*recognizer.view, recognizer.location));
}

void ViewController::handleLongPress(GestureRecognizer& recognizer)
{
    if (isInRearrangeMode) {
        context().log.line("Still calling long press when it shouldn't");
        return;
    }
    if (recognizer.state != GestureState::Began)
        return;
    auto path = pressed_item(recognizer);
    if (!path || path->item < 0)
        return;
    auto position = static_cast<size_t>(path->item);
    if (isInsideFolder) {
        if (position < currentFolderDataSource.size())
            present_option_sheet(path->item, currentFolderDataSource[position]);
        return;
    }
    auto stored = context().defaults.list(keys::combinedDataSource);
    if (position < stored.size())
        present_option_sheet(path->item, stored[position]);
}

void ViewController::present_option_sheet(std::int64_t position, Value const& record)
{
    auto name = record_name(record);
    std::unique_ptr<AlertController> sheet;
    if (isInsideFolder && is_script_record(record)) {
        sheet = make_sheet(context(), "Script Options");
        sheet->add_action("Move Out of Folder", AlertActionStyle::Default, [this, name](AlertController&) { moveScriptWithName(name); });
        sheet->add_action("Re-arrange", AlertActionStyle::Default, [this](AlertController&) { enterRearrangeMode(); });
        sheet->add_action("Delete", AlertActionStyle::Destructive, [this, name](AlertController&) { deleteScriptWithName(name); });
    } else if (!isInsideFolder && is_folder_record(record)) {
        sheet = make_sheet(context(), "Folder Options");
        sheet->add_action("Rename", AlertActionStyle::Default, [this, position](AlertController&) { showRenameFolderAlertForFolderAtIndex(position); });
        sheet->add_action("Re-arrange", AlertActionStyle::Default, [this](AlertController&) { enterRearrangeMode(); });
        sheet->add_action("Delete Folder", AlertActionStyle::Destructive, [this, position](AlertController&) { confirmFolderDeletionForFolderAtIndex(position); });
    } else if (!isInsideFolder && is_script_record(record)) {
        sheet = make_sheet(context(), "Script Options");
        sheet->add_action("Move to Folder", AlertActionStyle::Default, [this, position](AlertController&) { showFolderSelectionSheetForScriptAtIndex(position); });
        sheet->add_action("Re-arrange", AlertActionStyle::Default, [this](AlertController&) { enterRearrangeMode(); });
        sheet->add_action("Delete", AlertActionStyle::Destructive, [this, name](AlertController&) { deleteScriptWithName(name); });
    } else {
        return;
    }
    sheet->add_action("Cancel", AlertActionStyle::Cancel);
    anchor_to_tile(*sheet, { 0, position });
    present(std::move(sheet), true);
}

// On a tablet a sheet is a popover; it points at the pressed tile, given as
// a rectangle of the screen's view so that the anchor outlives the tile.
void ViewController::anchor_to_tile(AlertController& sheet, IndexPath path)
{
    if (context().window.idiom() == Idiom::Phone)
        return;
    auto& root = view();
    Rect where { { root.frame.size.width / 2, root.frame.size.height / 2 }, { 1, 1 } };
    if (auto* tile = tile_at(path))
        where = frame_in_root(*tile);
    sheet.popover_anchor = PopoverAnchor { {}, &root, where };
}

void ViewController::presentVideoViewController(Button*)
{
    if (auto gallery = context().storyboard.instantiate(context(), home::video_gallery_identifier))
        present(std::move(gallery), true);
}

void ViewController::remoteControlAction(Button*)
{
    auto remote = context().storyboard.instantiate(context(), "RemoteID");
    if (!remote)
        return;
    remote->modal_presentation_style = ModalPresentationStyle::FullScreen;
    present(std::move(remote), true);
}

}
