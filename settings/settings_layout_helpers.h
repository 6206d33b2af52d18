#pragma once

// Small builders the settings layouts share: a titled row and the controls
// that sit at its right edge.

#include "platform/ui/controls.h"
#include "platform/ui/view.h"

#include <functional>
#include <memory>
#include <string>

namespace cw::settings_layout {

inline constexpr double margin = 16;
inline constexpr double row_height = 44;

// A label at the left of a row `width` wide, `height` high, at `y`.
inline Label& add_title(View& row, std::string text, double y = 0, double height = row_height)
{
    auto& title = row.add_subview(std::make_unique<Label>(Rect { { margin, y }, { row.frame.size.width / 2, height } }));
    title.text = std::move(text);
    return title;
}

// Puts a control of `size` at the right edge of a row, centred vertically.
template<typename T>
T& add_trailing(View& row, std::unique_ptr<T> control, Size size, char const* name)
{
    control->frame = { { row.frame.size.width - margin - size.width, (row.frame.size.height - size.height) / 2 }, size };
    control->name = name;
    return row.add_subview(std::move(control));
}

inline Button& add_link(View& parent, char const* name, std::string title, Rect frame)
{
    auto& button = parent.add_subview(std::make_unique<Button>(frame));
    button.name = name;
    button.title = std::move(title);
    return button;
}

// The notice shown about recording, with its button that hides it.
inline View& add_video_notice(View& parent, Rect frame, std::function<void()> on_hide)
{
    auto& notice = parent.add_subview(std::make_unique<View>(frame));
    notice.name = "videoMessageView";
    notice.background = Color::white_gray(0.1, 0.9);
    auto& text = notice.add_subview(std::make_unique<Label>(Rect { { 12, 8 }, { frame.size.width - 24, 64 } }));
    text.text = "Recording starts and stops with the prompter. Takes are kept in the video gallery.";
    text.text_color = Color::white();
    text.number_of_lines = 0;
    add_link(notice, "hideVideoMessageButton", "OK", { { frame.size.width - 72, 76 }, { 60, 36 } }).on_tap = std::move(on_hide);
    return notice;
}

}
