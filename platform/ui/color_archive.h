#pragma once

// The toolkit colour in its stored form. The byte layout is documented in
// platform/foundation/color_archive.h.

#include "platform/foundation/color_archive.h"
#include "platform/ui/geometry.h"

#include <optional>

namespace cw {

inline Bytes archive_color(Color color)
{
    return archive_color_components({ color.red, color.green, color.blue, color.alpha });
}

// None when the bytes are not a colour archive.
inline std::optional<Color> unarchive_color(Bytes const& bytes)
{
    auto components = unarchive_color_components(bytes);
    if (!components)
        return std::nullopt;
    return Color { components->red, components->green, components->blue, components->alpha };
}

}
