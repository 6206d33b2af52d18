#include "VideoViewController.h"

#include "CustomVideoCell.h"
#include "VideoManager.h"

#include "platform/foundation/format.h"
#include "platform/foundation/paths.h"
#include "platform/services/photo_library.h"
#include "platform/services/player.h"
#include "platform/services/share_sheet.h"
#include "platform/ui/alert_controller.h"
#include "platform/ui/app_context.h"
#include "platform/ui/gesture_recognizer.h"

namespace cw {

static std::string join(std::vector<std::string> const& urls)
{
    std::string text = "(";
    for (size_t i = 0; i < urls.size(); ++i)
        text += (i ? ", " : "") + urls[i];
    return text + ")";
}

void VideoViewController::loadView()
{
    set_view(std::make_unique<View>(Rect { { 0, 0 }, context().window.size() }));
}

void VideoViewController::viewDidLoad()
{
    Screen::viewDidLoad();
    videoURLs = VideoManager::getSavedVideoURLs(context());
    context().log.line(format("Video URLs: %@", { join(videoURLs) }));

    auto& root = view();
    root.background = Color::black();

    auto hint = std::make_unique<Label>(Rect { { 0, 0 }, { root.frame.size.width, hint_height } });
    hint->name = "hintLabel";
    hint->text = hint_text;
    hint->text_color = Color::white();
    hint->alignment = TextAlignment::Center;
    hintLabel = &root.add_subview(std::move(hint));

    // Items are a quarter of the screen wide and a third of it high.
    double screen_width = context().window.size().width;
    auto layout = std::make_unique<CollectionViewFlowLayout>();
    layout->item_size = Size { screen_width * 0.25, screen_width / 3 };
    auto grid = std::make_unique<CollectionView>(Rect {}, std::move(layout));
    grid->name = "collectionView";
    grid->background = Color::clear();
    grid->data_source = this;
    grid->delegate = this;
    grid->register_cell_class(cell_identifier, [screen_width](Rect frame) { return std::make_unique<CustomVideoCell>(frame, screen_width); });
    collectionView = &root.add_subview(std::move(grid));
    layOutGrid();
    // The first layout pass, which fills the grid before it is first drawn.
    collectionView->layout_if_needed();
}

// The grid's constraints: its top 40 points below the safe area's top, its
// other edges on the main view's.
void VideoViewController::layOutGrid()
{
    auto size = view().frame.size;
    double safe_top = 0;
    collectionView->set_frame(Rect { { 0, safe_top + hint_height }, { size.width, size.height - safe_top - hint_height } });
}

void VideoViewController::viewWillLayoutSubviews()
{
    if (!is_view_loaded() || !collectionView)
        return;
    view().frame = Rect { { 0, 0 }, context().window.size() };
    layOutGrid();
}

std::int64_t VideoViewController::collectionViewNumberOfItemsInSection(CollectionView&, std::int64_t)
{
    return static_cast<std::int64_t>(videoURLs.size());
}

CollectionViewCell& VideoViewController::collectionViewCellForItemAtIndexPath(CollectionView& grid, IndexPath path)
{
    auto& cell = static_cast<CustomVideoCell&>(grid.dequeue_reusable_cell(cell_identifier, path));
    auto const& url = videoURLs.at(static_cast<size_t>(path.item));
    cell.layoutContent();
    cell.showPreview(VideoManager::generatePreviewImageForVideoAtURL(context(), url));
    // A reused cell keeps its recognisers; they look the item up from the
    // touch, so they never go stale.
    if (!cell.recognizers_attached) {
        auto tap = std::make_unique<GestureRecognizer>(GestureRecognizer::Type::Tap);
        tap->on_action = [this](GestureRecognizer& recognizer) {
            if (recognizer.state == GestureState::Ended)
                playVideo(recognizer);
        };
        cell.add_gesture_recognizer(std::move(tap));
        auto press = std::make_unique<GestureRecognizer>(GestureRecognizer::Type::LongPress);
        press->on_action = [this](GestureRecognizer& recognizer) { handleLongPress(recognizer); };
        cell.add_gesture_recognizer(std::move(press));
        cell.recognizers_attached = true;
    }
    return cell;
}

std::optional<IndexPath> VideoViewController::itemUnder(GestureRecognizer& recognizer)
{
    auto point = recognizer.view ? collectionView->content_point(*recognizer.view, recognizer.location)
                                 : collectionView->content_point(recognizer.location);
    auto path = collectionView->index_path_for_item_at_point(point);
    if (path && static_cast<size_t>(path->item) >= videoURLs.size())
        return std::nullopt;
    return path;
}

void VideoViewController::playVideo(GestureRecognizer& recognizer)
{
    auto path = itemUnder(recognizer);
    if (!path)
        return;
    auto player = context().services.get<PlayerService>().player_with_url(videoURLs[static_cast<size_t>(path->item)]);
    auto screen = std::make_unique<PlayerViewController>(context());
    screen->player = player;
    present(std::move(screen), true, [player] { player->play(); });
}

void VideoViewController::handleLongPress(GestureRecognizer& recognizer)
{
    if (recognizer.state != GestureState::Began)
        return;
    auto path = itemUnder(recognizer);
    if (!path)
        return;
    auto url = videoURLs[static_cast<size_t>(path->item)];
    m_pressed_cell.reset();
    if (auto* cell = collectionView->cell_for_item_at_index_path(*path))
        m_pressed_cell = Rect { cell->convert_to_root({ 0, 0 }), cell->frame.size };

    auto sheet = std::make_unique<AlertController>(context(), std::string {}, std::string {}, AlertStyle::ActionSheet);
    sheet->add_action("Save to Photos", AlertActionStyle::Default, [this, url](AlertController&) { saveVideoToPhotos(url); });
    sheet->add_action("Share", AlertActionStyle::Default, [this, url](AlertController&) { shareVideo(url); });
    sheet->add_action("Delete", AlertActionStyle::Destructive, [this, url, path = *path](AlertController&) { deleteVideoAtIndexPath(url, path); });
    if (context().window.idiom() == Idiom::Tablet && m_pressed_cell)
        sheet->popover_anchor = PopoverAnchor { {}, &view(), *m_pressed_cell };
    present(std::move(sheet), true);
}

void VideoViewController::saveVideoToPhotos(std::optional<std::string> const& url)
{
    if (!url)
        return;
    auto& context = this->context();
    auto alive = weak_token();
    // The answer comes on the platform's queue: log there, show on the main
    // queue, and only while the gallery is still open.
    context.services.get<PhotoLibrary>().perform_changes_creating_video_asset_from_file_url(*url, [this, &context, alive](bool success, std::string const& error) {
        if (!success) {
            context.log.line(format("Error saving video to Photos: %@", { error }));
            return;
        }
        context.log.line("Video saved to Photos successfully.");
        context.loop.post([this, alive] {
            if (alive.lock())
                showSaveConfirmationAlert();
        });
    });
}

void VideoViewController::showSaveConfirmationAlert()
{
    auto alert = std::make_shared<std::unique_ptr<AlertController>>(
        std::make_unique<AlertController>(context(), "Success", "Video saved to Photos successfully.", AlertStyle::Alert));
    (*alert)->add_action("OK", AlertActionStyle::Default);
    defer([this, alert] { present(std::move(*alert), true); });
}

void VideoViewController::shareVideo(std::optional<std::string> const& url)
{
    if (!url)
        return;
    auto sheet = std::make_unique<ActivityViewController>(context(), std::vector<std::string> { *url });
    sheet->excluded_activity_types = { activity_type::assign_to_contact };
    if (context().window.idiom() == Idiom::Tablet && m_pressed_cell)
        sheet->popover_anchor = PopoverAnchor { {}, &view(), *m_pressed_cell };
    present(std::move(sheet), true);
}

void VideoViewController::deleteVideoAtIndexPath(std::optional<std::string> const& url, IndexPath path)
{
    if (!url)
        return;
    if (path.item < 0 || static_cast<size_t>(path.item) >= videoURLs.size())
        return;
    videoURLs.erase(videoURLs.begin() + path.item);
    collectionView->reload_data();
    std::string error;
    if (files::remove(*url, &error))
        context().log.line("Video deleted.");
    else
        context().log.line(format("Error deleting video: %@", { error }));
}

void VideoViewController::describe(Record& record) const
{
    List urls;
    for (auto const& url : videoURLs)
        urls.push_back(Value(url));
    record["videoURLs"] = Value(std::move(urls));
}

}
