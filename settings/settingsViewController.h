#pragma once

// The older settings screen ("settingsID"), opened from the prompter's
// video control. It edits the same per-script values as the settings
// screen, with these differences:
//
// - no horizontal mirror in any form: it neither shows, stores nor
//   announces it, so opening it never changes the prompter's mirror;
// - the text size is only shown while it changes; it is stored, with the
//   scroll direction and the chosen colours, only by `closeSettings`,
//   which then tells an open prompter ("TestNotification"). Leaving the
//   screen any other way keeps only what was stored at once (vertical
//   mirror, voice scrolling and recording outcomes);
// - no pan to close;
// - colours are chosen with the picker built into Cuewright, shown over
//   this screen, and a hue slider on the screen tints the `btn` button.

#include "platform/ui/screen.h"
#include "settings/script_settings.h"

namespace cw {

class ColorSlider;

class settingsViewController final : public Screen
    , public ScriptSettings {
public:
    explicit settingsViewController(AppContext&);

    Button* btn { nullptr };

    char const* class_name() const override { return "settingsViewController"; }
    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool) override { }
    void viewWillLayoutSubviews() override;
    void describe(Record&) const override;

    void valueChanged(Stepper& sender);
    void btnClicked(View& sender);
    void textColorbtnClicked(View& sender);
    void colorSliderColorChanged(ColorSlider& sender);
    void closeSettings();

private:
    void openColorPicker(bool background);
};

}
