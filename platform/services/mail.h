#pragma once

// Mail from the application. The platform's composer is a screen that the
// application fills in (subject, body, recipients) and presents; the
// presenter then sends or cancels it, and the composer tells its delegate
// how it ended. The delegate is expected to dismiss it; a composer without
// a delegate dismisses itself.
//
// Whether mail can be sent at all (an account is set up on the device) is
// asked before building a composer, through `MailComposeScreen::canSendMail`.
// The sending itself belongs to the `MailService` back end.

#include "platform/ui/screen.h"

#include <string>
#include <vector>

namespace cw {

struct MailMessage {
    std::string subject;
    std::string body;
    bool body_is_html { false };
    std::vector<std::string> to_recipients;
    bool operator==(MailMessage const&) const = default;
};

class MailService {
public:
    virtual ~MailService() = default;
    virtual bool can_send_mail() const = 0;
    // Hands the message to the device's outbox. Answers false when it was
    // refused.
    virtual bool send(MailMessage const&) = 0;
};

enum class MailComposeResult { Cancelled = 0, Saved = 1, Sent = 2, Failed = 3 };

class MailComposeScreen;

class MailComposeDelegate {
public:
    virtual ~MailComposeDelegate() = default;
    virtual void mailComposeControllerDidFinishWithResultError(MailComposeScreen&, MailComposeResult, std::string const& error) = 0;
};

class MailComposeScreen final : public Screen {
public:
    explicit MailComposeScreen(AppContext&);

    // False when no mail service is installed or it cannot send.
    static bool canSendMail(AppContext&);

    void setMailComposeDelegate(MailComposeDelegate* delegate) { m_delegate = delegate; }
    MailComposeDelegate* mailComposeDelegate() const { return m_delegate; }
    void setSubject(std::string subject) { m_message.subject = std::move(subject); }
    void setMessageBodyIsHTML(std::string body, bool is_html);
    void setToRecipients(std::vector<std::string> recipients) { m_message.to_recipients = std::move(recipients); }
    MailMessage const& message() const { return m_message; }

    // The presenter's side.
    void user_send();
    void user_cancel();

    char const* class_name() const override { return "MailComposeScreen"; }
    void loadView() override;
    void describe(Record&) const override;

private:
    void finish(MailComposeResult, std::string const& error);

    MailMessage m_message;
    MailComposeDelegate* m_delegate { nullptr };
    bool m_finished { false };
};

}
