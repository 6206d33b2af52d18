// The older settings screen's layout: one column of rows, from the text
// size down to the links, with the close control at the top. A hue slider
// sits beside the `btn` button, whose background follows it.

#include "settingsViewController.h"

#include "platform/ui/app_context.h"
#include "settings/color_sliders.h"
#include "settings/settings_layout_helpers.h"

namespace cw {

using namespace settings_layout;

void settingsViewController::loadView()
{
    auto bounds = context().window.bounds();
    double width = bounds.size.width;
    auto root = std::make_unique<View>(bounds);
    root->background = Color::white();
    View& page = *root;
    double y = 20;
    auto next_row = [&](double height = row_height) -> View& {
        auto& row = page.add_subview(std::make_unique<View>(Rect { { 0, y }, { width, height } }));
        y += height;
        return row;
    };

    add_link(next_row(), "closeButton", "Done", { { width - margin - 80, 0 }, { 80, row_height } }).on_tap = [this] { closeSettings(); };

    auto& size_row = next_row();
    add_title(size_row, "Text Size");
    textStepper = &add_trailing(size_row, std::make_unique<Stepper>(), { 94, 32 }, "textStepper");
    textStepper->set_minimum_value(10);
    textStepper->set_maximum_value(100);
    textStepper->set_step_value(1);
    textStepper->on_value_changed = [this](Stepper& sender) { valueChanged(sender); };
    label = &add_trailing(size_row, std::make_unique<Label>(), { 40, 32 }, "label");
    label->frame.origin.x -= 94 + 8;
    label->alignment = TextAlignment::Right;

    auto& direction_row = next_row();
    add_title(direction_row, "Scrolling");
    scrollDirectionButton = &add_trailing(direction_row, std::make_unique<SegmentedControl>(std::vector<std::string> { "Normal", "Reversed" }), { 160, 32 }, "scrollDirectionButton");

    auto add_colour_row = [&](char const* title, char const* button_name, char const* swatch_name, bool background) {
        auto& row = next_row();
        auto& button = add_link(row, button_name, title, { { margin, 0 }, { width / 2, row_height } });
        auto& swatch = add_trailing(row, std::make_unique<ImageView>(), { 60, 30 }, swatch_name);
        button.on_tap = [this, &button, background] {
            if (background)
                btnClicked(button);
            else
                textColorbtnClicked(button);
        };
        return std::pair { &button, &swatch };
    };
    std::tie(colorButton, bgColorImg) = add_colour_row("Background Colour", "colorButton", "bgColorImg", true);
    std::tie(textcolorButton, textbgColorImg) = add_colour_row("Text Colour", "textcolorButton", "textbgColorImg", false);

    auto& hue_row = next_row();
    auto& hue = add_trailing(hue_row, std::make_unique<ColorSlider>(), { width - 3 * margin - 44, 32 }, "hueSlider");
    hue.frame.origin.x = margin;
    hue.on_value_changed = [this](Slider& sender) { colorSliderColorChanged(static_cast<ColorSlider&>(sender)); };
    hue.set_needs_display();
    btn = &add_trailing(hue_row, std::make_unique<Button>(), { 44, 32 }, "btn");

    auto add_switch_row = [&](char const* title, char const* name) -> Switch& {
        auto& row = next_row();
        add_title(row, title);
        return add_trailing(row, std::make_unique<Switch>(), { 51, 31 }, name);
    };
    mirrorSwitch = &add_switch_row("Mirror (upside down)", "mirrorSwitch");
    mirrorSwitch->on_value_changed = [this](Switch& sender) { toggleMirror(sender); };
    magicSwitch = &add_switch_row("Magic Scrolling", "magicSwitch");
    magicSwitch->on_value_changed = [this](Switch& sender) { toggleMagic(sender); };
    videoSwitch = &add_switch_row("Record Video", "videoSwitch");
    videoSwitch->on_value_changed = [this](Switch& sender) { toggleVideo(sender); };

    add_links(page, Rect { { 0, y }, { width, bounds.size.height - y } }, true);

    videoMessageView = &add_video_notice(page, Rect { { margin, 200 }, { width - 2 * margin, 120 } }, [this] { hideVideoMessage(); });

    set_view(std::move(root));
}

}
