#include "keyboard.h"

#include "app_context.h"

#include <algorithm>

namespace cw {

void show_keyboard(AppContext& context, double height)
{
    auto size = context.window.size();
    height = std::clamp(height, 0.0, size.height);
    context.window.keyboard_frame = Rect { { 0, size.height - height }, { size.width, height } };
    context.notifications.post(keyboard_will_show_notification);
}

void hide_keyboard(AppContext& context)
{
    context.window.keyboard_frame.reset();
    context.notifications.post(keyboard_will_hide_notification);
}

}
