// The saved-video store and the gallery: listing, previews, playing,
// saving, sharing and deleting takes.

#include "videos_fixture.h"

#include "home/ViewController.h"
#include "platform/services/player.h"
#include "platform/services/share_sheet.h"
#include "videos/CustomVideoCell.h"
#include "videos/VideoManager.h"
#include "videos/VideoViewController.h"

#include <numbers>

namespace cw::testing {
namespace {

class Gallery : public VideosTest {
protected:
    VideoViewController& open_gallery()
    {
        auto* home = dynamic_cast<ViewController*>(device->top());
        if (!home)
            throw std::runtime_error("the home screen is not on top");
        home->presentVideoViewController();
        device->settle();
        auto* gallery = device->top_as<VideoViewController>();
        if (!gallery)
            throw std::runtime_error("no gallery on top");
        gallery->collectionView->layout_if_needed();
        return *gallery;
    }
    CustomVideoCell& cell(VideoViewController& gallery, std::int64_t item)
    {
        auto* cell = dynamic_cast<CustomVideoCell*>(gallery.collectionView->cell_for_item_at_index_path({ 0, item }));
        if (!cell)
            throw std::runtime_error("no cell for item " + std::to_string(item));
        return *cell;
    }
    GestureRecognizer& recognizer(CustomVideoCell& cell, GestureRecognizer::Type type)
    {
        for (auto const& r : cell.gesture_recognizers())
            if (r->type == type)
                return *r;
        throw std::runtime_error("no recogniser");
    }
    void tap(CustomVideoCell& cell, Point where = { 5, 5 })
    {
        recognizer(cell, GestureRecognizer::Type::Tap).update(GestureState::Ended, where);
        device->settle();
    }
    void long_press(CustomVideoCell& cell, Point where = { 5, 5 })
    {
        auto& press = recognizer(cell, GestureRecognizer::Type::LongPress);
        press.update(GestureState::Began, where);
        press.update(GestureState::Ended, where);
        device->settle();
    }
    bool logged_prefix(std::string const& prefix) const
    {
        auto lines = device->log().lines();
        return std::any_of(lines.begin(), lines.end(), [&](auto const& line) { return line.starts_with(prefix); });
    }
};

TEST_F(Gallery, ListingAMissingFolderIsEmptyAndCreatesNothing)
{
    launch();
    EXPECT_TRUE(VideoManager::getSavedVideoURLs(device->context()).empty());
    EXPECT_TRUE(logged_prefix("Error getting video files: "));
    EXPECT_FALSE(files::exists(folder()));

    auto& gallery = open_gallery();
    EXPECT_EQ(gallery.collectionView->number_of_items(), 0);
    EXPECT_EQ(gallery.hintLabel->text, "Tap to Play. Long Press for Options");
    EXPECT_TRUE(logged("Video URLs: ()"));
}

TEST_F(Gallery, PreviewsAreTheFrameAtTwoSecondsOrThePlaceholder)
{
    struct Case {
        char const* name;
        std::string content;
        std::optional<std::string> resource;
        bool error_logged;
    };
    auto movie = [](double seconds) { return sim::encode_test_movie({ seconds, static_cast<long>(seconds * 20), 20, "front" }); };
    for (auto const& c : std::vector<Case> {
             { "a 1.5-second take", movie(1.5), "placeHolderImage", false },
             { "a 2-second take", movie(2), "frame:take.mov#39", false },
             { "a 10-second take", movie(10), "frame:take.mov#40", false },
             { "a stray file", "not a movie", std::nullopt, true },
         }) {
        SCOPED_TRACE(c.name);
        launch();
        files::create_directory(folder());
        files::write(folder() + "/take.mov", c.content);
        auto image = VideoManager::generatePreviewImageForVideoAtURL(device->context(), folder() + "/take.mov");
        EXPECT_EQ(image ? std::optional(image->resource) : std::nullopt, c.resource);
        EXPECT_EQ(logged_prefix("Error generating preview image: "), c.error_logged);
        device.reset();
        std::filesystem::remove_all(std::filesystem::path(folder()));
    }
}

TEST_F(Gallery, CellsShowTurnedPreviewsInTheFixedLayout)
{
    launch();
    plant_take("a.mov", 5);
    plant_take("b.mov", 1.5);
    plant_take("notes.txt", 0);
    files::write(folder() + "/notes.txt", "stray");
    auto& gallery = open_gallery();
    ASSERT_EQ(gallery.videoURLs.size(), 3u) << "every entry counts as a take";
    EXPECT_EQ(gallery.view().background, Color::black());
    double w = device->context().window.size().width;
    EXPECT_EQ(gallery.collectionView->layout().item_size, (Size { w * 0.25, w / 3 }));
    EXPECT_EQ(gallery.collectionView->frame.origin.y, 40);
    EXPECT_EQ(gallery.hintLabel->frame, (Rect { { 0, 0 }, { gallery.view().frame.size.width, 40 } }));

    EXPECT_EQ(cell(gallery, 0).previewImageView->image->resource, "frame:a.mov#40");
    EXPECT_EQ(cell(gallery, 1).previewImageView->image->resource, "placeHolderImage");
    EXPECT_FALSE(cell(gallery, 2).previewImageView->image) << "no picture for a stray file";
    EXPECT_EQ(cell(gallery, 0).previewImageView->transform, AffineTransform::rotation(std::numbers::pi / 2));

    // Configuring a cell again does not stack recognisers on it.
    gallery.collectionView->reload_data();
    gallery.collectionView->layout_if_needed();
    EXPECT_EQ(cell(gallery, 0).gesture_recognizers().size(), 2u);
}

TEST_F(Gallery, ATapPlaysTheTakeUnderIt)
{
    launch();
    plant_take("a.mov", 5);
    plant_take("b.mov", 5);
    auto& gallery = open_gallery();
    auto& second = cell(gallery, 1);

    // Between two cells: nothing happens.
    tap(second, { -5, 5 });
    long_press(second, { -5, 5 });
    EXPECT_EQ(device->top(), &gallery);

    tap(second);
    auto* player = device->top_as<PlayerViewController>();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->player->url(), folder() + "/b.mov");
    EXPECT_TRUE(player->player->is_playing());
    EXPECT_TRUE(gallery.last_presentation_animated());
}

TEST_F(Gallery, DeletingTheSecondOfThreeTakes)
{
    launch();
    for (auto name : { "a.mov", "b.mov", "c.mov" })
        plant_take(name, 5);
    auto& gallery = open_gallery();
    long_press(cell(gallery, 1));
    auto* sheet = device->alert();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->style(), AlertStyle::ActionSheet);
    EXPECT_EQ(sheet->alert_title(), "");
    std::vector<std::pair<std::string, AlertActionStyle>> actions;
    for (auto const& action : sheet->actions())
        actions.emplace_back(action.title, action.style);
    EXPECT_EQ(actions, (std::vector<std::pair<std::string, AlertActionStyle>> {
                           { "Save to Photos", AlertActionStyle::Default },
                           { "Share", AlertActionStyle::Default },
                           { "Delete", AlertActionStyle::Destructive },
                       }));
    ASSERT_TRUE(device->choose("Delete"));
    device->settle();
    EXPECT_EQ(gallery.videoURLs, (std::vector<std::string> { folder() + "/a.mov", folder() + "/c.mov" }));
    EXPECT_EQ(gallery.collectionView->number_of_items(), 2);
    EXPECT_EQ(saved(), (std::vector<std::string> { "a.mov", "c.mov" }));
    EXPECT_TRUE(logged("Video deleted."));
}

