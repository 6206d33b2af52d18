#include "mail.h"

#include "platform/ui/app_context.h"
#include "platform/ui/controls.h"

namespace cw {

MailComposeScreen::MailComposeScreen(AppContext& context)
    : Screen(context)
{
}

bool MailComposeScreen::canSendMail(AppContext& context)
{
    auto* service = context.services.find<MailService>();
    return service && service->can_send_mail();
}

void MailComposeScreen::setMessageBodyIsHTML(std::string body, bool is_html)
{
    m_message.body = std::move(body);
    m_message.body_is_html = is_html;
}

void MailComposeScreen::loadView()
{
    auto root = std::make_unique<View>(context().window.bounds());
    root->background = Color::white();
    auto add_button = [&](char const* name, char const* title, Rect frame, std::function<void()> action) {
        auto button = std::make_unique<Button>(frame);
        button->name = name;
        button->title = title;
        button->on_tap = std::move(action);
        root->add_subview(std::move(button));
    };
    add_button("cancelButton", "Cancel", { { 16, 20 }, { 80, 44 } }, [this] { user_cancel(); });
    add_button("sendButton", "Send", { { root->frame.size.width - 96, 20 }, { 80, 44 } }, [this] { user_send(); });
    set_view(std::move(root));
}

void MailComposeScreen::user_send()
{
    auto* service = context().services.find<MailService>();
    if (service && service->send(m_message))
        finish(MailComposeResult::Sent, {});
    else
        finish(MailComposeResult::Failed, "The message could not be sent.");
}

void MailComposeScreen::user_cancel()
{
    finish(MailComposeResult::Cancelled, {});
}

void MailComposeScreen::finish(MailComposeResult result, std::string const& error)
{
    if (m_finished)
        return;
    m_finished = true;
    if (m_delegate)
        m_delegate->mailComposeControllerDidFinishWithResultError(*this, result, error);
    else
        dismiss(true);
}

void MailComposeScreen::describe(Record& record) const
{
    record["subject"] = m_message.subject;
    record["body"] = m_message.body;
    record["isHTML"] = m_message.body_is_html;
    List to;
    for (auto const& recipient : m_message.to_recipients)
        to.push_back(recipient);
    record["to"] = std::move(to);
}

}
