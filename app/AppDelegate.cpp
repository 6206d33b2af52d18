#include "AppDelegate.h"

#include "app/build_config.h"
#include "platform/services/cloud_storage.h"
#include "platform/ui/app_context.h"

namespace cw {

AppDelegate::AppDelegate(AppContext& context)
    : m_context(context)
{
}

bool AppDelegate::applicationDidFinishLaunchingWithOptions()
{
    auto& session = m_context.services.get<WatchSession>();
    if (session.is_supported()) {
        session.set_delegate(this);
        session.activate();
    }
    if (session.activation_state() == WatchActivationState::Activated)
        m_context.log.line("WatchConnectivity session is active.");
    else
        m_context.log.line("WatchConnectivity session is not active.");

    m_context.services.get<CloudStorageClient>().setup_with_app_key(build_config::cloud_app_key);
    return true;
}

bool AppDelegate::applicationOpenURLOptions(std::string const& url)
{
    auto result = m_context.services.get<CloudStorageClient>().handle_redirect_url(url);
    if (result) {
        if (result->isSuccess())
            m_context.log.line("Success! User is logged into Dropbox.");
        else if (result->isCancel())
            m_context.log.line("Authorization flow was manually canceled by user!");
        else if (result->isError())
            m_context.log.line("Error: " + result->description());
    }
    return false;
}

}
