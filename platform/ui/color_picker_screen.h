#pragma once

// The platform's own colour picker, as a screen. The presenter sets the
// colour it starts from (`selected_color`), makes itself the delegate and
// presents it, usually full screen. While the user moves around the picker,
// `selected_color` follows and the delegate may listen; when the user
// closes it, the delegate hears `colorPickerViewControllerDidFinish` and is
// expected to dismiss it. Without a delegate the picker dismisses itself.
//
// Presented full screen, the picker covers its presenter entirely, so the
// presenter disappears while it is up and appears again when it goes, as
// the toolkit does for full-screen presentations.

#include "platform/ui/screen.h"

namespace cw {

class ColorPickerScreen;

class ColorPickerScreenDelegate {
public:
    virtual ~ColorPickerScreenDelegate() = default;
    virtual void colorPickerViewControllerDidSelectColor(ColorPickerScreen&) { }
    virtual void colorPickerViewControllerDidFinish(ColorPickerScreen&) = 0;
};

class ColorPickerScreen final : public Screen {
public:
    explicit ColorPickerScreen(AppContext&);

    // The toolkit's picker starts from white.
    Color selected_color { Color::white() };
    bool supports_alpha { true };
    ColorPickerScreenDelegate* delegate { nullptr };

    // The user's side.
    void user_select_color(Color);
    void user_close();

    char const* class_name() const override { return "ColorPickerScreen"; }
    void loadView() override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    void describe(Record&) const override;

private:
    bool m_covers_presenter { false };
};

}
