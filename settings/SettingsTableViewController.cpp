#include "SettingsTableViewController.h"

#include "library/store_keys.h"
#include "platform/foundation/format.h"
#include "platform/ui/app_context.h"
#include "prompter/notifications.h"

namespace cw {

SettingsTableViewController::SettingsTableViewController(AppContext& context)
    : TableViewController(context)
    , ScriptSettings(static_cast<Screen&>(*this), true)
{
}

void SettingsTableViewController::viewDidLoad()
{
    auto pan = std::make_unique<GestureRecognizer>(GestureRecognizer::Type::Pan);
    pan->on_action = [this](GestureRecognizer& recognizer) { handlePanGesture(recognizer); };
    view().add_gesture_recognizer(std::move(pan));
    prepareVideoMessage();
    myScrollView->delegate = this;
    loadScript();
    isHorizontalMirrorModeArray = context().defaults.list(keys::isHorizontalMirrorModeArray);
    showTextSettings();
    horimirrorSwitch->set_on(context().defaults.boolean(keys::hasHMirrorOn));
    showColours();
    showSwitches();
}

void SettingsTableViewController::viewWillAppear(bool animated)
{
    TableViewController::viewWillAppear(animated);
    viewDidLayoutSubviews();
}

void SettingsTableViewController::viewWillLayoutSubviews()
{
    view().frame = context().window.bounds();
    viewDidLayoutSubviews();
}

void SettingsTableViewController::viewDidAppear(bool)
{
    bool on = context().defaults.boolean(keys::hasHMirrorOn);
    context().notifications.post(on ? notifications::HMirrorTurnedOnNotification : notifications::HMirrorTurnedOffNotification);
    horimirrorSwitch->set_on(on);
    context().log.line(on ? "Horizontal Mirror is ON" : "Horizontal Mirror is OFF");
}

int SettingsTableViewController::numberOfSectionsInTableView(TableView&)
{
    return 3;
}

int SettingsTableViewController::tableViewNumberOfRowsInSection(TableView&, int section)
{
    switch (section) {
    case 0:
    case 1: return 4;
    case 2: return 2;
    default: return 0;
    }
}

// The bounds are applied on every change rather than once at load.
void SettingsTableViewController::valueChanged(Stepper& sender)
{
    context().log.line("Pressed Value Changed");
    sender.set_maximum_value(100);
    sender.set_minimum_value(10);
    label->text = format_double("%.0f", sender.value());
    if (storeSetting(textSizeArray, keys::textSizeArray, sender.value()))
        textSize = textSizeArray[static_cast<size_t>(scriptIndex)].to_double();
}

// The prompter hears first; the flag is stored after.
void SettingsTableViewController::toggleMirrorHorizontal(Switch& sender)
{
    auto& log = context().log;
    log.line("Pressed Toggle Mirror");
    bool on = sender.is_on();
    context().notifications.post(on ? notifications::HMirrorTurnedOnNotification : notifications::HMirrorTurnedOffNotification);
    context().defaults.set_boolean(keys::hasHMirrorOn, on);
    log.line(on ? "Mirror is turned on" : "Mirror is turned off");
}

void SettingsTableViewController::openColorPicker(View& sender, bool background)
{
    isSelectingBGColor = background;
    auto picker = std::make_unique<ColorPickerScreen>(context());
    if (sender.background)
        picker->selected_color = *sender.background;
    picker->delegate = this;
    picker->modal_presentation_style = ModalPresentationStyle::FullScreen;
    present(std::move(picker), true);
    context().log.line(background ? "Selecting BG color" : "Selecting Text color");
}

void SettingsTableViewController::btnClicked(View& sender)
{
    openColorPicker(sender, true);
}

void SettingsTableViewController::textColorbtnClicked(View& sender)
{
    openColorPicker(sender, false);
}

// Only the colour at closing counts, even when the picker was not moved.
void SettingsTableViewController::colorPickerViewControllerDidFinish(ColorPickerScreen& picker)
{
    showChosenColour(picker.selected_color);
    picker.dismiss(true);
}

void SettingsTableViewController::saveCode()
{
    context().log.line("Modal Settings Dismissed");
    storeTextSize();
    storeScrollDirection();
    storeChosenColours();
    storeMirror();
    storeMagic();
    storeRecording();
    announceSave();
}

void SettingsTableViewController::closeSettings()
{
    storeTextSize();
    storeScrollDirection();
    storeChosenColours();
    storeMirror();
    storeHorizontalMirror();
    storeMagic();
    storeRecording();
    announceSave();
    dismiss(true);
}

// Nothing reads this list, and no operation gives it one element per
// script; a list that ends before the script is filled with "off" up to
// it, so the write lands at the script's own position.
void SettingsTableViewController::storeHorizontalMirror()
{
    storeElement(isHorizontalMirrorModeArray, keys::isHorizontalMirrorModeArray, horimirrorSwitch->is_on(), false);
}

// Any pan that ends saves and closes, whatever its direction or length.
void SettingsTableViewController::handlePanGesture(GestureRecognizer& recognizer)
{
    if (recognizer.state != GestureState::Ended)
        return;
    saveCode();
    dismiss(true);
}

void SettingsTableViewController::describe(Record& record) const
{
    describe_settings(record);
}

}
