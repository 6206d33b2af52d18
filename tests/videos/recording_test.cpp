// Filming the presenter while a script runs: the pipeline built at load,
// recording runs, the finished takes and the camera toggle.

#include "videos_fixture.h"

#include <regex>

namespace cw::testing {
namespace {

using sim::SimCameras;

class Recording : public VideosTest {
protected:
    std::vector<std::string> lines_from(std::string const& first)
    {
        auto lines = device->log().lines();
        auto it = std::find(lines.begin(), lines.end(), first);
        return { it, lines.end() };
    }
    sim::SimMovieFileOutput& output() { return *platform().capture->outputs().back(); }
};

TEST_F(Recording, LoadBuildsThePipelineInOrder)
{
    launch();
    auto& prompter = open_prompter();
    auto lines = lines_from("Setting up capture session");
    std::vector<std::string> expected {
        "Setting up capture session",
        "Adding video input",
        "Adding audio input",
        "Adding video preview layer",
        "Adding movie file output",
        "Video frame durations: min 1/30, max 1/30",
        "Video frame durations: min 1/20, max 1/20",
        "Setting image quality",
    };
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(expected.size())), expected);

    auto const& capture = prompter.capture();
    auto inputs = capture.session->inputs();
    ASSERT_EQ(inputs.size(), 2u);
    EXPECT_EQ(inputs[0]->device->position, CaptureDevicePosition::Front) << "the front camera, though the back one is listed first";
    EXPECT_EQ(inputs[1]->device->media_type, CaptureMediaType::Audio);
    EXPECT_EQ(capture.session->session_preset(), session_preset::vga_640x480);
    EXPECT_FALSE(capture.session->is_running());
    EXPECT_EQ(capture.preview_layer->orientation, CaptureVideoOrientation::Portrait);
    EXPECT_EQ(capture.preview_layer->video_gravity, LayerVideoGravity::ResizeAspectFill);
    EXPECT_EQ(capture.movie_output->max_recorded_duration(), MediaTime::make(1800, 30));
    EXPECT_EQ(capture.movie_output->min_free_disk_space_limit(), 1'048'576);
    auto* connection = capture.movie_output->connection_with_media_type(CaptureMediaType::Video);
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->video_orientation(), CaptureVideoOrientation::Portrait);
}

TEST_F(Recording, MissingOrRefusedCamerasLeaveAnAudioOnlyPipeline)
{
    struct Case {
        char const* name;
        SimCameras cameras;
        bool access;
        char const* line;
    };
    for (auto const& c : std::vector<Case> {
             { "back camera only", SimCameras::BackOnly, true, "Couldn't create video capture device" },
             { "no camera", SimCameras::None, true, "Couldn't create video capture device" },
             { "camera access refused", SimCameras::FrontAndBack, false, "Couldn't create video input" },
         }) {
        SCOPED_TRACE(c.name);
        launch();
        platform().capture->set_cameras(c.cameras);
        platform().capture->camera_access_granted = c.access;
        auto& prompter = open_prompter();
        auto lines = lines_from("Adding video input");
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[1], c.line);
        EXPECT_EQ(lines[2], "Adding audio input");
        auto inputs = prompter.capture().session->inputs();
        ASSERT_EQ(inputs.size(), 1u);
        EXPECT_EQ(inputs[0]->device->media_type, CaptureMediaType::Audio);
        EXPECT_FALSE(logged("Video frame durations: min 1/30, max 1/30")) << "no camera, no video connection";

        // Recording still works with the microphone alone.
        run_for(3);
        EXPECT_EQ(saved().size(), 1u);
        device.reset();
        std::filesystem::remove_all(std::filesystem::path(folder()));
    }
}

TEST_F(Recording, ThePresetFallsBackToMediumWhere640x480IsNotOffered)
{
    launch();
    platform().capture->supports_640x480 = false;
    EXPECT_EQ(open_prompter().capture().session->session_preset(), session_preset::medium);
}

