#pragma once

// A take in the gallery: its preview picture, turned a quarter turn because
// preview frames come out in the camera's native landscape orientation.

#include "platform/ui/collection_view.h"
#include "platform/ui/image_view.h"

namespace cw {

class CustomVideoCell final : public CollectionViewCell {
public:
    // `screen_width` sizes the content view at creation.
    CustomVideoCell(Rect frame, double screen_width);

    View* contentView { nullptr };
    ImageView* previewImageView { nullptr };
    // The gallery attaches its tap and long-press recognisers once per cell.
    bool recognizers_attached { false };

    void showPreview(std::optional<Image>);
    // The content view follows the cell's bounds, the image view the
    // content view's.
    void layoutContent();

    char const* type_name() const override { return "CustomVideoCell"; }
};

}
