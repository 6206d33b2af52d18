#include "settingsViewController.h"

#include "platform/foundation/format.h"
#include "platform/ui/app_context.h"
#include "settings/ColorPickerController.h"
#include "settings/color_sliders.h"

namespace cw {

settingsViewController::settingsViewController(AppContext& context)
    : Screen(context)
    , ScriptSettings(static_cast<Screen&>(*this), false)
{
}

void settingsViewController::viewDidLoad()
{
    prepareVideoMessage();
    myScrollView->delegate = this;
    loadScript();
    showTextSettings();
    showColours();
    showSwitches();
}

void settingsViewController::viewWillAppear(bool)
{
    viewDidLayoutSubviews();
}

void settingsViewController::viewWillLayoutSubviews()
{
    view().frame = context().window.bounds();
    viewDidLayoutSubviews();
}

// Shown only; the size is stored when the screen is closed.
void settingsViewController::valueChanged(Stepper& sender)
{
    sender.set_maximum_value(100);
    sender.set_minimum_value(10);
    label->text = format_double("%.0f", sender.value());
}

void settingsViewController::openColorPicker(bool background)
{
    auto picker = std::make_unique<ColorPickerController>(context());
    picker->delegate = this;
    picker->modal_presentation_style = ModalPresentationStyle::OverCurrentContext;
    isSelectingBGColor = background;
    present(std::move(picker), true);
}

void settingsViewController::btnClicked(View&)
{
    openColorPicker(true);
}

void settingsViewController::textColorbtnClicked(View&)
{
    openColorPicker(false);
}

void settingsViewController::colorSliderColorChanged(ColorSlider& sender)
{
    if (btn)
        btn->background = sender.color();
}

void settingsViewController::closeSettings()
{
    storeTextSize();
    storeScrollDirection();
    storeChosenColours();
    storeMirror();
    storeMagic();
    storeRecording();
    announceSave();
    dismiss(true);
}

void settingsViewController::describe(Record& record) const
{
    describe_settings(record);
}

}
