// The prompter's run controls: start, stop, back to start and the speed.
// The buttons, the slider and both remotes all come through here.

#include "scriptViewController.h"

#include "library/store_keys.h"
#include "prompter/speed_text.h"
#include "platform/ui/app_context.h"
#include "platform/ui/navigation_controller.h"

namespace cw {

static constexpr double running_slider_alpha = 0.4;

void scriptViewController::startScript()
{
    view();
    if (context().defaults.boolean(keys::canVideo))
        startRecording();
    else
        ScriptTextView->alpha = 1.0;

    if (isMagicScrolling) {
        // Voice scrolling decides when the text moves; the slider container
        // keeps its look.
        startVoiceScroll();
        startButton->hidden = true;
        stopButton->hidden = false;
        return;
    }

    // One step at once, then the tick source takes over. A start while a
    // run is active replaces the pending delayed start and, when it fires,
    // the tick source, so there is never more than one of either.
    RunScroll();
    m_engine.schedule_delayed_start();
    startButton->hidden = true;
    stopButton->hidden = false;
    sliderControlView->alpha = running_slider_alpha;
}

// Changes no opacity: the text stays dimmed after a recording run and the
// slider container stays dimmed until the next speed change.
void scriptViewController::stopScript()
{
    view();
    if (auto* navigation = navigation_controller())
        navigation->navigation_bar_hidden = false;

    // Listening also ends when the script's voice setting was switched off
    // while it listened (the tablet's settings open without a stop);
    // otherwise the microphone would stay on with nothing to end it.
    if (isMagicScrolling || m_voice.listening())
        stopVoiceScroll();

    // A stop that comes before the delayed start has fired also cancels it,
    // so the run does not come back to life 0.03 seconds later.
    m_engine.cancel_delayed_start();
    if (m_engine.has_tick_source())
        stopRunScrollTimer();

    startButton->hidden = false;
    stopButton->hidden = true;

    if (context().defaults.boolean(keys::canVideo))
        stopRecording();
}

void scriptViewController::backToStart()
{
    stopScript();
    // An animated move at once replaced by a plain one: the text jumps.
    ScriptTextView->set_content_offset({ 0, 0 }, true);
    ScriptTextView->set_content_offset({ 0, 0 }, false);
    stopScript();
}

void scriptViewController::SpeedSlide(Slider& slider)
{
    applySpeed(static_cast<double>(slider.value()));
}

// A remote's speed. The prompter's own slider stays where it is.
void scriptViewController::handleReceivedSliderValue(double speed)
{
    applySpeed(speed);
}

// The field shows the rounded speed, which is what the engine runs at from
// its next step; the store keeps the truncated one. The two can differ by
// one (10.7 runs at 11 and is stored as 10).
void scriptViewController::applySpeed(double speed)
{
    view();
    auto& store = context().defaults;
    auto viewing = store.integer(keys::CurrentlyViewing);
    SpeedField->text = speed_field_text(speed);
    store.set_integer(speed_key(viewing), stored_speed(speed));
    sliderControlView->alpha = 1.0;
}

}
