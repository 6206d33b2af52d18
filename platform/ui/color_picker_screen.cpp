#include "color_picker_screen.h"

#include "app_context.h"
#include "controls.h"

namespace cw {

ColorPickerScreen::ColorPickerScreen(AppContext& context)
    : Screen(context)
{
    modal_presentation_style = ModalPresentationStyle::FullScreen;
}

void ColorPickerScreen::loadView()
{
    auto root = std::make_unique<View>(context().window.bounds());
    root->background = Color::white();
    auto close = std::make_unique<Button>(Rect { { root->frame.size.width - 60, 20 }, { 44, 44 } });
    close->name = "closeButton";
    close->image = "xmark.circle.fill";
    close->on_tap = [this] { user_close(); };
    root->add_subview(std::move(close));
    set_view(std::move(root));
}

void ColorPickerScreen::user_select_color(Color color)
{
    selected_color = color;
    if (!supports_alpha)
        selected_color.alpha = 1;
    if (delegate)
        delegate->colorPickerViewControllerDidSelectColor(*this);
}

void ColorPickerScreen::user_close()
{
    if (delegate)
        delegate->colorPickerViewControllerDidFinish(*this);
    else
        dismiss(true);
}

// The base screen does not tell a presenter that a full-screen presentation
// hid it; the picker does it for its presenter.
void ColorPickerScreen::viewDidAppear(bool animated)
{
    m_covers_presenter = modal_presentation_style == ModalPresentationStyle::FullScreen && presenting();
    if (m_covers_presenter) {
        presenting()->viewWillDisappear(animated);
        presenting()->viewDidDisappear(animated);
    }
}

void ColorPickerScreen::viewDidDisappear(bool animated)
{
    if (m_covers_presenter && presenting()) {
        m_covers_presenter = false;
        presenting()->viewWillAppear(animated);
        presenting()->viewDidAppear(animated);
    }
}

void ColorPickerScreen::describe(Record& record) const
{
    record["selectedColor"] = to_value(selected_color);
    record["supportsAlpha"] = supports_alpha;
    record["presentation"] = modal_presentation_style == ModalPresentationStyle::FullScreen ? "fullScreen" : "other";
}

}
