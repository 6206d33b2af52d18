#include "driver.h"

namespace cw {

static std::string base64(std::string const& bytes)
{
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        unsigned n = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) | static_cast<unsigned char>(bytes[i + 2]);
        out += { alphabet[(n >> 18) & 63], alphabet[(n >> 12) & 63], alphabet[(n >> 6) & 63], alphabet[n & 63] };
    }
    if (i + 1 == bytes.size()) {
        unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
        out += { alphabet[(n >> 18) & 63], alphabet[(n >> 12) & 63], '=', '=' };
    } else if (i + 2 == bytes.size()) {
        unsigned n = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        out += { alphabet[(n >> 18) & 63], alphabet[(n >> 12) & 63], alphabet[(n >> 6) & 63], '=' };
    }
    return out;
}

nlohmann::json typed_json(Value const& value)
{
    using Json = nlohmann::json;
    switch (value.kind()) {
    case Kind::String: return Json { { "string", value.as_string() } };
    case Kind::Integer: return Json { { "integer", value.as_integer() } };
    case Kind::Boolean: return Json { { "boolean", value.as_boolean() } };
    case Kind::Double: return Json { { "double", value.as_double() } };
    case Kind::Bytes: return Json { { "bytes", base64(value.as_bytes().data) } };
    case Kind::List: {
        Json list = Json::array();
        for (auto const& element : value.as_list())
            list.push_back(typed_json(element));
        return Json { { "list", list } };
    }
    case Kind::Record: {
        Json record = Json::object();
        for (auto const& [key, element] : value.as_record())
            record[key] = typed_json(element);
        return Json { { "record", record } };
    }
    }
    return nullptr;
}

nlohmann::json plain_json(Value const& value)
{
    using Json = nlohmann::json;
    switch (value.kind()) {
    case Kind::String: return value.as_string();
    case Kind::Integer: return value.as_integer();
    case Kind::Boolean: return value.as_boolean();
    case Kind::Double: return value.as_double();
    case Kind::Bytes: return base64(value.as_bytes().data);
    case Kind::List: {
        Json list = Json::array();
        for (auto const& element : value.as_list())
            list.push_back(plain_json(element));
        return list;
    }
    case Kind::Record: {
        Json record = Json::object();
        for (auto const& [key, element] : value.as_record())
            record[key] = plain_json(element);
        return record;
    }
    }
    return nullptr;
}

std::string required_string(nlohmann::json const& request, char const* field)
{
    auto it = request.find(field);
    if (it == request.end() || !it->is_string())
        throw DriverError(std::string("missing text field \"") + field + "\"");
    return it->get<std::string>();
}

double optional_number(nlohmann::json const& request, char const* field, double fallback)
{
    auto it = request.find(field);
    if (it == request.end())
        return fallback;
    if (!it->is_number())
        throw DriverError(std::string("field \"") + field + "\" must be a number");
    return it->get<double>();
}

Driver::Driver()
    : m_own_loop(std::make_unique<RunLoop>(RunLoop::Time::Virtual))
    , m_loop(m_own_loop.get())
{
    register_core_commands(*this);
    register_library_commands(*this);
    register_input_commands(*this);
    register_prompter_commands(*this);
    register_settings_commands(*this);
    register_voice_commands(*this);
    register_home_commands(*this);
    register_remote_commands(*this);
    register_videos_commands(*this);
    register_import_commands(*this);
}

Driver::Driver(RunLoop& loop)
    : Driver()
{
    m_loop = &loop;
    m_own_loop.reset();
}

Driver::~Driver()
{
    m_devices.clear();
}

void Driver::add_command(std::string name, Handler handler)
{
    m_commands[std::move(name)] = std::move(handler);
}

SimDevice& Driver::device(Json const& request)
{
    std::string name = request.value("device", "main");
    auto it = m_devices.find(name);
    if (it == m_devices.end())
        throw DriverError("no device \"" + name + "\" has been launched");
    return *it->second;
}

SimDevice& Driver::launch_device(std::string const& name, SimDeviceOptions options)
{
    if (m_devices.contains(name))
        throw DriverError("device \"" + name + "\" is already running");
    if (!options.air)
        options.air = m_air;
    auto device = std::make_unique<SimDevice>(*m_loop, std::move(options));
    auto& ref = *device;
    m_devices.emplace(name, std::move(device));
    ref.launch();
    return ref;
}

SimDevice& Driver::adopt_device(std::string const& name, std::unique_ptr<SimDevice> device)
{
    if (m_devices.contains(name))
        throw DriverError("device \"" + name + "\" is already running");
    auto& ref = *device;
    m_devices.emplace(name, std::move(device));
    return ref;
}

void Driver::settle_all()
{
    for (auto& [name, device] : m_devices)
        device->settle();
}

Driver::Json Driver::handle(Json const& request)
{
    Json answer = Json::object();
    if (request.is_object() && request.contains("id"))
        answer["id"] = request["id"];
    try {
        if (!request.is_object())
            throw DriverError("a request must be a JSON object");
        auto name = required_string(request, "cmd");
        auto it = m_commands.find(name);
        if (it == m_commands.end())
            throw DriverError("unknown command \"" + name + "\"");
        Json result = it->second(*this, request);
        if (result.is_object())
            answer.update(result);
        answer["ok"] = true;
    } catch (std::exception const& error) {
        answer["ok"] = false;
        answer["error"] = error.what();
    }
    return answer;
}

std::string Driver::handle_line(std::string const& line)
{
    Json request;
    try {
        request = Json::parse(line);
    } catch (std::exception const& error) {
        return Json { { "ok", false }, { "error", std::string("not valid JSON: ") + error.what() } }.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    }
    return handle(request).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}