TEST_F(Gallery, AFailedDeleteStillLeavesTheGrid)
{
    launch();
    plant_take("a.mov", 5);
    auto& gallery = open_gallery();
    files::remove(folder() + "/a.mov");
    gallery.deleteVideoAtIndexPath(folder() + "/a.mov", { 0, 0 });
    EXPECT_TRUE(gallery.videoURLs.empty());
    EXPECT_TRUE(logged_prefix("Error deleting video: "));
}

TEST_F(Gallery, SavingConfirmsOnlyWhenThePhotoLibraryAccepts)
{
    for (bool grants : { true, false }) {
        SCOPED_TRACE(grants ? "granted" : "refused");
        launch();
        platform().photos->grants = grants;
        plant_take("a.mov", 5);
        auto& gallery = open_gallery();
        long_press(cell(gallery, 0));
        ASSERT_TRUE(device->choose("Save to Photos"));
        device->settle();
        EXPECT_EQ(platform().photos->video_assets().size(), grants ? 1u : 0u);
        EXPECT_EQ(logged("Video saved to Photos successfully."), grants);
        EXPECT_EQ(logged_prefix("Error saving video to Photos: "), !grants);
        auto* alert = device->alert();
        if (grants) {
            ASSERT_NE(alert, nullptr);
            EXPECT_EQ(alert->alert_title(), "Success");
            EXPECT_EQ(alert->message(), "Video saved to Photos successfully.");
            ASSERT_EQ(alert->actions().size(), 1u);
            EXPECT_EQ(alert->actions()[0].title, "OK");
            ASSERT_TRUE(device->choose("OK"));
            device->settle();
            EXPECT_EQ(device->top(), &gallery) << "one alert only";
        } else {
            EXPECT_EQ(alert, nullptr);
            EXPECT_EQ(device->top(), &gallery);
        }
        device.reset();
    }
}

TEST_F(Gallery, TheShareSheetOffersNoAssignToContact)
{
    for (auto idiom : { Idiom::Phone, Idiom::Tablet }) {
        SimDeviceOptions options;
        options.idiom = idiom;
        launch({ ScriptSeed {} }, options);
        plant_take("a.mov", 5);
        auto& gallery = open_gallery();
        long_press(cell(gallery, 0));
        EXPECT_EQ(device->alert()->popover_anchor.has_value(), idiom == Idiom::Tablet);
        ASSERT_TRUE(device->choose("Share"));
        device->settle();
        auto* sheet = device->top_as<ActivityViewController>();
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->activity_items(), (std::vector<std::string> { folder() + "/a.mov" }));
        auto offered = sheet->offered_activity_types();
        EXPECT_FALSE(offered.empty());
        EXPECT_EQ(std::find(offered.begin(), offered.end(), activity_type::assign_to_contact), offered.end());
        EXPECT_EQ(sheet->popover_anchor.has_value(), idiom == Idiom::Tablet);
        ASSERT_TRUE(sheet->choose(activity_type::mail));
        ASSERT_EQ(platform().share->performed.size(), 1u);
        device.reset();
    }
}

TEST_F(Gallery, ARecordedTakeShowsUpAtTheNextOpening)
{
    launch();
    open_prompter();
    run_for(3);
    device->app().navigation()->pop(false);
    device->settle();
    auto& gallery = open_gallery();
    ASSERT_EQ(gallery.videoURLs.size(), 1u);
    EXPECT_EQ(cell(gallery, 0).previewImageView->image->resource.rfind("frame:video_", 0), 0u);
}

}
}
