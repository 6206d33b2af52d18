#pragma once

// A view that shows an image, stretched over its frame. Without an image it
// shows only its background, which is how colour swatches use it.

#include "platform/ui/image.h"
#include "platform/ui/view.h"

#include <optional>

namespace cw {

class ImageView : public View {
public:
    using View::View;

    std::optional<Image> image;

    char const* type_name() const override { return "ImageView"; }
    void describe(Record&) const override;
};

}
