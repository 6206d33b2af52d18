// The prompter's automation commands: open a script as the home screen
// does, read the prompter's state, and the run operations that the remotes
// use. Taps, the speed slider, drags of the text and display refreshes go
// through the generic input commands.

#include "driver.h"

#include "prompter/scriptViewController.h"
#include "sim/prompter_driving.h"
#include "platform/ui/navigation_controller.h"

#include <cmath>

namespace cw {

using Json = nlohmann::json;

static scriptViewController& prompter(SimDevice& device)
{
    auto* shown = top_prompter(device);
    if (!shown)
        throw DriverError("the prompter is not the top screen");
    return *shown;
}

static Json open_script_command(Driver& driver, Json const& request)
{
    auto index = optional_number(request, "index", NAN);
    if (!std::isfinite(index) || index != std::floor(index) || std::abs(index) > 1e15)
        throw DriverError("index must be a whole number");
    std::string error;
    if (!open_script(driver.device(request), static_cast<std::int64_t>(index), error))
        throw DriverError(error);
    return {};
}

static Json flag(View const* view)
{
    return view ? Json(view->hidden) : Json(nullptr);
}

static Json prompter_state(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& screen = prompter(device);
    auto const& text = *screen.ScriptTextView;
    auto* navigation = screen.navigation_controller();
    Json text_state = {
        { "text", text.text() },
        { "fontSize", text.font_size() },
        { "textColor", plain_json(to_value(text.text_color)) },
        { "background", text.background ? plain_json(to_value(*text.background)) : Json(nullptr) },
        { "alpha", text.alpha },
        { "transform", plain_json(to_value(text.transform)) },
        { "contentOffset", plain_json(to_value(text.content_offset())) },
        { "contentSize", plain_json(to_value(text.content_size())) },
        { "frame", plain_json(to_value(text.frame)) },
    };
    return {
        { "scriptIndex", screen.scriptIndex },
        { "ScriptTextView", text_state },
        { "startButtonHidden", flag(screen.startButton) },
        { "stopButtonHidden", flag(screen.stopButton) },
        { "videoMessageViewHidden", flag(screen.videoMessageView) },
        { "sliderControlViewAlpha", screen.sliderControlView->alpha },
        { "SpeedSlider", { { "value", screen.SpeedSlider->value() }, { "minimum", screen.SpeedSlider->minimum_value }, { "maximum", screen.SpeedSlider->maximum_value } } },
        { "SpeedField", screen.SpeedField->text },
        { "ScrollDirectionIsUp", screen.engine().ScrollDirectionIsUp },
        { "ScrollIsRunning", screen.engine().ScrollIsRunning },
        { "isReversed", screen.isReversed },
        { "scrolling", screen.engine().has_tick_source() },
        { "startPending", screen.engine().delayed_start_pending() },
        { "navigationBarHidden", navigation ? Json(navigation->navigation_bar_hidden) : Json(nullptr) },
    };
}

static Json back_to_start(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    prompter(device).backToStart();
    device.settle();
    return {};
}

static Json remote_speed(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto value = optional_number(request, "value", NAN);
    if (std::isnan(value))
        throw DriverError("value must be a number");
    prompter(device).handleReceivedSliderValue(value);
    device.settle();
    return {};
}

static Json post_notification(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    device.context().notifications.post(required_string(request, "name"));
    device.settle();
    return {};
}

void register_prompter_commands(Driver& driver)
{
    driver.add_command("open_script", open_script_command);
    driver.add_command("prompter", prompter_state);
    driver.add_command("back_to_start", back_to_start);
    driver.add_command("remote_speed", remote_speed);
    driver.add_command("post_notification", post_notification);
}

}
