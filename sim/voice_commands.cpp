// The microphone's automation commands: what a simulated device's
// microphone hears (a steady level, a list of levels, or a WAV file), and
// what voice scrolling is doing with it.

#include "driver.h"

#include "prompter/scriptViewController.h"
#include "sim/prompter_driving.h"

#include <cmath>

namespace cw {

using Json = nlohmann::json;

// The simulated microphone of a device, unless the device listens to a real
// one (the live program can), which the driver cannot speak for.
static sim::SimAudio& microphone(SimDevice& device)
{
    auto& audio = *device.platform().audio;
    if (device.context().services.find<AudioService>() != &audio)
        throw DriverError("this device listens to a real microphone");
    return audio;
}

static float level_from(Json const& value)
{
    if (!value.is_number())
        throw DriverError("levels are numbers of dBFS");
    return value.get<float>();
}

static Json microphone_level(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& audio = microphone(device);
    if (auto levels = request.find("levels"); levels != request.end()) {
        if (!levels->is_array() || levels->empty())
            throw DriverError("levels must be a list of numbers");
        std::vector<float> scripted;
        for (auto const& level : *levels)
            scripted.push_back(level_from(level));
        audio.script_levels(std::move(scripted));
    } else if (auto level = request.find("level"); level != request.end()) {
        audio.set_level(level_from(*level));
    } else {
        throw DriverError("give a \"level\" or a list of \"levels\"");
    }
    return {};
}

static Json microphone_file(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& audio = microphone(device);
    auto path = required_string(request, "path");
    bool loop = false;
    if (auto it = request.find("loop"); it != request.end()) {
        if (!it->is_boolean())
            throw DriverError("loop must be true or false");
        loop = it->get<bool>();
    }
    std::string error;
    if (!audio.play_wav_file(path, loop, error))
        throw DriverError(error);
    return { { "duration", audio.wav_duration().value_or(0.0) } };
}

static Json microphone_refuse(Driver& driver, Json const& request)
{
    auto& audio = microphone(driver.device(request));
    auto text = [&](char const* field) -> std::optional<std::string> {
        auto it = request.find(field);
        if (it == request.end())
            return std::nullopt;
        if (!it->is_string())
            throw DriverError(std::string("field \"") + field + "\" must be a text");
        return it->get<std::string>();
    };
    if (auto reason = text("recorder"))
        audio.refuse_recorders(*reason);
    if (auto reason = text("input"))
        audio.refuse_input(*reason);
    return {};
}

static char const* category_name(AudioCategory category)
{
    switch (category) {
    case AudioCategory::Ambient: return "Ambient";
    case AudioCategory::Playback: return "Playback";
    case AudioCategory::Record: return "Record";
    case AudioCategory::PlayAndRecord: return "PlayAndRecord";
    }
    return "";
}

static Json microphone_state(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& audio = microphone(device);
    auto const& session = audio.session();
    Json state = {
        { "listening", audio.listening() },
        { "recordersMade", audio.recorders_made() },
        { "meterUpdates", audio.meter_updates() },
        { "sessionActive", session.active() },
        { "sessionCategory", session.category() ? Json(category_name(*session.category())) : Json(nullptr) },
    };
    if (auto* prompter = top_prompter(device)) {
        auto const& voice = prompter->voice();
        state["levelTimer"] = voice.has_level_timer();
        auto* recorder = voice.recorder();
        state["lastLevel"] = recorder && std::isfinite(recorder->peak_power(0)) ? Json(recorder->peak_power(0)) : Json(nullptr);
    }
    return state;
}

void register_voice_commands(Driver& driver)
{
    driver.add_command("microphone_level", microphone_level);
    driver.add_command("microphone_file", microphone_file);
    driver.add_command("microphone_refuse", microphone_refuse);
    driver.add_command("microphone", microphone_state);
}

}
