#pragma once

// A deterministic capture platform. The test chooses the cameras
// (none, back only, front and back), whether a microphone exists, whether
// camera access is granted and how much disk space is free. The movie-file
// output counts recording time on the run loop's virtual clock, ends a take
// by itself at its maximum duration or when the free space would fall below
// its limit, writes a test movie (test_movie.h) at the output URL, and
// delivers the finish on the platform queue.

#include "platform/foundation/run_loop.h"
#include "platform/services/capture_session.h"
#include "platform/sim/platform_queue.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace cw::sim {

enum class SimCameras { None, BackOnly, FrontAndBack };

class SimCaptureService;

class SimCaptureSession final : public CaptureSession {
public:
    explicit SimCaptureSession(SimCaptureService& service)
        : m_service(service)
    {
    }
    ~SimCaptureSession() override;
    bool is_running() const override { return m_running; }
    void start_running() override { m_running = true; }
    void stop_running() override;

    bool can_set_session_preset(std::string const&) const override;
    void set_session_preset(std::string const& preset) override { m_preset = preset; }
    std::string session_preset() const override { return m_preset; }

    bool can_add_input(CaptureDeviceInput const&) const override;
    void add_input(CaptureDeviceInputRef) override;
    void remove_input(CaptureDeviceInput const&) override;
    std::vector<CaptureDeviceInputRef> inputs() const override { return m_inputs; }

    bool can_add_output(CaptureMovieFileOutput const&) const override;
    void add_output(CaptureMovieFileOutputRef) override;

    void begin_configuration() override { ++m_configuration_depth; }
    void commit_configuration() override;
    int configurations_committed() const { return m_commits; }
    bool has_video_input() const;
    CaptureDevicePosition camera_position() const;

private:
    void inputs_changed();

    SimCaptureService& m_service;
    bool m_running { false };
    std::string m_preset { session_preset::high };
    std::vector<CaptureDeviceInputRef> m_inputs;
    std::vector<CaptureMovieFileOutputRef> m_outputs;
    int m_configuration_depth { 0 };
    int m_commits { 0 };
};

class SimCaptureConnection final : public CaptureConnection {
public:
    bool orientation_supported { true };
    bool min_frame_duration_supported { true };
    bool max_frame_duration_supported { true };

    bool is_video_orientation_supported() const override { return orientation_supported; }
    CaptureVideoOrientation video_orientation() const override { return m_orientation; }
    void set_video_orientation(CaptureVideoOrientation value) override { m_orientation = value; }
    bool is_video_min_frame_duration_supported() const override { return min_frame_duration_supported; }
    MediaTime video_min_frame_duration() const override { return m_min; }
    void set_video_min_frame_duration(MediaTime value) override { m_min = value; }
    bool is_video_max_frame_duration_supported() const override { return max_frame_duration_supported; }
    MediaTime video_max_frame_duration() const override { return m_max; }
    void set_video_max_frame_duration(MediaTime value) override { m_max = value; }
    // A new camera gives a new connection with the platform's defaults.
    void reset();
    int frames_per_second() const;

private:
    CaptureVideoOrientation m_orientation { CaptureVideoOrientation::LandscapeRight };
    MediaTime m_min { MediaTime::make(1, 30) };
    MediaTime m_max { MediaTime::make(1, 30) };
};

class SimMovieFileOutput final : public CaptureMovieFileOutput
    , public std::enable_shared_from_this<SimMovieFileOutput> {
public:
    explicit SimMovieFileOutput(SimCaptureService& service)
        : m_service(service)
    {
    }

    void set_max_recorded_duration(MediaTime value) override { m_max_duration = value; }
    MediaTime max_recorded_duration() const override { return m_max_duration; }
    void set_min_free_disk_space_limit(std::int64_t bytes) override { m_min_free = bytes; }
    std::int64_t min_free_disk_space_limit() const override { return m_min_free; }
    CaptureConnection* connection_with_media_type(CaptureMediaType) override;
    void start_recording_to_output_file_url(std::string const& url, CaptureFileOutputRecordingDelegate&, std::weak_ptr<void> delegate_alive) override;
    void stop_recording() override;
    bool is_recording() const override { return m_recording.has_value(); }

    // The session this output was added to.
    void attach(SimCaptureSession* session) { m_session = session; }
    void inputs_changed();
    SimCaptureConnection& connection() { return m_connection; }
    int recordings_started() const { return m_started; }

private:
    struct Recording {
        std::string url;
        CaptureFileOutputRecordingDelegate* delegate;
        std::weak_ptr<void> alive;
        double started_at;
        int fps;
        CaptureDevicePosition camera;
        LoopHandle limit;
    };
    void finish(std::optional<CaptureError>);
    void deliver(std::string url, CaptureFileOutputRecordingDelegate*, std::weak_ptr<void>, std::optional<CaptureError>);

    SimCaptureService& m_service;
    SimCaptureSession* m_session { nullptr };
    SimCaptureConnection m_connection;
    MediaTime m_max_duration { MediaTime::invalid() };
    std::int64_t m_min_free { 0 };
    std::optional<Recording> m_recording;
    int m_started { 0 };
};

class SimCaptureService final : public CaptureService {
public:
    explicit SimCaptureService(PlatformQueue& queue)
        : m_queue(queue)
    {
        set_cameras(SimCameras::FrontAndBack);
    }

    // The test side.
    void use_clock(RunLoop& loop) { m_loop = &loop; }
    void set_cameras(SimCameras);
    SimCameras cameras() const { return m_cameras; }
    bool has_microphone { true };
    bool camera_access_granted { true };
    bool supports_640x480 { true };
    // Free disk space in bytes; none means plenty. A recording uses
    // `bytes_per_second` of it.
    std::optional<std::int64_t> free_disk_space;
    static constexpr std::int64_t bytes_per_second = 250'000;
    int sessions_made() const { return m_sessions_made; }
    std::vector<std::shared_ptr<SimMovieFileOutput>> const& outputs() const { return m_outputs; }

    std::unique_ptr<CaptureSession> make_session() override;
    std::vector<CaptureDeviceRef> devices_with_media_type(CaptureMediaType) const override;
    CaptureDeviceRef default_device_with_media_type(CaptureMediaType) const override;
    CaptureDeviceInputRef device_input_with_device(CaptureDeviceRef const&, std::optional<CaptureError>& error) override;
    CaptureMovieFileOutputRef make_movie_file_output() override;

    PlatformQueue& queue() { return m_queue; }
    RunLoop* loop() const { return m_loop; }

private:
    PlatformQueue& m_queue;
    RunLoop* m_loop { nullptr };
    SimCameras m_cameras { SimCameras::FrontAndBack };
    std::vector<CaptureDeviceRef> m_video_devices;
    CaptureDeviceRef m_microphone;
    std::vector<std::shared_ptr<SimMovieFileOutput>> m_outputs;
    int m_sessions_made { 0 };
};

}
