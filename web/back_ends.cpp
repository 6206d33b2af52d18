#include "back_ends.h"

#include "platform/linux/document_reading.h"
#include "platform/sim/sim_platform.h"
#include "platform/ui/app_context.h"

namespace cw::web {

void PageServices::connect(OpenInPage target)
{
    urls->set_target(target);
    share->set_target(target);
    mail->set_target(std::move(target));
}

void install_linux_services(AppContext& context, sim::SimPlatform& stand_ins, PageServices& page)
{
    // Every service the simulated platform knows, until a real one exists.
    stand_ins.install(context);
    context.services.provide<UrlOpener>(page.urls);
    context.services.provide<MailService>(page.mail);
    context.services.provide<ShareService>(page.share);
    page.text_layout = std::make_shared<MeasuredTextLayout>(stand_ins.text_layout);
    context.services.provide<TextLayout>(std::shared_ptr<TextLayout>(page.text_layout));
    context.services.provide<TextExtraction>(std::make_shared<ThreadedTextExtraction>());
}

}
