#pragma once

// Reading recorded movies: an asset's duration, and its picture at a time.

#include "platform/services/media_time.h"
#include "platform/ui/image.h"

#include <memory>
#include <optional>
#include <string>

namespace cw {

class MediaAsset {
public:
    virtual ~MediaAsset() = default;
    // Invalid for a file that is not a readable movie.
    virtual MediaTime duration() const = 0;
};

class AssetImageGenerator {
public:
    virtual ~AssetImageGenerator() = default;
    // The frame at `time`, or none with `error` filled.
    virtual std::optional<Image> copy_image_at_time(MediaTime time, MediaTime* actual_time, std::string& error) = 0;
};

class MediaService {
public:
    virtual ~MediaService() = default;
    virtual std::shared_ptr<MediaAsset> asset_with_url(std::string const& file_url) = 0;
    virtual std::unique_ptr<AssetImageGenerator> image_generator_with_asset(std::shared_ptr<MediaAsset>) = 0;
};

}
