#include "image_view.h"

namespace cw {

void ImageView::describe(Record& record) const
{
    View::describe(record);
    if (image)
        record["image"] = to_value(*image);
}

}
