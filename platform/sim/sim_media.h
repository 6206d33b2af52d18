#pragma once

// Media, player, photo library and share sheet of the simulated device.
// The media service reads the test movies the simulated capture writes
// (test_movie.h); a frame comes back as an image naming the file and the
// frame number, in the camera's native landscape size.

#include "platform/services/media.h"
#include "platform/services/photo_library.h"
#include "platform/services/player.h"
#include "platform/services/share_sheet.h"
#include "platform/sim/platform_queue.h"

#include <string>
#include <utility>
#include <vector>

namespace cw::sim {

inline constexpr Size test_movie_frame_size { 640, 480 };

class SimMediaService final : public MediaService {
public:
    std::shared_ptr<MediaAsset> asset_with_url(std::string const& file_url) override;
    std::unique_ptr<AssetImageGenerator> image_generator_with_asset(std::shared_ptr<MediaAsset>) override;
    // How many frames were decoded so far.
    int frames_decoded() const { return m_frames_decoded; }

private:
    int m_frames_decoded { 0 };
};

class SimPlayer final : public Player {
public:
    explicit SimPlayer(std::string url)
        : m_url(std::move(url))
    {
    }
    std::string const& url() const override { return m_url; }
    void play() override { m_playing = true; }
    bool is_playing() const override { return m_playing; }

private:
    std::string m_url;
    bool m_playing { false };
};

class SimPlayerService final : public PlayerService {
public:
    std::shared_ptr<Player> player_with_url(std::string const& file_url) override
    {
        auto player = std::make_shared<SimPlayer>(file_url);
        players.push_back(player);
        return player;
    }
    std::vector<std::shared_ptr<SimPlayer>> players;
};

// Grants or refuses as the test says; a granted change needs a readable
// file and keeps a copy of its content as the new asset.
class SimPhotoLibrary final : public PhotoLibrary {
public:
    explicit SimPhotoLibrary(PlatformQueue& queue)
        : m_queue(queue)
    {
    }
    bool grants { true };
    std::vector<std::string> const& video_assets() const { return m_assets; }

    void perform_changes_creating_video_asset_from_file_url(std::string const& file_url, std::function<void(bool, std::string const&)> completion) override;

private:
    PlatformQueue& m_queue;
    std::vector<std::string> m_assets;
};

class SimShareService final : public ShareService {
public:
    std::vector<std::string> activity_types_for(std::vector<std::string> const&) const override;
    void perform(std::string const& activity_type, std::vector<std::string> const& items) override
    {
        performed.emplace_back(activity_type, items);
    }
    std::vector<std::pair<std::string, std::vector<std::string>>> performed;
};

}
