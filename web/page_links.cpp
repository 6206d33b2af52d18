#include "page_links.h"

namespace cw::web {

void PageUrlOpener::open_url(std::string const& url)
{
    if (m_target)
        m_target(url);
}

bool PageMail::send(MailMessage const& message)
{
    if (!m_target)
        return false;
    m_target(mailto_url(message));
    return true;
}

std::vector<std::string> PageShare::activity_types_for(std::vector<std::string> const&) const
{
    return { activity_type::save_to_files };
}

void PageShare::perform(std::string const& activity_type, std::vector<std::string> const& items)
{
    if (activity_type != activity_type::save_to_files || !m_target)
        return;
    for (auto const& item : items)
        m_target(download_url(item));
}

std::string download_url(std::string const& file_path)
{
    auto slash = file_path.find_last_of('/');
    return "/media/" + (slash == std::string::npos ? file_path : file_path.substr(slash + 1)) + "?download=1";
}

static std::string percent_encoded(std::string const& text)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == '~' || c == '@';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

std::string mailto_url(MailMessage const& message)
{
    std::string url = "mailto:";
    for (size_t i = 0; i < message.to_recipients.size(); ++i)
        url += (i ? "," : "") + percent_encoded(message.to_recipients[i]);
    url += "?subject=" + percent_encoded(message.subject);
    if (!message.body.empty() && !message.body_is_html)
        url += "&body=" + percent_encoded(message.body);
    return url;
}

}
