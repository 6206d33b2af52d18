#include "sim_platform.h"

#include "platform/services/cloud_storage.h"
#include "platform/ui/app_context.h"

namespace cw::sim {

void SimPlatform::install(AppContext& context)
{
    context.services.provide<WatchSession>(watch);
    context.services.provide<CloudStorageClient>(std::make_shared<RedirectCloudStorageClient>());
}

}
