#pragma once

// The video gallery: the recorded takes as a grid of preview pictures. A
// tap plays a take in the platform's player; a long press offers saving it
// to the photo library, sharing it and deleting it. The home screen
// presents it modally; it has no close control of its own (the platform's
// interactive dismissal closes it).
//
// Unlike the other screens it builds its views in code, with fixed
// layout values. The list of takes is read once, at load, and changes only
// by deletion.

#include "platform/ui/collection_view.h"
#include "platform/ui/controls.h"
#include "platform/ui/screen.h"

#include <optional>
#include <string>
#include <vector>

namespace cw {

class GestureRecognizer;

class VideoViewController final : public Screen
    , public CollectionViewDataSource
    , public CollectionViewDelegate {
public:
    static constexpr char cell_identifier[] = "CustomVideoCell";
    static constexpr char hint_text[] = "Tap to Play. Long Press for Options";
    static constexpr double hint_height = 40;

    using Screen::Screen;

    char const* class_name() const override { return "VideoViewController"; }
    void loadView() override;
    void viewDidLoad() override;
    void viewWillLayoutSubviews() override;
    void describe(Record&) const override;

    std::int64_t collectionViewNumberOfItemsInSection(CollectionView&, std::int64_t) override;
    CollectionViewCell& collectionViewCellForItemAtIndexPath(CollectionView&, IndexPath) override;

    void playVideo(GestureRecognizer&);
    void handleLongPress(GestureRecognizer&);
    void saveVideoToPhotos(std::optional<std::string> const& url);
    void showSaveConfirmationAlert();
    void shareVideo(std::optional<std::string> const& url);
    void deleteVideoAtIndexPath(std::optional<std::string> const& url, IndexPath);

    std::vector<std::string> videoURLs;
    CollectionView* collectionView { nullptr };
    Label* hintLabel { nullptr };

private:
    std::optional<IndexPath> itemUnder(GestureRecognizer&);
    void layOutGrid();
    // Where the options sheet was opened from: on a tablet its sheets are
    // anchored to the pressed cell.
    std::optional<Rect> m_pressed_cell;
};

}
