#include "prompter_layout.h"

namespace cw {

namespace {

constexpr double margin = 16;
constexpr double gap = 8;
constexpr double button_height = 52;
constexpr double slider_box_height = 56;

template<typename T>
T& add(View& parent, std::unique_ptr<T> child, char const* name)
{
    child->name = name;
    return parent.add_subview(std::move(child));
}

Button& add_button(View& parent, char const* name, char const* title, Color background)
{
    auto& button = add(parent, std::make_unique<Button>(), name);
    button.title = title;
    button.title_color = Color::white();
    button.background = background;
    return button;
}

}

std::unique_ptr<View> build_prompter_view(Size size, std::shared_ptr<TextLayout const> layout, PrompterOutlets& out)
{
    auto root = std::make_unique<View>(Rect { {}, size });
    root->background = Color::black();

    auto& text = add(*root, std::make_unique<TextView>(std::move(layout)), "ScriptTextView");
    text.editable = false;
    out.ScriptTextView = &text;

    auto& notice = add(*root, std::make_unique<View>(), "videoMessageView");
    notice.background = Color { 0.8, 0, 0, 0.85 };
    notice.corner_radius = 8;
    notice.hidden = true;
    auto& notice_text = add(notice, std::make_unique<Label>(), "videoMessageLabel");
    notice_text.text = "Camera recording is on: each run records a take.";
    notice_text.text_color = Color::white();
    notice_text.alignment = TextAlignment::Center;
    notice_text.number_of_lines = 0;
    out.videoMessageView = &notice;

    auto& spinner = add(*root, std::make_unique<ActivityIndicator>(), "activityIndicator");
    spinner.hidden = true;
    out.activityIndicator = &spinner;

    auto& box = add(*root, std::make_unique<View>(), "sliderControlView");
    box.background = Color::white_gray(0.2, 0.9);
    out.sliderControlView = &box;
    auto& slider = add(box, std::make_unique<Slider>(), "SpeedSlider");
    slider.minimum_value = prompter_layout::speed_minimum;
    slider.maximum_value = prompter_layout::speed_maximum;
    slider.set_value(prompter_layout::speed_initial);
    out.SpeedSlider = &slider;
    auto& field = add(box, std::make_unique<TextField>(), "SpeedField");
    field.text = prompter_layout::speed_initial_text;
    out.SpeedField = &field;

    out.startButton = &add_button(*root, "startButton", "Start", Color { 0.1, 0.6, 0.2, 1 });
    out.stopButton = &add_button(*root, "stopButton", "Stop", Color { 0.8, 0.1, 0.1, 1 });
    out.stopButton->hidden = true;
    out.editButton = &add_button(*root, "editButton", "Edit", Color::dark_gray());
    out.settingsButton = &add_button(*root, "settingsButton", "Settings", Color::dark_gray());
    out.videoSettingsButton = &add_button(*root, "videoSettingsButton", "Video", Color::dark_gray());

    lay_out_prompter_view(*root, out, size);
    return root;
}

void lay_out_prompter_view(View& root, PrompterOutlets const& out, Size size)
{
    double width = size.width;
    double height = size.height;
    root.frame = { {}, size };
    out.ScriptTextView->frame = { {}, size };

    out.videoMessageView->frame = { { margin, 100 }, { width - 2 * margin, 56 } };
    out.videoMessageView->subviews().front()->frame = { { 8, 4 }, { width - 2 * margin - 16, 48 } };
    out.activityIndicator->frame = { { width / 2 - 18, height / 2 - 18 }, { 37, 37 } };

    // Bottom row: the run button takes two fifths, the three small buttons
    // share the rest. Start and stop share one place: one shows at a time.
    double row_y = height - margin - button_height;
    double row_width = width - 2 * margin - 3 * gap;
    double run_width = row_width * 0.4;
    double small_width = (row_width - run_width) / 3;
    Rect run { { margin, row_y }, { run_width, button_height } };
    out.startButton->frame = run;
    out.stopButton->frame = run;
    double x = margin + run_width + gap;
    for (Button* button : { out.editButton, out.settingsButton, out.videoSettingsButton }) {
        button->frame = { { x, row_y }, { small_width, button_height } };
        x += small_width + gap;
    }

    double box_y = row_y - gap - slider_box_height;
    out.sliderControlView->frame = { { margin, box_y }, { width - 2 * margin, slider_box_height } };
    out.SpeedSlider->frame = { { 12, 12 }, { width - 2 * margin - 24, 32 } };
    out.SpeedField->frame = { { 0, 0 }, { 44, 32 } };
}

}
