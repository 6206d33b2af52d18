#include "script_settings.h"

#include "library/script_start_values.h"
#include "library/script_lists.h"
#include "library/store_keys.h"
#include "platform/foundation/format.h"
#include "platform/ui/app_context.h"
#include "platform/ui/color_archive.h"
#include "prompter/notifications.h"

#include <algorithm>
#include <cstring>

namespace cw {

ScriptSettings::ScriptSettings(Screen& screen, bool logs_changes)
    : m_screen(screen)
    , m_logs_changes(logs_changes)
{
}

ScriptSettings::~ScriptSettings() = default;

// A new script's value for the list under `key`.
static Value start_value(char const* key)
{
    auto values = script_start_values();
    for (size_t i = 0; i < std::size(keys::perScriptSettings); ++i) {
        if (std::strcmp(keys::perScriptSettings[i], key) == 0)
            return values[i];
    }
    return false;
}

// The script's element, or a new script's value when the list has none
// there.
static Value element_or_start(List const& list, std::int64_t index, char const* key)
{
    if (index >= 0 && static_cast<std::uint64_t>(index) < list.size())
        return list[static_cast<size_t>(index)];
    return start_value(key);
}

void ScriptSettings::prepareVideoMessage()
{
    videoMessageView->corner_radius = 8;
    videoMessageView->clips_to_bounds = true;
    videoMessageView->hidden = true;
}

void ScriptSettings::loadScript()
{
    auto& store = m_screen.context().defaults;
    load_settings_lists(store, { &textSizeArray, &isScrollNormalArray, &colorDataArray, &textColorDataArray,
                                   &isMirrorModeArray, &isMagicScrollingArray, &isRecordingVideoArray });
    m_script_count = store.list(keys::scriptTitlesArray).size();

    scriptIndex = store.integer(keys::currentlyEditingIndex);

    textSize = element_or_start(textSizeArray, scriptIndex, keys::textSizeArray).to_double();
    isScrollNormal = element_or_start(isScrollNormalArray, scriptIndex, keys::isScrollNormalArray).to_boolean();
    colorData = element_or_start(colorDataArray, scriptIndex, keys::colorDataArray);
    textColorData = element_or_start(textColorDataArray, scriptIndex, keys::textColorDataArray);
    isMirrorMode = element_or_start(isMirrorModeArray, scriptIndex, keys::isMirrorModeArray).to_boolean();
    isMagicScrolling = element_or_start(isMagicScrollingArray, scriptIndex, keys::isMagicScrollingArray).to_boolean();
    isRecordingVideo = element_or_start(isRecordingVideoArray, scriptIndex, keys::isRecordingVideoArray).to_boolean();
}

void ScriptSettings::showTextSettings()
{
    for (auto* swatch : { bgColorImg, textbgColorImg }) {
        swatch->border_color = Color::black();
        swatch->border_width = 3;
    }
    textStepper->set_value(textSize);
    label->text = format_double("%.0f", textStepper->value());
    scrollDirectionButton->set_selected_segment(isScrollNormal ? 0 : 1);
}

// A colour that cannot be read back leaves the swatch as it was.
static void show_archive(ImageView& swatch, Value const& archive)
{
    if (!archive.is_bytes())
        return;
    if (auto color = unarchive_color(archive.as_bytes()))
        swatch.background = *color;
}

void ScriptSettings::showColours()
{
    show_archive(*bgColorImg, colorData);
    show_archive(*textbgColorImg, textColorData);
}

void ScriptSettings::showSwitches()
{
    auto& log = m_screen.context().log;
    mirrorSwitch->set_on(isMirrorMode);
    log.line(isMirrorMode ? "Is in Mirror Mode - button should be ON" : "Is not in Mirror Mode - button should be OFF");
    magicSwitch->set_on(isMagicScrolling);
    videoSwitch->set_on(isRecordingVideo);
    log.line(isRecordingVideo ? "IS RECORDING" : "ISN'T RECORDING");
}

bool ScriptSettings::storeElement(List& working, char const* key, Value value, Value const& fill)
{
    auto& context = m_screen.context();
    bool past_everything = scriptIndex >= 0 && static_cast<std::uint64_t>(scriptIndex) >= std::max(working.size(), m_script_count);
    if (scriptIndex < 0 || past_everything) {
        context.log.line(format("No script at index %ld: %@ left unchanged", { scriptIndex, std::string(key) }));
        return false;
    }
    auto index = static_cast<size_t>(scriptIndex);
    if (working.size() <= index)
        working.resize(index + 1, fill);
    working[index] = std::move(value);
    context.defaults.set(key, working);
    return true;
}

bool ScriptSettings::storeSetting(List& working, char const* key, Value value)
{
    return storeElement(working, key, std::move(value), start_value(key));
}

void ScriptSettings::storeTextSize()
{
    storeSetting(textSizeArray, keys::textSizeArray, textStepper->value());
}

void ScriptSettings::storeScrollDirection()
{
    storeSetting(isScrollNormalArray, keys::isScrollNormalArray, scrollDirectionButton->selected_segment() == 0);
}

void ScriptSettings::storeChosenColours()
{
    if (colorToSave)
        storeSetting(colorDataArray, keys::colorDataArray, archive_color(*colorToSave));
    if (textcolorToSave)
        storeSetting(textColorDataArray, keys::textColorDataArray, archive_color(*textcolorToSave));
}

void ScriptSettings::storeMirror()
{
    storeSetting(isMirrorModeArray, keys::isMirrorModeArray, mirrorSwitch->is_on());
}

void ScriptSettings::storeMagic()
{
    storeSetting(isMagicScrollingArray, keys::isMagicScrollingArray, magicSwitch->is_on());
}

void ScriptSettings::storeRecording()
{
    storeSetting(isRecordingVideoArray, keys::isRecordingVideoArray, videoSwitch->is_on());
}

void ScriptSettings::announceSave()
{
    m_screen.context().notifications.post(notifications::TestNotification, &m_screen);
}

void ScriptSettings::toggleMirror(Switch& sender)
{
    auto& log = m_screen.context().log;
    if (m_logs_changes)
        log.line("Pressed Toggle Mirror");
    storeSetting(isMirrorModeArray, keys::isMirrorModeArray, sender.is_on());
    if (m_logs_changes)
        log.line(sender.is_on() ? "Mirror is turned on" : "Mirror is turned off");
}

void ScriptSettings::hideVideoMessage()
{
    videoMessageView->hidden = true;
}

void ScriptSettings::viewDidLayoutSubviews()
{
    auto size = myScrollView->frame.size;
    myScrollView->content_size = { size.width, size.height + 200 };
}

}
