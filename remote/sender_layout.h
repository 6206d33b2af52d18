#pragma once

// The remote sender screen's layout: three command buttons in a column,
// the speed slider under them, a back button at the top left and the
// activity indicator in the middle. The slider has the prompter's own
// range and starting value, since its value becomes the prompter's speed
// unchanged.

#include "platform/ui/activity_indicator.h"
#include "platform/ui/controls.h"
#include "platform/ui/slider.h"

#include <memory>

namespace cw {

struct SenderOutlets {
    Button* startButton { nullptr };
    Button* stopButton { nullptr };
    Button* backToStartButton { nullptr };
    Button* backButton { nullptr };
    Slider* slider { nullptr };
    ActivityIndicator* activityIndicator { nullptr };
};

std::unique_ptr<View> build_sender_view(Size, SenderOutlets&);

}
