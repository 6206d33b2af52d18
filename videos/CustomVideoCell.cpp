#include "CustomVideoCell.h"

#include <numbers>

namespace cw {

CustomVideoCell::CustomVideoCell(Rect frame, double screen_width)
    : CollectionViewCell(frame)
{
    auto width = screen_width / 5;
    contentView = &add_subview(std::make_unique<View>(Rect { { 0, 0 }, { width, width * 0.5625 } }));
    contentView->name = "contentView";
    previewImageView = &contentView->add_subview(std::make_unique<ImageView>(Rect { { 0, 0 }, contentView->frame.size }));
    previewImageView->name = "previewImageView";
}

void CustomVideoCell::showPreview(std::optional<Image> image)
{
    previewImageView->image = std::move(image);
    previewImageView->transform = AffineTransform::rotation(std::numbers::pi / 2);
}

void CustomVideoCell::layoutContent()
{
    contentView->frame = Rect { { 0, 0 }, frame.size };
    previewImageView->frame = Rect { { 0, 0 }, frame.size };
}

}
