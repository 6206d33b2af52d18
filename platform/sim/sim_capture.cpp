#include "sim_capture.h"

#include "platform/foundation/paths.h"
#include "platform/sim/test_movie.h"

#include <algorithm>
#include <cmath>

namespace cw::sim {

// Error codes in the platform's numbering.
static constexpr int error_maximum_duration_reached = -11810;
static constexpr int error_disk_full = -11807;
static constexpr int error_session_not_running = -11803;
static constexpr int error_file_already_exists = -11823;
static constexpr int error_device_not_authorized = -11852;

// ---- session

SimCaptureSession::~SimCaptureSession()
{
    for (auto& output : m_outputs)
        if (auto* sim = dynamic_cast<SimMovieFileOutput*>(output.get())) {
            sim->stop_recording();
            sim->attach(nullptr);
        }
}

void SimCaptureSession::stop_running()
{
    m_running = false;
    for (auto& output : m_outputs)
        output->stop_recording();
}

bool SimCaptureSession::can_set_session_preset(std::string const& preset) const
{
    if (preset == session_preset::vga_640x480)
        return m_service.supports_640x480;
    return preset == session_preset::medium || preset == session_preset::high;
}

bool SimCaptureSession::can_add_input(CaptureDeviceInput const& input) const
{
    // One input per media type.
    return std::none_of(m_inputs.begin(), m_inputs.end(), [&](auto const& existing) {
        return existing.get() == &input || existing->device->media_type == input.device->media_type;
    });
}

void SimCaptureSession::add_input(CaptureDeviceInputRef input)
{
    if (!input || !can_add_input(*input))
        return;
    m_inputs.push_back(std::move(input));
    inputs_changed();
}

void SimCaptureSession::remove_input(CaptureDeviceInput const& input)
{
    std::erase_if(m_inputs, [&](auto const& existing) { return existing.get() == &input; });
    inputs_changed();
}

bool SimCaptureSession::can_add_output(CaptureMovieFileOutput const& output) const
{
    return std::none_of(m_outputs.begin(), m_outputs.end(), [&](auto const& existing) { return existing.get() == &output; });
}

void SimCaptureSession::add_output(CaptureMovieFileOutputRef output)
{
    if (!output || !can_add_output(*output))
        return;
    if (auto* sim = dynamic_cast<SimMovieFileOutput*>(output.get()))
        sim->attach(this);
    m_outputs.push_back(std::move(output));
}

void SimCaptureSession::commit_configuration()
{
    if (m_configuration_depth > 0)
        --m_configuration_depth;
    ++m_commits;
}

void SimCaptureSession::inputs_changed()
{
    for (auto& output : m_outputs)
        if (auto* sim = dynamic_cast<SimMovieFileOutput*>(output.get()))
            sim->inputs_changed();
}

bool SimCaptureSession::has_video_input() const
{
    return std::any_of(m_inputs.begin(), m_inputs.end(), [](auto const& input) { return input->device->media_type == CaptureMediaType::Video; });
}

CaptureDevicePosition SimCaptureSession::camera_position() const
{
    for (auto const& input : m_inputs)
        if (input->device->media_type == CaptureMediaType::Video)
            return input->device->position;
    return CaptureDevicePosition::Unspecified;
}

// ---- connection

void SimCaptureConnection::reset()
{
    m_orientation = CaptureVideoOrientation::LandscapeRight;
    m_min = MediaTime::make(1, 30);
    m_max = MediaTime::make(1, 30);
}

int SimCaptureConnection::frames_per_second() const
{
    // The longest frame duration decides the slowest rate the camera keeps.
    double seconds = std::max(m_min.seconds(), m_max.seconds());
    return seconds > 0 ? static_cast<int>(std::lround(1.0 / seconds)) : 30;
}

// ---- movie-file output

CaptureConnection* SimMovieFileOutput::connection_with_media_type(CaptureMediaType type)
{
    if (type != CaptureMediaType::Video || !m_session || !m_session->has_video_input())
        return nullptr;
    return &m_connection;
}

void SimMovieFileOutput::inputs_changed()
{
    m_connection.reset();
}

void SimMovieFileOutput::start_recording_to_output_file_url(std::string const& url, CaptureFileOutputRecordingDelegate& delegate, std::weak_ptr<void> delegate_alive)
{
    if (m_recording)
        return;
    ++m_started;
    auto* loop = m_service.loop();
    bool has_camera = m_session && m_session->has_video_input();
    m_recording = Recording { url, &delegate, std::move(delegate_alive), loop ? loop->now() : 0.0,
        has_camera ? m_connection.frames_per_second() : 0,
        m_session ? m_session->camera_position() : CaptureDevicePosition::Unspecified, {} };

    if (!m_session || !m_session->is_running())
        return finish(CaptureError { error_session_not_running, "Cannot Record", false });
    if (files::exists(url))
        return finish(CaptureError { error_file_already_exists, "Cannot Record: the file already exists", false });

    // The take ends by itself at whichever limit comes first.
    double until = m_max_duration.valid() ? m_max_duration.seconds() : INFINITY;
    bool disk_first = false;
    if (auto free = m_service.free_disk_space) {
        double disk_seconds = static_cast<double>(std::max<std::int64_t>(0, *free - m_min_free)) / SimCaptureService::bytes_per_second;
        if (disk_seconds < until) {
            until = disk_seconds;
            disk_first = true;
        }
    }
    if (!std::isfinite(until) || !loop)
        return;
    auto error = disk_first ? CaptureError { error_disk_full, "Not enough disk space", true }
                            : CaptureError { error_maximum_duration_reached, "Recording Stopped", true };
    if (until <= 0)
        return finish(error);
    m_recording->limit = loop->schedule_timer(until, false, LoopMode::Common, [this, error] { finish(error); });
}

void SimMovieFileOutput::stop_recording()
{
    if (m_recording)
        finish(std::nullopt);
}

void SimMovieFileOutput::finish(std::optional<CaptureError> error)
{
    auto recording = std::move(*m_recording);
    m_recording.reset();
    bool written = !error || error->recording_successfully_finished.value_or(true);
    if (written) {
        auto* loop = m_service.loop();
        double elapsed = (loop ? loop->now() : 0.0) - recording.started_at;
        if (m_max_duration.valid())
            elapsed = std::min(elapsed, m_max_duration.seconds());
        elapsed = std::max(0.0, elapsed);
        TestMovie movie;
        movie.duration = elapsed;
        movie.fps = recording.fps > 0 ? recording.fps : 30;
        movie.frames = recording.fps > 0 ? static_cast<long>(std::floor(elapsed * recording.fps + 1e-9)) : 0;
        movie.camera = recording.camera == CaptureDevicePosition::Front ? "front"
            : recording.camera == CaptureDevicePosition::Back           ? "back"
                                                                        : "none";
        files::write(recording.url, encode_test_movie(movie));
        if (auto& free = m_service.free_disk_space)
            *free -= static_cast<std::int64_t>(elapsed * SimCaptureService::bytes_per_second);
    }
    deliver(recording.url, recording.delegate, recording.alive, std::move(error));
}

void SimMovieFileOutput::deliver(std::string url, CaptureFileOutputRecordingDelegate* delegate, std::weak_ptr<void> alive, std::optional<CaptureError> error)
{
    m_service.queue().post([self = shared_from_this(), url = std::move(url), delegate, alive = std::move(alive), error = std::move(error)] {
        if (alive.lock())
            delegate->captureOutputDidFinishRecordingToOutputFileAtURLFromConnectionsError(*self, url, error);
    });
}

// ---- service

void SimCaptureService::set_cameras(SimCameras cameras)
{
    m_cameras = cameras;
    m_video_devices.clear();
    // The platform lists the back camera first.
    if (cameras != SimCameras::None)
        m_video_devices.push_back(std::make_shared<CaptureDevice const>(CaptureDevice { "sim-camera-back", "Back Camera", CaptureMediaType::Video, CaptureDevicePosition::Back }));
    if (cameras == SimCameras::FrontAndBack)
        m_video_devices.push_back(std::make_shared<CaptureDevice const>(CaptureDevice { "sim-camera-front", "Front Camera", CaptureMediaType::Video, CaptureDevicePosition::Front }));
    if (!m_microphone)
        m_microphone = std::make_shared<CaptureDevice const>(CaptureDevice { "sim-microphone", "Microphone", CaptureMediaType::Audio, CaptureDevicePosition::Unspecified });
}

std::unique_ptr<CaptureSession> SimCaptureService::make_session()
{
    ++m_sessions_made;
    return std::make_unique<SimCaptureSession>(*this);
}

std::vector<CaptureDeviceRef> SimCaptureService::devices_with_media_type(CaptureMediaType type) const
{
    if (type == CaptureMediaType::Video)
        return m_video_devices;
    if (has_microphone)
        return { m_microphone };
    return {};
}

CaptureDeviceRef SimCaptureService::default_device_with_media_type(CaptureMediaType type) const
{
    auto devices = devices_with_media_type(type);
    return devices.empty() ? nullptr : devices.front();
}

CaptureDeviceInputRef SimCaptureService::device_input_with_device(CaptureDeviceRef const& device, std::optional<CaptureError>& error)
{
    error.reset();
    if (!device) {
        error = CaptureError { -11814, "Cannot Record: no device", std::nullopt };
        return nullptr;
    }
    if (device->media_type == CaptureMediaType::Video && !camera_access_granted) {
        error = CaptureError { error_device_not_authorized, "Cannot use the camera: access was refused", std::nullopt };
        return nullptr;
    }
    return std::make_shared<CaptureDeviceInput>(CaptureDeviceInput { device });
}

CaptureMovieFileOutputRef SimCaptureService::make_movie_file_output()
{
    auto output = std::make_shared<SimMovieFileOutput>(*this);
    m_outputs.push_back(output);
    return output;
}

}
