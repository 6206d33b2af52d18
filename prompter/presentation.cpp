// The prompter's presentation: how the shown script's text and settings are
// (re)loaded from the store, and the two mirrors.

#include "scriptViewController.h"

#include "library/library_records.h"
#include "library/script_start_values.h"
#include "library/script_lists.h"
#include "library/store_keys.h"
#include "platform/foundation/format.h"
#include "platform/ui/app_context.h"
#include "platform/ui/color_archive.h"
#include "platform/ui/view_stack.h"

namespace cw {

namespace {

// Index into a per-script list, or none when the list has no element there.
Value const* element_at(List const& list, std::int64_t index)
{
    if (index < 0 || static_cast<std::uint64_t>(index) >= list.size())
        return nullptr;
    return &list[static_cast<size_t>(index)];
}

std::string describe_flags(List const& list)
{
    std::string out = "(";
    for (size_t i = 0; i < list.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += list[i].to_boolean() ? "1" : "0";
    }
    return out + ")";
}

}

void scriptViewController::viewDidAppear(bool animated)
{
    Screen::viewDidAppear(animated);
    refreshPresentation(Refresh::Appearance);
}

void scriptViewController::receiveTestNotification()
{
    refreshPresentation(Refresh::SettingsSaved);
}

// Both refreshes run the same steps; they differ in their first step, their
// diagnostics and the mirror rule (see applyMirror).
void scriptViewController::refreshPresentation(Refresh variant)
{
    auto& store = context().defaults;
    auto& log = context().log;

    if (variant == Refresh::Appearance)
        send_subview_to_back(*ScriptTextView);
    else
        log.line("Notification Received");

    // The flag still holds the recording setting of the script refreshed
    // before this one; it is rewritten at the end.
    videoMessageView->hidden = !store.boolean(keys::canVideo);

    scriptText = string_list(store.list(keys::scriptTextArray));
    load_settings_lists(store, { &textSizeArray, &isScrollNormalArray, &colorDataArray, &textColorDataArray,
                                   &isMirrorModeArray, &isMagicScrollingArray, &isRecordingVideoArray });

    scriptIndex = store.integer(keys::currentlyEditingIndex);
    if (variant == Refresh::Appearance) {
        log.line(format("Is Scroll Normal %@", { describe_flags(isScrollNormalArray) }));
        log.line(format("Array count = %lu", { static_cast<std::uint64_t>(isScrollNormalArray.size()) }));
        log.line(format("Script Index = %d", { scriptIndex }));
    } else {
        log.line(format("Script Indext = %d", { scriptIndex }));
    }

    if (scriptIndex >= 0 && static_cast<std::uint64_t>(scriptIndex) < scriptText.size()) {
        ScriptTextView->set_text(scriptText[static_cast<size_t>(scriptIndex)]);
    } else {
        log.line(format("Script index %ld is outside the %lu stored script texts; keeping the text on screen",
            { scriptIndex, static_cast<std::uint64_t>(scriptText.size()) }));
    }

    readScriptSettings();

    ScriptTextView->set_font_size(textSize);

    m_engine.ScrollDirectionIsUp = isScrollNormal;
    log.line(isScrollNormal ? "Scrolling is normal" : "Scrolling is reversed");

    // A colour that cannot be read leaves the view's own colour in place.
    if (auto background = unarchive_color(colorData))
        ScriptTextView->background = *background;
    if (auto text_color = unarchive_color(textColorData))
        ScriptTextView->text_color = *text_color;

    applyMirror(variant);

    store.set_boolean(keys::canVideo, isRecordingVideo);
}

// Reads this script's settings at the script index. A store whose lists
// are shorter than the script index (written by hand, or damaged) is shown
// with a new script's start values for the missing settings, and the log
// says which lists fell short.
void scriptViewController::readScriptSettings()
{
    auto const start = script_start_values();
    List const* lists[] = { &textSizeArray, &isScrollNormalArray, &colorDataArray, &textColorDataArray,
        &isMirrorModeArray, &isMagicScrollingArray, &isRecordingVideoArray };
    Value values[7];
    std::string missing;
    for (size_t i = 0; i < 7; ++i) {
        if (auto const* element = element_at(*lists[i], scriptIndex)) {
            values[i] = *element;
        } else {
            values[i] = start[i];
            missing += missing.empty() ? "" : ", ";
            missing += keys::perScriptSettings[i];
        }
    }
    if (!missing.empty())
        context().log.line(format("Script index %ld is outside %@; using a new script's settings for them", { scriptIndex, missing }));

    textSize = values[0].to_double();
    isScrollNormal = values[1].to_boolean();
    colorData = values[2].is_bytes() ? values[2].as_bytes() : Bytes {};
    textColorData = values[3].is_bytes() ? values[3].as_bytes() : Bytes {};
    isMirrorMode = values[4].to_boolean();
    isMagicScrolling = values[5].to_boolean();
    isRecordingVideo = values[6].to_boolean();
}

// Only one transform is in effect at a time. The vertical mirror wins at
// every refresh. Without it, the appearance refresh always straightens the
// text, while a refresh after the settings were saved keeps a horizontal
// mirror that is in effect.
void scriptViewController::applyMirror(Refresh variant)
{
    if (isMirrorMode) {
        context().log.line("IS MIRROR!");
        ScriptTextView->transform = AffineTransform::scale(1, -1);
        return;
    }
    if (variant == Refresh::Appearance || !isReversed) {
        ScriptTextView->transform = AffineTransform::identity();
        context().log.line("ISN'T MIRROR!");
    }
}

void scriptViewController::reverseScript()
{
    isReversed = true;
    context().log.line("Reverse Script Called");
    // Applied one main-queue turn later, after whatever posted the
    // notification has finished.
    defer([this] { ScriptTextView->transform = AffineTransform::scale(-1, 1); });
}

void scriptViewController::unreverseScript()
{
    isReversed = false;
    context().log.line("Unreverse Script Called");
    ScriptTextView->transform = AffineTransform::identity();
}

}
