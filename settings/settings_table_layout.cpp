// The settings screen's layout: three sections of static rows.
//
//   Text       size (value and stepper) | scroll direction | background
//              colour | text colour
//   Prompting  mirror (upside down) | mirror (left to right) | magic
//              scrolling | record video, with its notice
//   About      the links, in a scrolling box | close and "more settings"
//
// The colour rows' buttons open the colour picker; the picker starts from
// the colour the row's swatch shows.

#include "SettingsTableViewController.h"

#include "platform/ui/app_context.h"
#include "settings/settings_layout_helpers.h"

namespace cw {

using namespace settings_layout;

static TableViewCell& add_row(TableView& table, int section, double height = row_height)
{
    return table.add_static_cell(section, std::make_unique<TableViewCell>(Rect { {}, { table.frame.size.width, height } }));
}

static Switch& add_switch_row(TableView& table, int section, char const* title, char const* name)
{
    auto& row = add_row(table, section);
    add_title(row, title);
    return add_trailing(row, std::make_unique<Switch>(), { 51, 31 }, name);
}

void SettingsTableViewController::loadView()
{
    TableViewController::loadView();
    auto& table = table_view();
    double width = table.frame.size.width;
    table.set_section_header(0, "Text");
    table.set_section_header(1, "Prompting");
    table.set_section_header(2, "About");

    auto& size_row = add_row(table, 0);
    add_title(size_row, "Text Size");
    textStepper = &add_trailing(size_row, std::make_unique<Stepper>(), { 94, 32 }, "textStepper");
    textStepper->set_minimum_value(10);
    textStepper->set_maximum_value(100);
    textStepper->set_step_value(1);
    textStepper->on_value_changed = [this](Stepper& sender) { valueChanged(sender); };
    label = &add_trailing(size_row, std::make_unique<Label>(), { 40, 32 }, "label");
    label->frame.origin.x -= 94 + 8;
    label->alignment = TextAlignment::Right;

    auto& direction_row = add_row(table, 0);
    add_title(direction_row, "Scrolling");
    scrollDirectionButton = &add_trailing(direction_row, std::make_unique<SegmentedControl>(std::vector<std::string> { "Normal", "Reversed" }), { 160, 32 }, "scrollDirectionButton");

    auto add_colour_row = [&](char const* title, char const* button_name, char const* swatch_name, bool background) {
        auto& row = add_row(table, 0);
        auto& button = add_link(row, button_name, title, { { margin, 0 }, { width / 2, row_height } });
        auto& swatch = add_trailing(row, std::make_unique<ImageView>(), { 60, 30 }, swatch_name);
        button.on_tap = [this, &swatch, background] {
            if (background)
                btnClicked(swatch);
            else
                textColorbtnClicked(swatch);
        };
        return std::pair { &button, &swatch };
    };
    std::tie(colorButton, bgColorImg) = add_colour_row("Background Colour", "colorButton", "bgColorImg", true);
    std::tie(textcolorButton, textbgColorImg) = add_colour_row("Text Colour", "textcolorButton", "textbgColorImg", false);

    mirrorSwitch = &add_switch_row(table, 1, "Mirror (upside down)", "mirrorSwitch");
    mirrorSwitch->on_value_changed = [this](Switch& sender) { toggleMirror(sender); };
    horimirrorSwitch = &add_switch_row(table, 1, "Mirror (left to right)", "horimirrorSwitch");
    horimirrorSwitch->on_value_changed = [this](Switch& sender) { toggleMirrorHorizontal(sender); };
    magicSwitch = &add_switch_row(table, 1, "Magic Scrolling", "magicSwitch");
    magicSwitch->on_value_changed = [this](Switch& sender) { toggleMagic(sender); };
    videoSwitch = &add_switch_row(table, 1, "Record Video", "videoSwitch");
    videoSwitch->on_value_changed = [this](Switch& sender) { toggleVideo(sender); };

    videoMessageView = &add_video_notice(table, Rect { { margin, 120 }, { width - 2 * margin, 120 } }, [this] { hideVideoMessage(); });

    auto& links_row = add_row(table, 2, 132);
    add_links(links_row, Rect { {}, { width, 132 } }, false);

    auto& close_row = add_row(table, 2);
    add_link(close_row, "closeButton", "Done", { { margin, 0 }, { width / 2 - margin, row_height } }).on_tap = [this] { closeSettings(); };
    add_link(close_row, "newSettingsButton", "More Settings", { { width / 2, 0 }, { width / 2 - margin, row_height } }).on_tap = [this] { SHOWNEWSETTINGS(); };
}

}
