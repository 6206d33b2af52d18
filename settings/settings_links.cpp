// The application-wide links both settings screens carry: this
// application's page in the platform settings, the support mail, the
// review prompt, the web pages, and the settings screen itself.

#include "script_settings.h"
#include "settings_layout_helpers.h"

#include "app/product_info.h"
#include "platform/foundation/format.h"
#include "platform/services/review_prompt.h"
#include "platform/services/url_opener.h"
#include "platform/ui/alert_controller.h"
#include "platform/ui/app_context.h"

namespace cw {

static constexpr char support_subject[] = "Cuewright Support";
static constexpr char support_body[] = "I need help with Cuewright";
static constexpr char no_mail_title[] = "Cannot Send Mail";
static constexpr char no_mail_message[] = "Mail is not set up on this device. You can write to us at %@.";

void ScriptSettings::add_links(View& parent, Rect frame, bool with_more_settings)
{
    using settings_layout::margin;
    using settings_layout::row_height;
    auto& scroll = parent.add_subview(std::make_unique<ScrollView>(frame));
    scroll.name = "myScrollView";
    myScrollView = &scroll;
    struct Link {
        char const* name;
        char const* title;
        std::function<void()> action;
    };
    std::vector<Link> links {
        { "permissionsButton", "Manage Permissions", [this] { managePermissions(); } },
        { "supportButton", "Get Support", [this] { getSupport(); } },
        { "reviewButton", "Rate Cuewright", [this] { ReviewonAppStore(); } },
        { "privacyButton", "Privacy Policy", [this] { privacyPolicy(); } },
        { "termsButton", "Terms of Use", [this] { Terms(); } },
    };
    if (with_more_settings)
        links.push_back({ "newSettingsButton", "More Settings", [this] { SHOWNEWSETTINGS(); } });
    double y = 0;
    for (auto const& link : links) {
        settings_layout::add_link(scroll, link.name, link.title, { { margin, y }, { frame.size.width - 2 * margin, row_height } }).on_tap = link.action;
        y += row_height;
    }
}

void ScriptSettings::describe_settings(Record& record) const
{
    record["scriptIndex"] = scriptIndex;
    record["isSelectingBGColor"] = isSelectingBGColor;
    if (colorToSave)
        record["colorToSave"] = to_value(*colorToSave);
    if (textcolorToSave)
        record["textcolorToSave"] = to_value(*textcolorToSave);
}

void ScriptSettings::managePermissions()
{
    m_screen.context().services.get<UrlOpener>().open_url(UrlOpener::application_settings_url);
}

// A device without a mail account cannot show the composer at all, so the
// presenter is told where to write instead.
void ScriptSettings::getSupport()
{
    auto& context = m_screen.context();
    if (!MailComposeScreen::canSendMail(context)) {
        context.log.line("Mail cannot be sent from this device");
        auto alert = std::make_unique<AlertController>(context, no_mail_title, format(no_mail_message, { std::string(product::support_email) }), AlertStyle::Alert);
        alert->add_action("Ok", AlertActionStyle::Default);
        m_screen.present(std::move(alert), true);
        return;
    }
    auto composer = std::make_unique<MailComposeScreen>(context);
    composer->setMailComposeDelegate(this);
    composer->setSubject(support_subject);
    composer->setMessageBodyIsHTML(support_body, false);
    composer->setToRecipients({ product::support_email });
    m_screen.present(std::move(composer), true);
}

// The composer does not close itself: whatever the outcome, it goes.
void ScriptSettings::mailComposeControllerDidFinishWithResultError(MailComposeScreen& composer, MailComposeResult, std::string const&)
{
    composer.dismiss(true);
}

void ScriptSettings::ReviewonAppStore()
{
    auto& context = m_screen.context();
    context.services.get<ReviewPrompt>().request_review();
    context.log.line("Review Requested");
}

void ScriptSettings::openSitePage(char const* page)
{
    m_screen.context().services.get<UrlOpener>().open_url(std::string(product::site_url) + page);
}

void ScriptSettings::privacyPolicy()
{
    m_screen.context().log.line("privacy");
    openSitePage("privacy.html");
}

void ScriptSettings::Terms()
{
    m_screen.context().log.line("terms");
    openSitePage("terms.html");
}

void ScriptSettings::SHOWNEWSETTINGS()
{
    auto& context = m_screen.context();
    m_screen.present(context.storyboard.instantiate(context, "NEWSET"), true);
}

}
