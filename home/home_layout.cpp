// The home screen's fixed controls and its toolbar.
//
// The fixed controls sit in a strip below the navigation bar: the video
// gallery and remote buttons on the left, the done button of rearrange mode
// in the middle (shown only in that mode) and the add button on the right.
// The grid covers the whole screen and is rebuilt often, so the strip is
// brought back in front of it after every grid build.
//
// The toolbar runs across the screen near its bottom edge and carries the
// "Tap to go back" button, centred between two flexible spaces.

#include "ViewController.h"

#include "platform/ui/app_context.h"

namespace cw {

static std::unique_ptr<Button> make_control(char const* name, std::string title, std::string image)
{
    auto button = std::make_unique<Button>();
    button->name = name;
    button->title = std::move(title);
    button->image = std::move(image);
    button->title_color = Color::white();
    return button;
}

void ViewController::loadView()
{
    auto root = std::make_unique<View>(context().window.bounds());
    root->background = home::grid_background;
    add_fixed_controls(*root);
    set_view(std::move(root));
}

void ViewController::add_fixed_controls(View& root)
{
    auto strip = std::make_unique<View>();
    strip->name = "homeControls";
    strip->background = home::grid_background;

    cameraBtn = &strip->add_subview(make_control("cameraBtn", {}, "video"));
    cameraBtn->on_tap = [this] { presentVideoViewController(cameraBtn); };
    remoteBtn = &strip->add_subview(make_control("remoteBtn", {}, "remote"));
    remoteBtn->on_tap = [this] { remoteControlAction(remoteBtn); };
    stopRearrangingBtn = &strip->add_subview(make_control("stopRearrangingBtn", "Done", {}));
    stopRearrangingBtn->hidden = true;
    stopRearrangingBtn->on_tap = [this] { exitRearrangeMode(stopRearrangingBtn); };
    addScriptButton = &strip->add_subview(make_control("addScriptButton", {}, "plus"));
    addScriptButton->on_tap = [this] { addScript(); };

    m_controls = &root.add_subview(std::move(strip));
    layout_fixed_controls();
}

void ViewController::layout_fixed_controls()
{
    double width = context().window.size().width;
    double side = home::controls_height;
    m_controls->frame = { { 0, home::navigation_bar_height }, { width, side } };
    cameraBtn->frame = { { 8, 0 }, { side, side } };
    remoteBtn->frame = { { 8 + side + 8, 0 }, { side, side } };
    stopRearrangingBtn->frame = { { width / 2 - 40, 0 }, { 80, side } };
    addScriptButton->frame = { { width - 8 - side, 0 }, { side, side } };
}

void ViewController::bring_fixed_controls_to_front()
{
    auto strip = m_controls->remove_from_superview();
    view().add_subview(std::move(strip));
}

void ViewController::build_toolbar()
{
    auto bar = std::make_unique<Toolbar>();
    bar->name = "toolbar";
    bar->bar_style = Toolbar::BarStyle::Black;
    bar->bar_tint_color = home::grid_background;

    auto back = std::make_unique<BarButtonItem>("Tap to go back", BarButtonItem::Style::Plain);
    back->name = "goBackButton";
    back->set_tint_color(Color::white());
    back->on_tap = [this] { goBack(goBackButton); };
    back->hidden = !selectedFolderName.has_value();
    goBackButton = back.get();

    std::vector<std::unique_ptr<BarButtonItem>> items;
    items.push_back(BarButtonItem::flexible_space());
    items.push_back(std::move(back));
    items.push_back(BarButtonItem::flexible_space());
    bar->set_items(std::move(items));

    toolbar = &view().add_subview(std::move(bar));
    layout_toolbar();
}

void ViewController::layout_toolbar()
{
    auto bounds = view().frame.size;
    toolbar->frame = { { 0, bounds.height - home::toolbar_rise }, { bounds.width, home::toolbar_height } };
    toolbar->layout_items();
}

// The window changed size: the grid follows it, and shows the tiles that
// now fit.
void ViewController::viewWillLayoutSubviews()
{
    layout_fixed_controls();
    if (_collectionView)
        _collectionView->set_frame({ {}, view().frame.size });
    if (toolbar)
        layout_toolbar();
}

}
