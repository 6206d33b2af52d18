#pragma once

// The settings screen: one script's text size, scroll direction, colours,
// vertical mirror, voice scrolling and recording, plus the horizontal
// mirror that applies to every script, and the application's links. It is
// presented over the prompter ("NEWSET") and made afresh each time.
//
// Some values are stored the moment they change (text size, vertical
// mirror, the horizontal-mirror flag, voice scrolling and recording when
// turned off, and the outcome of a permission request); the rest (scroll
// direction and chosen colours) wait for a save. A save stores every value
// again, so the controls win over any earlier write, and then tells an
// open prompter with "TestNotification". The screen saves when a pan on it
// ends (and then closes) and when it is closed with its close control.
// Swiping the sheet away saves nothing further and tells nobody.
//
// The horizontal mirror is one flag, "hasHMirrorOn". The screen repeats it
// to the prompter each time it comes into view and whenever its switch
// changes; the prompter applies the mirror only from those notifications.

#include "platform/ui/color_picker_screen.h"
#include "platform/ui/table_view_controller.h"
#include "settings/script_settings.h"

namespace cw {

class SettingsTableViewController final : public TableViewController
    , public ScriptSettings
    , public ColorPickerScreenDelegate {
public:
    explicit SettingsTableViewController(AppContext&);

    Switch* horimirrorSwitch { nullptr };
    List isHorizontalMirrorModeArray;

    char const* class_name() const override { return "SettingsTableViewController"; }
    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillLayoutSubviews() override;
    void describe(Record&) const override;

    int numberOfSectionsInTableView(TableView&) override;
    int tableViewNumberOfRowsInSection(TableView&, int section) override;

    void valueChanged(Stepper& sender);
    void toggleMirrorHorizontal(Switch& sender);
    void btnClicked(View& sender);
    void textColorbtnClicked(View& sender);
    void colorPickerViewControllerDidFinish(ColorPickerScreen&) override;

    void saveCode();
    void closeSettings();
    void handlePanGesture(GestureRecognizer&);
    // The platform is about to dismiss the sheet on the user's swipe.
    void presentationControllerWillDismiss() { }

private:
    void openColorPicker(View& sender, bool background);
    void storeHorizontalMirror();
};

}
