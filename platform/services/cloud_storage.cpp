#include "cloud_storage.h"

#include <cctype>
#include <map>

namespace cw {

static std::string percent_decode(std::string const& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) && std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i] == '+' ? ' ' : text[i];
        }
    }
    return out;
}

static std::map<std::string, std::string> parse_parameters(std::string const& fragment)
{
    std::map<std::string, std::string> parameters;
    size_t start = 0;
    while (start <= fragment.size()) {
        size_t end = fragment.find('&', start);
        if (end == std::string::npos)
            end = fragment.size();
        auto pair = fragment.substr(start, end - start);
        auto equals = pair.find('=');
        if (equals != std::string::npos)
            parameters[percent_decode(pair.substr(0, equals))] = percent_decode(pair.substr(equals + 1));
        start = end + 1;
    }
    return parameters;
}

std::string CloudAuthResult::description() const
{
    switch (kind) {
    case Kind::Success: return "[Success]";
    case Kind::Cancel: return "[Cancel]";
    case Kind::Error: return "[Error] " + error + (error_description.empty() ? "" : ": " + error_description);
    }
    return {};
}

std::optional<CloudAuthResult> parse_cloud_redirect(std::string const& app_key, std::string const& url)
{
    std::string const prefix = "db-" + app_key + "://2/token";
    if (app_key.empty() || url.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    auto hash = url.find('#', prefix.size());
    if (hash == std::string::npos)
        return std::nullopt;
    auto parameters = parse_parameters(url.substr(hash + 1));
    if (auto error = parameters.find("error"); error != parameters.end()) {
        if (error->second == "access_denied")
            return CloudAuthResult { CloudAuthResult::Kind::Cancel, {}, error->second, {} };
        return CloudAuthResult { CloudAuthResult::Kind::Error, {}, error->second, parameters["error_description"] };
    }
    if (auto token = parameters.find("access_token"); token != parameters.end() && !token->second.empty())
        return CloudAuthResult { CloudAuthResult::Kind::Success, token->second, {}, {} };
    return std::nullopt;
}

std::optional<CloudAuthResult> RedirectCloudStorageClient::handle_redirect_url(std::string const& url)
{
    return parse_cloud_redirect(m_key, url);
}

}
