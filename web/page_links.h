#pragma once

// Links and mail, opened by the browser the presenter is looking at. The
// application asks to open a web page, or hands a finished mail to the
// outbox; the live program passes both to the page, which opens the link in
// a new tab or the mail in the user's mail program (a "mailto:" link with
// the recipients, subject and body filled in).
//
// Called on the main loop. Until a page is connected there is nowhere to
// open anything, and the request is dropped, as an opener that is not there
// would drop it.

#include "platform/services/mail.h"
#include "platform/services/share_sheet.h"
#include "platform/services/url_opener.h"

#include <functional>
#include <string>

namespace cw::web {

using OpenInPage = std::function<void(std::string const& url)>;

class PageUrlOpener final : public UrlOpener {
public:
    void set_target(OpenInPage target) { m_target = std::move(target); }
    void open_url(std::string const& url) override;

private:
    OpenInPage m_target;
};

class PageMail final : public MailService {
public:
    void set_target(OpenInPage target) { m_target = std::move(target); }
    bool can_send_mail() const override { return true; }
    bool send(MailMessage const&) override;

private:
    OpenInPage m_target;
};

// Sharing a take from the browser saves it to the presenter's computer: the
// page downloads it from the server's media folder.
class PageShare final : public ShareService {
public:
    void set_target(OpenInPage target) { m_target = std::move(target); }
    std::vector<std::string> activity_types_for(std::vector<std::string> const& items) const override;
    void perform(std::string const& activity_type, std::vector<std::string> const& items) override;

private:
    OpenInPage m_target;
};

// Where the page downloads a saved take from.
std::string download_url(std::string const& file_path);

// The "mailto:" link of a message, every part percent-encoded.
std::string mailto_url(MailMessage const&);

}
