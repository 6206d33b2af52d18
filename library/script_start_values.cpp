#include "script_start_values.h"

#include "platform/ui/color_archive.h"

namespace cw {

std::array<Value, 7> script_start_values()
{
    return {
        Value(56.0),
        Value(true),
        Value(archive_color(Color::black())),
        Value(archive_color(Color::white())),
        Value(false),
        Value(false),
        Value(false),
    };
}

}
