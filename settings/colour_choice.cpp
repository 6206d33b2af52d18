// What a colour picker's outcome does on a settings screen: the colour shows
// at once on the swatch it was chosen for and waits, as the pending colour,
// for the screen's next save.

#include "script_settings.h"

#include "platform/ui/app_context.h"
#include "settings/color_math.h"

namespace cw {

void ScriptSettings::showChosenColour(Color color)
{
    auto& log = m_screen.context().log;
    if (isSelectingBGColor) {
        bgColorImg->background = color;
        colorToSave = color;
        if (m_logs_changes)
            log.line("Selected BG color " + describe_color(color));
    } else {
        textbgColorImg->background = color;
        textcolorToSave = color;
        if (m_logs_changes)
            log.line("Selected Text color " + describe_color(color));
    }
}

void ScriptSettings::colorPickerControllerDidPickColor(ColorPickerController& picker, Color color)
{
    showChosenColour(color);
    picker.dismiss(true);
}

void ScriptSettings::colorPickerControllerDidCancel(ColorPickerController& picker)
{
    picker.dismiss(true);
}

}
