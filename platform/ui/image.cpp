#include "image.h"

#include "platform/ui/view.h"

namespace cw {

Image Image::named(std::string resource, Size size)
{
    Image image;
    image.size = size;
    image.resource = std::move(resource);
    return image;
}

Image image_from_color(Color color)
{
    Image image;
    image.size = { 1, 1 };
    image.fill = color;
    return image;
}

Value to_value(Image const& image)
{
    Record record;
    record["size"] = to_value(image.size);
    if (image.fill)
        record["fill"] = to_value(*image.fill);
    if (!image.resource.empty())
        record["resource"] = image.resource;
    return record;
}

}
