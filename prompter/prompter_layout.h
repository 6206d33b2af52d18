#pragma once

// The prompter's layout: which controls it has, where they sit, and the
// values they start with. The script text fills the screen; the run
// controls and the speed slider sit along the bottom, over the text.
//
// Starting speed. The slider runs from 0 to 100 and starts at 50, and the
// hidden speed field starts with the same "50": at 60 refreshes a second
// that moves the text 30 points a second, about one line of a 56-point
// script every two seconds -- an easy reading pace on a phone and on a
// tablet. The two agree so that the first run goes at the speed the slider
// shows.

#include "platform/ui/activity_indicator.h"
#include "platform/ui/controls.h"
#include "platform/ui/slider.h"
#include "platform/ui/text_field.h"
#include "platform/ui/text_view.h"

#include <memory>

namespace cw {

struct PrompterOutlets {
    TextView* ScriptTextView { nullptr };
    Button* startButton { nullptr };
    Button* stopButton { nullptr };
    View* sliderControlView { nullptr };
    Slider* SpeedSlider { nullptr };
    TextField* SpeedField { nullptr };
    View* videoMessageView { nullptr };
    ActivityIndicator* activityIndicator { nullptr };
    // The controls that open the editor, the settings screen and the
    // older settings screen.
    Button* editButton { nullptr };
    Button* settingsButton { nullptr };
    Button* videoSettingsButton { nullptr };
};

namespace prompter_layout {
inline constexpr float speed_minimum = 0;
inline constexpr float speed_maximum = 100;
inline constexpr float speed_initial = 50;
inline constexpr char speed_initial_text[] = "50";
}

// Builds the screen's view tree for a window of `size` and fills in the
// outlets. The text view measures its text with `layout`.
std::unique_ptr<View> build_prompter_view(Size, std::shared_ptr<TextLayout const> layout, PrompterOutlets&);

// Places the controls for a window of `size`; used again whenever the
// window changes size.
void lay_out_prompter_view(View& root, PrompterOutlets const&, Size);

}
