#pragma once

// A simulated device with scripts in its store and its data in a temporary
// folder, so that takes are real files. The cameras, the free disk space and
// the photo library's answer are set before a prompter or gallery opens.

#include "../prompter/prompter_fixture.h"
#include "platform/foundation/paths.h"
#include "platform/sim/test_movie.h"

#include <filesystem>
#include <random>

namespace cw::testing {

class VideosTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device random;
        m_root = std::filesystem::temp_directory_path() / ("cuewright-videos-" + std::to_string(random()));
        std::filesystem::create_directories(m_root);
    }
    void TearDown() override
    {
        device.reset();
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    void launch(std::vector<ScriptSeed> scripts = { ScriptSeed { .recording = true } }, SimDeviceOptions options = {})
    {
        options.store.merge(store_with(scripts));
        device = std::make_unique<SimDevice>(loop, std::move(options));
        device->context().paths = Paths { m_root.string() };
        device->context().paths.ensure_folders();
        device->launch();
    }

    scriptViewController& open_prompter(std::int64_t index = 0)
    {
        std::string error;
        auto* prompter = open_script(*device, index, error);
        if (!prompter)
            throw std::runtime_error(error);
        return *prompter;
    }

    // A start, `seconds` of virtual time, a stop, and the finish delivered.
    void run_for(double seconds)
    {
        ASSERT_TRUE(device->tap("startButton"));
        loop.advance(seconds);
        ASSERT_TRUE(device->tap("stopButton"));
        device->settle();
    }

    std::string folder() const { return Paths { m_root.string() }.saved_videos(); }
    std::string temporary_take() const { return Paths { m_root.string() }.temporary() + "/output.mov"; }
    std::vector<std::string> saved() const { return files::list(folder()).value_or(std::vector<std::string> {}); }
    sim::TestMovie read_movie(std::string const& path) const
    {
        auto bytes = files::read(path);
        auto movie = bytes ? sim::decode_test_movie(*bytes) : std::nullopt;
        EXPECT_TRUE(movie) << path;
        return movie.value_or(sim::TestMovie {});
    }
    // A take of `seconds` put straight into the folder.
    std::string plant_take(std::string const& name, double seconds)
    {
        files::create_directory(folder());
        auto path = folder() + "/" + name;
        files::write(path, sim::encode_test_movie({ seconds, static_cast<long>(seconds * 20), 20, "front" }));
        return path;
    }
    bool logged(std::string const& line) const { return device->log().contains(line); }
    sim::SimPlatform& platform() { return device->platform(); }

    RunLoop loop;
    std::unique_ptr<SimDevice> device;

private:
    std::filesystem::path m_root;
};

}
