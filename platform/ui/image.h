#pragma once

// Images of the toolkit model. An image is either filled with one colour
// (the 1 by 1 images that controls stretch over an area, such as a slider's
// track) or names a resource image that the front ends look up.

#include "platform/foundation/value.h"
#include "platform/ui/geometry.h"

#include <optional>
#include <string>

namespace cw {

struct Image {
    Size size;
    std::optional<Color> fill;
    std::string resource;
    bool operator==(Image const&) const = default;

    static Image named(std::string resource, Size size = {});
};

// A 1 by 1 image filled with the colour.
Image image_from_color(Color);

Value to_value(Image const&);

}