TEST_F(Recording, ARunShowsThePreviewAndKeepsAGoodTake)
{
    launch();
    auto& prompter = open_prompter();
    ASSERT_FALSE(files::exists(folder()));
    ASSERT_TRUE(device->tap("startButton"));

    auto size = prompter.view().frame.size;
    auto const& layer = *prompter.capture().preview_layer;
    EXPECT_EQ(layer.bounds, (Rect { { size.width - 100, size.height - 200 }, { 100, 160 } }));
    EXPECT_EQ(layer.position, (Point { size.width - 50, size.height - 120 }));
    ASSERT_NE(prompter.capture().camera_view, nullptr);
    EXPECT_EQ(layer.host, prompter.capture().camera_view);
    EXPECT_EQ(prompter.view().subviews().front().get(), prompter.capture().camera_view) << "behind the text";
    EXPECT_TRUE(prompter.capture_session()->is_running());
    EXPECT_EQ(prompter.ScriptTextView->alpha, 0.5);
    auto lines = lines_from("Display the preview layer");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "START RECORDING"), lines.end());

    loop.advance(12.5);
    ASSERT_TRUE(device->tap("stopButton"));
    EXPECT_EQ(layer.host, nullptr);
    EXPECT_TRUE(prompter.capture_session()->is_running()) << "the camera stays on after the first recording";
    device->settle();

    EXPECT_TRUE(logged("didFinishRecordingToOutputFileAtURL - enter"));
    EXPECT_TRUE(logged("didFinishRecordingToOutputFileAtURL - success"));
    EXPECT_EQ(prompter.ScriptTextView->alpha, 1.0);
    auto names = saved();
    ASSERT_EQ(names.size(), 1u) << "the folder is made by the first good take";
    EXPECT_TRUE(std::regex_match(names[0], std::regex("video_[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\.mov")));
    auto movie = read_movie(folder() + "/" + names[0]);
    EXPECT_DOUBLE_EQ(movie.duration, 12.5);
    EXPECT_EQ(movie.fps, 20);
    EXPECT_EQ(movie.frames, 250);
    EXPECT_EQ(movie.camera, "front");
    EXPECT_TRUE(files::exists(temporary_take())) << "the temporary take stays until the next start";
}

TEST_F(Recording, TwoRunsInARowMakeTwoFiles)
{
    launch();
    auto& prompter = open_prompter();
    run_for(3);
    run_for(4);
    auto names = saved();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_NE(names[0], names[1]);
    std::vector<double> durations { read_movie(folder() + "/" + names[0]).duration, read_movie(folder() + "/" + names[1]).duration };
    std::sort(durations.begin(), durations.end());
    EXPECT_EQ(durations, (std::vector<double> { 3, 4 }));
    EXPECT_EQ(output().recordings_started(), 2);
    auto lines = device->log().lines();
    EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](auto const& line) { return line.starts_with("Error removing previous output file"); }));
    EXPECT_EQ(std::count_if(prompter.view().subviews().begin(), prompter.view().subviews().end(), [](auto const& view) { return view->name == "CameraView"; }), 2)
        << "each start adds a container; the earlier one stays, empty";
}

TEST_F(Recording, LimitsEndTheTakeButNotThePrompting)
{
    struct Case {
        char const* name;
        std::optional<std::int64_t> free_disk;
        double expected_seconds;
    };
    // 250,000 bytes a second: 10 s of room above the 1 MiB limit.
    auto ten_seconds = 1'048'576 + 10 * sim::SimCaptureService::bytes_per_second;
    for (auto const& c : std::vector<Case> {
             { "a 75-second run keeps 60 seconds", std::nullopt, 60 },
             { "low disk space ends it early", ten_seconds, 10 },
         }) {
        SCOPED_TRACE(c.name);
        launch({ ScriptSeed { .text = long_text(), .recording = true } });
        platform().capture->free_disk_space = c.free_disk;
        auto& prompter = open_prompter();
        ASSERT_TRUE(device->tap("startButton"));
        loop.advance(c.expected_seconds + 1);
        device->settle();
        EXPECT_FALSE(output().is_recording());
        EXPECT_EQ(prompter.ScriptTextView->alpha, 1.0) << "the kept take lifts the dimming at once";
        EXPECT_TRUE(prompter.engine().has_tick_source()) << "prompting goes on";
        loop.advance(75 - c.expected_seconds - 1);
        ASSERT_TRUE(device->tap("stopButton"));
        device->settle();
        auto names = saved();
        ASSERT_EQ(names.size(), 1u);
        EXPECT_DOUBLE_EQ(read_movie(folder() + "/" + names[0]).duration, c.expected_seconds);
        device.reset();
        std::filesystem::remove_all(std::filesystem::path(folder()));
    }
}

