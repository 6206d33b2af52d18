#include "VideoManager.h"

#include "platform/foundation/format.h"
#include "platform/foundation/paths.h"
#include "platform/services/media.h"
#include "platform/ui/app_context.h"

namespace cw {

std::vector<std::string> VideoManager::getSavedVideoURLs(AppContext& context)
{
    std::vector<std::string> urls;
    auto folder = context.paths.saved_videos();
    std::string error;
    auto names = files::list(folder, &error);
    if (!names) {
        context.log.line(format("Error getting video files: %@", { error }));
        return urls;
    }
    for (auto const& name : *names)
        urls.push_back(folder + "/" + name);
    return urls;
}

std::optional<Image> VideoManager::generatePreviewImageForVideoAtURL(AppContext& context, std::string const& url)
{
    auto& media = context.services.get<MediaService>();
    auto asset = media.asset_with_url(url);
    auto generator = media.image_generator_with_asset(asset);
    auto time = MediaTime::with_seconds(preview_seconds, 1);
    if (asset->duration() < time)
        return Image::named(placeholder_image);

    std::string error;
    auto frame = generator->copy_image_at_time(time, nullptr, error);
    if (!frame) {
        context.log.line(format("Error generating preview image: %@", { error }));
        return std::nullopt;
    }
    // Drawn at its own size into a fresh context: the copy keeps the
    // frame's size and content.
    return Image { frame->size, frame->fill, frame->resource };
}

}
