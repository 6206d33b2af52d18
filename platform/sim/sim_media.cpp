#include "sim_media.h"

#include "platform/foundation/format.h"
#include "platform/foundation/paths.h"
#include "platform/sim/test_movie.h"

#include <cmath>
#include <filesystem>
#include <optional>

namespace cw::sim {

namespace {

class SimAsset final : public MediaAsset {
public:
    SimAsset(std::string url, std::optional<TestMovie> movie)
        : url(std::move(url))
        , movie(std::move(movie))
    {
    }
    MediaTime duration() const override
    {
        return movie ? MediaTime::with_seconds(movie->duration, 600) : MediaTime::invalid();
    }
    std::string url;
    std::optional<TestMovie> movie;
};

class SimImageGenerator final : public AssetImageGenerator {
public:
    SimImageGenerator(std::shared_ptr<SimAsset> asset, int& decoded)
        : m_asset(std::move(asset))
        , m_decoded(decoded)
    {
    }

    std::optional<Image> copy_image_at_time(MediaTime time, MediaTime* actual, std::string& error) override
    {
        auto const& movie = m_asset->movie;
        if (!movie) {
            error = "Cannot Open: the file is not a movie";
            return std::nullopt;
        }
        if (!time.valid() || time.seconds() > movie->duration || movie->frames == 0) {
            error = "Cannot Decode: no frame at that time";
            return std::nullopt;
        }
        auto frame = std::min<long>(movie->frames - 1, static_cast<long>(std::floor(time.seconds() * movie->fps + 1e-9)));
        if (actual)
            *actual = MediaTime::make(frame, movie->fps);
        ++m_decoded;
        auto name = std::filesystem::path(m_asset->url).filename().string();
        return Image::named(format("frame:%@#%@", { name, std::to_string(frame) }), test_movie_frame_size);
    }

private:
    std::shared_ptr<SimAsset> m_asset;
    int& m_decoded;
};

}

std::shared_ptr<MediaAsset> SimMediaService::asset_with_url(std::string const& file_url)
{
    std::optional<TestMovie> movie;
    if (auto bytes = files::read(file_url))
        movie = decode_test_movie(*bytes);
    return std::make_shared<SimAsset>(file_url, std::move(movie));
}

std::unique_ptr<AssetImageGenerator> SimMediaService::image_generator_with_asset(std::shared_ptr<MediaAsset> asset)
{
    auto sim = std::dynamic_pointer_cast<SimAsset>(asset);
    if (!sim)
        sim = std::make_shared<SimAsset>(std::string {}, std::nullopt);
    return std::make_unique<SimImageGenerator>(std::move(sim), m_frames_decoded);
}

void SimPhotoLibrary::perform_changes_creating_video_asset_from_file_url(std::string const& file_url, std::function<void(bool, std::string const&)> completion)
{
    m_queue.post([this, file_url, completion = std::move(completion)] {
        if (!grants)
            return completion(false, "Access to the photo library was refused.");
        auto content = files::read(file_url);
        if (!content)
            return completion(false, format("The file %@ could not be read.", { file_url }));
        m_assets.push_back(*content);
        completion(true, {});
    });
}

std::vector<std::string> SimShareService::activity_types_for(std::vector<std::string> const&) const
{
    return { activity_type::airdrop, activity_type::message, activity_type::mail, activity_type::assign_to_contact, activity_type::save_to_files };
}

}
