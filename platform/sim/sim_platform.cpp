#include "sim_platform.h"

#include "platform/services/cloud_storage.h"
#include "platform/services/shared_instances.h"
#include "platform/ui/app_context.h"

namespace cw::sim {

void SimPlatform::install(AppContext& context)
{
    context.services.provide<WatchSession>(watch);
    context.services.provide<CloudStorageClient>(std::make_shared<RedirectCloudStorageClient>());
    context.services.provide<TextLayout>(text_layout);
    context.services.provide<ReviewPrompt>(review_prompt);
    peers->use_clock(context.loop);
    context.services.provide<PeerConnectivity>(peers);
    capture->use_clock(context.loop);
    context.services.provide<CaptureService>(capture);
    context.services.provide<MediaService>(media);
    context.services.provide<PlayerService>(player);
    context.services.provide<PhotoLibrary>(photos);
    context.services.provide<ShareService>(share);
    context.services.provide<SharedInstances>(std::make_shared<SharedInstances>());
    context.services.provide<PermissionAuthority>(permissions);
    context.services.provide<MailService>(mail);
    context.services.provide<UrlOpener>(urls);
    audio->use_clock(context.loop);
    context.services.provide<AudioService>(audio);
    context.services.provide<TextExtraction>(documents);
}

}
