// Filming the presenter while a script runs. The pipeline is built once at
// load, whether or not the script records; a recording run shows a small
// live preview behind the half-transparent text and writes the take to a
// temporary file, and each good take is copied into the saved-video folder.

#include "scriptViewController.h"

#include "platform/foundation/format.h"
#include "platform/foundation/paths.h"
#include "platform/ui/app_context.h"
#include "platform/ui/controls.h"
#include "platform/ui/text_view.h"
#include "platform/ui/view_stack.h"

namespace cw {

static constexpr char temporary_take_name[] = "output.mov";
static constexpr double maximum_take_seconds = 60.0;
static constexpr std::int32_t maximum_take_timescale = 30;
static constexpr std::int64_t minimum_free_disk_bytes = 1'048'576;
// 20 frames per second keeps takes small.
static constexpr MediaTime frame_duration = MediaTime::make(1, 20);
static constexpr Size preview_size { 100, 160 };
// The preview's bottom edge sits this far above the bottom of the view.
static constexpr double preview_lift = 40;

static std::string temporary_take_path(Paths const& paths)
{
    return format("%@%@", { paths.temporary() + "/", temporary_take_name });
}

void scriptViewController::setUpCapture()
{
    auto& log = context().log;
    auto& capture = context().services.get<CaptureService>();
    log.line("Setting up capture session");
    m_capture.session = capture.make_session();
    auto& session = *m_capture.session;

    log.line("Adding video input");
    if (auto camera = frontCamera(); !camera) {
        log.line("Couldn't create video capture device");
    } else {
        std::optional<CaptureError> error;
        m_capture.video_input = capture.device_input_with_device(camera, error);
        if (error || !m_capture.video_input)
            log.line("Couldn't create video input");
        else if (session.can_add_input(*m_capture.video_input))
            session.add_input(m_capture.video_input);
        else
            log.line("Couldn't add video input");
    }

    log.line("Adding audio input");
    std::optional<CaptureError> audio_error;
    if (auto audio = capture.device_input_with_device(capture.default_device_with_media_type(CaptureMediaType::Audio), audio_error))
        session.add_input(std::move(audio));

    log.line("Adding video preview layer");
    m_capture.preview_layer.emplace();
    m_capture.preview_layer->session = &session;
    m_capture.preview_layer->orientation = CaptureVideoOrientation::Portrait;
    m_capture.preview_layer->video_gravity = LayerVideoGravity::ResizeAspectFill;

    log.line("Adding movie file output");
    m_capture.movie_output = capture.make_movie_file_output();
    m_capture.movie_output->set_max_recorded_duration(MediaTime::with_seconds(maximum_take_seconds, maximum_take_timescale));
    m_capture.movie_output->set_min_free_disk_space_limit(minimum_free_disk_bytes);
    if (session.can_add_output(*m_capture.movie_output))
        session.add_output(m_capture.movie_output);

    CameraSetOutputProperties();

    log.line("Setting image quality");
    session.set_session_preset(session_preset::medium);
    if (session.can_set_session_preset(session_preset::vga_640x480))
        session.set_session_preset(session_preset::vga_640x480);
}

CaptureDeviceRef scriptViewController::frontCamera() const
{
    return CameraWithPosition(CaptureDevicePosition::Front);
}

CaptureDeviceRef scriptViewController::CameraWithPosition(CaptureDevicePosition position) const
{
    for (auto& device : context().services.get<CaptureService>().devices_with_media_type(CaptureMediaType::Video))
        if (device->position == position)
            return device;
    return nullptr;
}

static std::string describe_duration(MediaTime time)
{
    return format("%@/%@", { std::to_string(time.value), std::to_string(time.timescale) });
}

void scriptViewController::CameraSetOutputProperties()
{
    auto* connection = m_capture.movie_output ? m_capture.movie_output->connection_with_media_type(CaptureMediaType::Video) : nullptr;
    // Without a camera there is no video connection to set.
    if (!connection)
        return;
    if (connection->is_video_orientation_supported())
        connection->set_video_orientation(CaptureVideoOrientation::Portrait);
    auto log_durations = [&] {
        context().log.line(format("Video frame durations: min %@, max %@",
            { describe_duration(connection->video_min_frame_duration()), describe_duration(connection->video_max_frame_duration()) }));
    };
    log_durations();
    if (connection->is_video_min_frame_duration_supported())
        connection->set_video_min_frame_duration(frame_duration);
    if (connection->is_video_max_frame_duration_supported())
        connection->set_video_max_frame_duration(frame_duration);
    log_durations();
}

void scriptViewController::startRecording()
{
    auto& log = context().log;
    log.line("Display the preview layer");
    // The text is see-through while recording so the preview shows behind it.
    ScriptTextView->alpha = 0.5;

    auto size = view().frame.size;
    auto& layer = *m_capture.preview_layer;
    layer.bounds = Rect { { size.width - preview_size.width, size.height - preview_lift - preview_size.height }, preview_size };
    layer.position = Point { size.width - preview_size.width / 2, size.height - preview_lift - preview_size.height / 2 };

    auto& camera_view = view().add_subview(std::make_unique<View>());
    camera_view.name = "CameraView";
    send_subview_to_back(camera_view);
    layer.add_to(camera_view);
    m_capture.camera_view = &camera_view;

    if (!m_capture.session->is_running())
        m_capture.session->start_running();

    log.line("START RECORDING");
    auto path = temporary_take_path(context().paths);
    std::string error;
    if (files::exists(path) && !files::remove(path, &error))
        log.line(format("Error removing previous output file: %@", { error }));
    m_capture.movie_output->start_recording_to_output_file_url(path, *this, weak_token());
}

void scriptViewController::stopRecording()
{
    context().log.line("STOP RECORDING");
    m_capture.movie_output->stop_recording();
    m_capture.preview_layer->remove_from_superlayer();
}

// Runs on the platform's queue. The copy is done here; the text's opacity
// is a screen change and goes to the main queue.
void scriptViewController::captureOutputDidFinishRecordingToOutputFileAtURLFromConnectionsError(
    CaptureMovieFileOutput&, std::string const& output_file_url, std::optional<CaptureError> const& error)
{
    auto& log = context().log;
    log.line("didFinishRecordingToOutputFileAtURL - enter");
    // A take that ended at a limit still carries an error, with the flag
    // saying the file was finished.
    bool good = !error || error->code == 0 || error->recording_successfully_finished.value_or(true);
    if (!good)
        return;
    log.line("didFinishRecordingToOutputFileAtURL - success");
    defer([this] { ScriptTextView->alpha = 1.0; });

    auto name = format("video_%@.mov", { make_uuid() });
    auto folder = context().paths.saved_videos();
    if (!files::exists(folder))
        files::create_directory(folder);
    std::string copy_error;
    if (!files::copy(output_file_url, folder + "/" + name, &copy_error))
        log.line(format("Error copying video to app directory: %@", { copy_error }));
}

void scriptViewController::CameraToggleButtonPressed(Button*)
{
    auto& capture = context().services.get<CaptureService>();
    if (capture.devices_with_media_type(CaptureMediaType::Video).size() < 2)
        return;
    context().log.line("Toggle camera");
    if (!m_capture.video_input)
        return;

    CaptureDevicePosition target;
    switch (m_capture.video_input->device->position) {
    case CaptureDevicePosition::Front:
        target = CaptureDevicePosition::Back;
        break;
    case CaptureDevicePosition::Back:
        target = CaptureDevicePosition::Front;
        break;
    default:
        return;
    }
    std::optional<CaptureError> error;
    auto input = capture.device_input_with_device(CameraWithPosition(target), error);
    if (!input)
        return;

    auto& session = *m_capture.session;
    session.begin_configuration();
    session.remove_input(*m_capture.video_input);
    if (session.can_add_input(*input)) {
        session.add_input(input);
        m_capture.video_input = input;
    } else {
        session.add_input(m_capture.video_input);
    }
    CameraSetOutputProperties();
    session.commit_configuration();
}

}
