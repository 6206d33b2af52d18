#include "application.h"

namespace cw {

// Screens of the "Main" layout by identifier. Screens join here as they are
// built; an identifier that is not here yet is refused with a clear log line.
void register_main_storyboard(StoryboardRegistry&)
{
}

}