TEST_F(Recording, OnlyATakeFlaggedUnfinishedIsDropped)
{
    struct Case {
        char const* name;
        std::optional<CaptureError> error;
        bool kept;
    };
    for (auto const& c : std::vector<Case> {
             { "no error", std::nullopt, true },
             { "error code 0", CaptureError { 0, "", false }, true },
             { "finished at a limit", CaptureError { -11810, "Recording Stopped", true }, true },
             { "error without the flag", CaptureError { -11800, "Unknown", std::nullopt }, true },
             { "not finished", CaptureError { -11800, "Interrupted", false }, false },
         }) {
        SCOPED_TRACE(c.name);
        launch();
        auto& prompter = open_prompter();
        auto take = temporary_take();
        files::write(take, sim::encode_test_movie({ 5, 100, 20, "front" }));
        prompter.ScriptTextView->alpha = 0.5;
        prompter.captureOutputDidFinishRecordingToOutputFileAtURLFromConnectionsError(output(), take, c.error);
        device->settle();
        EXPECT_EQ(saved().size(), c.kept ? 1u : 0u);
        EXPECT_EQ(logged("didFinishRecordingToOutputFileAtURL - success"), c.kept);
        EXPECT_EQ(prompter.ScriptTextView->alpha, c.kept ? 1.0 : 0.5);
        EXPECT_TRUE(files::exists(take));
        device.reset();
        std::filesystem::remove_all(std::filesystem::path(folder()));
    }
}

TEST_F(Recording, AFailedCopyIsOnlyLogged)
{
    launch();
    auto& prompter = open_prompter();
    prompter.captureOutputDidFinishRecordingToOutputFileAtURLFromConnectionsError(output(), temporary_take() + ".missing", std::nullopt);
    device->settle();
    auto lines = device->log().lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](auto const& line) { return line.starts_with("Error copying video to app directory: "); }));
    EXPECT_TRUE(saved().empty());
}

TEST_F(Recording, TheCameraToggleAlternatesOnlyWithTwoCameras)
{
    launch();
    platform().capture->set_cameras(SimCameras::BackOnly);
    auto& single = open_prompter();
    single.CameraToggleButtonPressed();
    EXPECT_FALSE(logged("Toggle camera"));
    device.reset();

    launch();
    auto& prompter = open_prompter();
    auto* session = dynamic_cast<sim::SimCaptureSession*>(prompter.capture_session());
    ASSERT_NE(session, nullptr);
    for (auto expected : { CaptureDevicePosition::Back, CaptureDevicePosition::Front, CaptureDevicePosition::Back }) {
        prompter.CameraToggleButtonPressed();
        EXPECT_EQ(prompter.capture().video_input->device->position, expected);
        EXPECT_EQ(session->camera_position(), expected);
        auto* connection = prompter.capture().movie_output->connection_with_media_type(CaptureMediaType::Video);
        ASSERT_NE(connection, nullptr);
        EXPECT_EQ(connection->video_min_frame_duration(), MediaTime::make(1, 20)) << "still 20 frames per second";
        EXPECT_EQ(connection->video_max_frame_duration(), MediaTime::make(1, 20));
    }
    EXPECT_EQ(session->configurations_committed(), 3);
    run_for(2);
    ASSERT_EQ(saved().size(), 1u);
    EXPECT_EQ(read_movie(folder() + "/" + saved()[0]).camera, "back");
}

TEST_F(Recording, AScriptWithoutRecordingAfterARecordingOne)
{
    launch({ ScriptSeed { .title = "Filmed", .recording = true }, ScriptSeed { .title = "Plain" } });
    open_prompter(0);
    run_for(2);
    device->app().navigation()->pop(false);
    device->settle();
    auto& plain = open_prompter(1);
    ASSERT_TRUE(device->tap("startButton"));
    EXPECT_EQ(plain.ScriptTextView->alpha, 1.0);
    EXPECT_FALSE(plain.capture_session()->is_running());
    EXPECT_EQ(plain.capture().camera_view, nullptr);
}

TEST_F(Recording, LeavingThePrompterTurnsTheCameraOff)
{
    launch({ ScriptSeed { .text = long_text(), .recording = true } });
    open_prompter();
    ASSERT_TRUE(device->tap("startButton"));
    auto& out = output();
    ASSERT_TRUE(out.is_recording());
    device->app().navigation()->pop(false);
    device->settle();
    EXPECT_FALSE(out.is_recording());
    EXPECT_EQ(platform().capture->sessions_made(), 1);
}

}
}
