#include "sender_layout.h"

#include "prompter/prompter_layout.h"

namespace cw {

namespace {

constexpr double margin = 24;
constexpr double button_height = 56;
constexpr double gap = 16;

Button& add_button(View& parent, char const* name, char const* title, Color background, Rect frame)
{
    auto button = std::make_unique<Button>(frame);
    button->name = name;
    button->title = title;
    button->title_color = Color::white();
    button->background = background;
    button->corner_radius = 8;
    return parent.add_subview(std::move(button));
}

}

std::unique_ptr<View> build_sender_view(Size size, SenderOutlets& out)
{
    auto root = std::make_unique<View>(Rect { {}, size });
    root->background = Color::black();

    double width = size.width - 2 * margin;
    double y = size.height / 4;
    auto row = [&] {
        Rect frame { { margin, y }, { width, button_height } };
        y += button_height + gap;
        return frame;
    };
    out.backButton = &add_button(*root, "backButton", "Back", Color::dark_gray(), { { margin, 48 }, { 80, 36 } });
    out.startButton = &add_button(*root, "startButton", "Start", Color { 0.1, 0.6, 0.2, 1 }, row());
    out.stopButton = &add_button(*root, "stopButton", "Stop", Color { 0.8, 0.1, 0.1, 1 }, row());
    out.backToStartButton = &add_button(*root, "backToStartButton", "Back to Start", Color::dark_gray(), row());

    auto slider = std::make_unique<Slider>(row());
    slider->name = "slider";
    slider->minimum_value = prompter_layout::speed_minimum;
    slider->maximum_value = prompter_layout::speed_maximum;
    slider->set_value(prompter_layout::speed_initial);
    out.slider = &root->add_subview(std::move(slider));

    auto spinner = std::make_unique<ActivityIndicator>(Rect { { size.width / 2 - 20, y }, { 40, 40 } });
    spinner->name = "activityIndicator";
    spinner->color = Color::white();
    spinner->hidden = true;
    out.activityIndicator = &root->add_subview(std::move(spinner));
    return root;
}

}
