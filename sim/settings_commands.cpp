// The settings screens' automation commands: open them, work their controls
// (stepper, segments, switches, the colour pickers, the closing pan), read
// their state, answer the permission questions they raise, and see what
// reached the outside services (pages opened, mail, review requests).
// Buttons (`closeButton`, `colorButton`, the links, the pickers' `okButton`
// and presets, the mail composer's `sendButton`) go through `tap`, and the
// custom picker's sliders through `set_value`.

#include "driver.h"

#include "platform/services/mail.h"
#include "platform/ui/color_picker_screen.h"
#include "settings/ColorPickerController.h"
#include "settings/SettingsTableViewController.h"
#include "settings/color_sliders.h"
#include "settings/settingsViewController.h"

#include <cmath>

namespace cw {

using Json = nlohmann::json;

static Json colour_json(std::optional<Color> colour)
{
    return colour ? plain_json(to_value(*colour)) : Json(nullptr);
}

static Color colour_field(Json const& request, char const* field)
{
    auto it = request.find(field);
    if (it == request.end() || !it->is_array() || it->size() != 4)
        throw DriverError(std::string(field) + " must be [red, green, blue, alpha]");
    double parts[4];
    for (size_t i = 0; i < 4; ++i) {
        if (!(*it)[i].is_number() || !((*it)[i].get<double>() >= 0 && (*it)[i].get<double>() <= 1))
            throw DriverError(std::string(field) + " components must be numbers from 0 to 1");
        parts[i] = (*it)[i].get<double>();
    }
    return { parts[0], parts[1], parts[2], parts[3] };
}

// The settings screen on top, either kind.
static ScriptSettings& settings_on_top(SimDevice& device)
{
    if (auto* modern = device.top_as<SettingsTableViewController>())
        return *modern;
    if (auto* legacy = device.top_as<settingsViewController>())
        return *legacy;
    throw DriverError("no settings screen is on top");
}

template<typename T>
static T& control(SimDevice& device, Json const& request, char const* fallback)
{
    settings_on_top(device);
    auto name = request.value("name", std::string(fallback));
    auto* found = device.top()->view().find_as<T>(name);
    if (!found)
        throw DriverError("no such control \"" + name + "\" on the settings screen");
    return *found;
}

static Json open_settings(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto identifier = request.value("screen", std::string("NEWSET"));
    if (identifier != "NEWSET" && identifier != "settingsID")
        throw DriverError("screen must be \"NEWSET\" or \"settingsID\"");
    auto* top = device.top();
    if (!top || top->presented())
        throw DriverError("nothing to present the settings over");
    auto screen = device.context().storyboard.instantiate(device.context(), identifier);
    if (!screen)
        throw DriverError("no screen is registered as \"" + identifier + "\"");
    top->present(std::move(screen), true);
    device.settle();
    return { { "top", device.top()->class_name() } };
}

static Json settings_state(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& settings = settings_on_top(device);
    auto* modern = device.top_as<SettingsTableViewController>();
    auto switch_state = [](Switch const* s) { return s ? Json(s->is_on()) : Json(nullptr); };
    return {
        { "class", device.top()->class_name() },
        { "scriptIndex", settings.scriptIndex },
        { "textStepper", { { "value", settings.textStepper->value() }, { "minimum", settings.textStepper->minimum_value() }, { "maximum", settings.textStepper->maximum_value() } } },
        { "label", settings.label->text },
        { "scrollDirectionButton", settings.scrollDirectionButton->selected_segment() },
        { "mirrorSwitch", switch_state(settings.mirrorSwitch) },
        { "horimirrorSwitch", switch_state(modern ? modern->horimirrorSwitch : nullptr) },
        { "magicSwitch", switch_state(settings.magicSwitch) },
        { "videoSwitch", switch_state(settings.videoSwitch) },
        { "bgColorImg", colour_json(settings.bgColorImg->background) },
        { "textbgColorImg", colour_json(settings.textbgColorImg->background) },
        { "colorToSave", colour_json(settings.colorToSave) },
        { "textcolorToSave", colour_json(settings.textcolorToSave) },
        { "isSelectingBGColor", settings.isSelectingBGColor },
        { "videoMessageViewHidden", settings.videoMessageView->hidden },
    };
}

static Json stepper(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& stepper = control<Stepper>(device, request, "textStepper");
    if (request.contains("value")) {
        auto value = optional_number(request, "value", NAN);
        if (!std::isfinite(value))
            throw DriverError("value must be a number");
        stepper.user_set_value(value);
    } else {
        auto press = request.value("press", std::string());
        if (press == "plus")
            stepper.user_increment();
        else if (press == "minus")
            stepper.user_decrement();
        else
            throw DriverError("give a \"value\", or \"press\": \"plus\" or \"minus\"");
    }
    device.settle();
    return { { "value", stepper.value() } };
}

static Json segment(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& segments = control<SegmentedControl>(device, request, "scrollDirectionButton");
    auto index = optional_number(request, "index", NAN);
    if (!std::isfinite(index) || index != std::floor(index) || !segments.user_select_segment(static_cast<int>(index)))
        throw DriverError("index must name one of the " + std::to_string(segments.number_of_segments()) + " segments");
    device.settle();
    return { { "selected", segments.selected_segment() } };
}

static Json switch_command(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    required_string(request, "name");
    auto& toggle = control<Switch>(device, request, "");
    auto on = request.find("on");
    if (on == request.end() || !on->is_boolean())
        throw DriverError("on must be true or false");
    toggle.user_set_on(on->get<bool>());
    device.settle();
    return { { "on", toggle.is_on() } };
}

static Json color_picker(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    if (auto* picker = device.top_as<ColorPickerScreen>()) {
        if (request.contains("color"))
            picker->user_select_color(colour_field(request, "color"));
        Json answer = { { "picker", "platform" }, { "selectedColor", colour_json(picker->selected_color) } };
        if (request.value("close", false)) {
            picker->user_close();
            device.settle();
            answer["top"] = device.top() ? device.top()->class_name() : "";
        }
        return answer;
    }
    if (auto* picker = device.top_as<ColorPickerController>()) {
        Json presets = Json::array();
        for (auto* button : picker->buttons)
            presets.push_back(colour_json(button->background));
        return {
            { "picker", "custom" },
            { "hue", picker->sliderColor->value() },
            { "alpha", picker->alphaSlider->value() },
            { "color", colour_json(picker->sliderColor->color()) },
            { "presets", presets },
        };
    }
    throw DriverError("no colour picker is on top");
}

static Json pan(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto state_name = required_string(request, "state");
    static std::map<std::string, GestureState> const states {
        { "began", GestureState::Began }, { "changed", GestureState::Changed }, { "ended", GestureState::Ended },
        { "cancelled", GestureState::Cancelled }, { "failed", GestureState::Failed },
    };
    auto state = states.find(state_name);
    if (state == states.end())
        throw DriverError("state must be \"began\", \"changed\", \"ended\", \"cancelled\" or \"failed\"");
    auto* top = device.top();
    if (!top)
        throw DriverError("no screen is shown");
    for (auto const& recognizer : top->view().gesture_recognizers()) {
        if (recognizer->type == GestureRecognizer::Type::Pan && recognizer->enabled) {
            recognizer->update(state->second, { optional_number(request, "x", 0), optional_number(request, "y", 0) });
            device.settle();
            return { { "top", device.top() ? device.top()->class_name() : "" } };
        }
    }
    throw DriverError("the top screen has no pan recogniser");
}

static Json dismiss_sheet(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto* top = device.top();
    if (!top || !top->presenting())
        throw DriverError("the top screen was not presented");
    if (!device.swipe_away_sheet())
        throw DriverError("the top screen is not a sheet");
    return { { "top", device.top() ? device.top()->class_name() : "" } };
}

static AuthorizationStatus status_field(Json const& value)
{
    if (value.is_number_integer())
        return AuthorizationStatus { value.get<int>() };
    static std::map<std::string, AuthorizationStatus> const names {
        { "notDetermined", AuthorizationStatus::NotDetermined }, { "restricted", AuthorizationStatus::Restricted },
        { "denied", AuthorizationStatus::Denied }, { "granted", AuthorizationStatus::Authorized }, { "limited", AuthorizationStatus { 4 } },
    };
    auto it = value.is_string() ? names.find(value.get<std::string>()) : names.end();
    if (it == names.end())
        throw DriverError("a status is \"notDetermined\", \"restricted\", \"denied\", \"granted\", \"limited\" or a number");
    return it->second;
}

static RecordPermission record_field(Json const& value)
{
    if (value == "notDetermined")
        return RecordPermission::Undetermined;
    if (value == "granted")
        return RecordPermission::Granted;
    if (value == "denied")
        return RecordPermission::Denied;
    throw DriverError("the microphone's status is \"notDetermined\", \"granted\" or \"denied\"");
}

static Json permission_state(sim::SimPermissions const& permissions)
{
    Json pending = Json::array();
    for (auto kind : permissions.pending_questions())
        pending.push_back(sim::permission_kind_name(kind));
    auto mic = permissions.record_permission();
    return {
        { "camera", static_cast<int>(permissions.camera_status()) },
        { "microphone", mic == RecordPermission::Granted ? "granted" : mic == RecordPermission::Undetermined ? "notDetermined" : "denied" },
        { "photoLibrary", static_cast<int>(permissions.photo_library_status()) },
        { "pending", pending },
    };
}

static Json permissions(Driver& driver, Json const& request)
{
    auto& simulated = *driver.device(request).platform().permissions;
    if (request.contains("camera"))
        simulated.set_camera_status(status_field(request["camera"]));
    if (request.contains("microphone"))
        simulated.set_record_permission(record_field(request["microphone"]));
    if (request.contains("photoLibrary"))
        simulated.set_photo_library_status(status_field(request["photoLibrary"]));
    return permission_state(simulated);
}

static Json answer_permission(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& simulated = *device.platform().permissions;
    auto kind = required_string(request, "kind");
    auto grant = request.find("grant");
    if (grant == request.end() || !grant->is_boolean())
        throw DriverError("grant must be true or false");
    bool answered = false;
    if (kind == "camera")
        answered = simulated.answer_camera(grant->get<bool>());
    else if (kind == "microphone")
        answered = simulated.answer_microphone(grant->get<bool>());
    else if (kind == "photoLibrary")
        answered = simulated.answer_photo_library(grant->get<bool>() ? AuthorizationStatus::Authorized : AuthorizationStatus::Denied);
    else
        throw DriverError("kind must be \"camera\", \"microphone\" or \"photoLibrary\"");
    if (!answered)
        throw DriverError("no " + kind + " question is waiting");
    device.settle();
    return permission_state(simulated);
}

static Json services(Driver& driver, Json const& request)
{
    auto& platform = driver.device(request).platform();
    if (request.contains("canSendMail")) {
        if (!request["canSendMail"].is_boolean())
            throw DriverError("canSendMail must be true or false");
        platform.mail->set_can_send(request["canSendMail"].get<bool>());
    }
    Json mails = Json::array();
    for (auto const& mail : platform.mail->sent())
        mails.push_back({ { "subject", mail.subject }, { "body", mail.body }, { "isHTML", mail.body_is_html }, { "to", mail.to_recipients } });
    return {
        { "urlsOpened", platform.urls->opened() },
        { "mailsSent", mails },
        { "canSendMail", platform.mail->can_send_mail() },
        { "reviewRequests", platform.review_prompt->requests() },
    };
}

void register_settings_commands(Driver& driver)
{
    driver.add_command("open_settings", open_settings);
    driver.add_command("settings", settings_state);
    driver.add_command("stepper", stepper);
    driver.add_command("segment", segment);
    driver.add_command("switch", switch_command);
    driver.add_command("color_picker", color_picker);
    driver.add_command("pan", pan);
    driver.add_command("dismiss_sheet", dismiss_sheet);
    driver.add_command("permissions", permissions);
    driver.add_command("answer_permission", answer_permission);
    driver.add_command("services", services);
}

}
