#include "driver.h"

#include "platform/ui/navigation_controller.h"

namespace cw {

using Json = nlohmann::json;

static SimDeviceOptions launch_options(Json const& request)
{
    SimDeviceOptions options;
    if (request.contains("data_dir"))
        options.data_dir = required_string(request, "data_dir");
    std::string idiom = request.value("idiom", "phone");
    if (idiom != "phone" && idiom != "tablet")
        throw DriverError("idiom must be \"phone\" or \"tablet\"");
    options.idiom = idiom == "tablet" ? Idiom::Tablet : Idiom::Phone;
    if (options.idiom == Idiom::Tablet)
        options.window_size = { 820, 1180 };
    options.window_size.width = optional_number(request, "width", options.window_size.width);
    options.window_size.height = optional_number(request, "height", options.window_size.height);
    if (options.window_size.width <= 0 || options.window_size.height <= 0)
        throw DriverError("the window size must be positive");
    options.device_name = request.value("device_name", options.device_name);
    return options;
}

static Json launch(Driver& driver, Json const& request)
{
    auto& device = driver.launch_device(request.value("device", "main"), launch_options(request));
    return { { "top", device.top() ? device.top()->class_name() : "" } };
}

static Json store(Driver& driver, Json const& request)
{
    auto& defaults = driver.device(request).store();
    if (request.contains("key")) {
        auto key = required_string(request, "key");
        auto value = defaults.object(key);
        return { { "key", key }, { "value", value ? typed_json(*value) : Json(nullptr) } };
    }
    Json all = Json::object();
    for (auto const& [key, value] : defaults.snapshot())
        all[key] = typed_json(value);
    return { { "store", all } };
}

static Json log_lines(Driver& driver, Json const& request)
{
    return { { "lines", driver.device(request).log().take_new_lines() } };
}

static Json advance(Driver& driver, Json const& request)
{
    if (request.contains("frames")) {
        auto frames = optional_number(request, "frames", 0);
        if (frames < 0 || frames > 1e7)
            throw DriverError("frames must be between 0 and 10000000");
        driver.loop().advance_frames(static_cast<int>(frames));
    } else {
        auto seconds = optional_number(request, "seconds", 0);
        if (seconds < 0 || seconds > 1e6)
            throw DriverError("seconds must be between 0 and 1000000");
        driver.loop().advance(seconds);
    }
    driver.settle_all();
    return { { "now", driver.loop().now() } };
}

static Json screens(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto* root = device.context().window.root();
    auto* top = device.top();
    return { { "top", top ? top->class_name() : "" }, { "root", root ? plain_json(root->snapshot()) : Json(nullptr) } };
}

static Json tap(Driver& driver, Json const& request)
{
    auto name = required_string(request, "name");
    if (!driver.device(request).tap(name))
        throw DriverError("no button \"" + name + "\" on the top screen");
    return {};
}

static Json alert(Driver& driver, Json const& request)
{
    auto* current = driver.device(request).alert();
    if (!current)
        throw DriverError("no alert is presented");
    Record record;
    current->describe(record);
    return { { "alert", plain_json(record) } };
}

static Json answer(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    if (!device.alert())
        throw DriverError("no alert is presented");
    if (request.contains("fields")) {
        auto const& fields = request["fields"];
        if (!fields.is_array())
            throw DriverError("fields must be a list of texts");
        for (size_t i = 0; i < fields.size(); ++i) {
            if (!fields[i].is_string() || !device.type_into_alert(i, fields[i].get<std::string>()))
                throw DriverError("the alert has no text field " + std::to_string(i));
        }
    }
    if (request.contains("choose")) {
        auto title = required_string(request, "choose");
        if (!device.choose(title))
            throw DriverError("the alert has no action \"" + title + "\"");
    }
    return {};
}

static Json open_url(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    bool answered = device.app().delegate().applicationOpenURLOptions(required_string(request, "url"));
    device.settle();
    return { { "answer", answered } };
}

void register_core_commands(Driver& driver)
{
    driver.add_command("launch", launch);
    driver.add_command("store", store);
    driver.add_command("log", log_lines);
    driver.add_command("advance", advance);
    driver.add_command("screens", screens);
    driver.add_command("tap", tap);
    driver.add_command("alert", alert);
    driver.add_command("answer", answer);
    driver.add_command("open_url", open_url);
}

}
