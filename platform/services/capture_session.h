#pragma once

// Camera and microphone capture. `CaptureService` lists the capture devices
// and makes the pieces of a pipeline: a session that inputs and outputs are
// attached to, device inputs, a movie-file output and a live preview layer.
// A session belongs to the screen that made it.
//
// File URLs are plain absolute paths.

#include "platform/services/media_time.h"
#include "platform/ui/geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cw {

class View;

enum class CaptureMediaType { Video, Audio };
// The platform's numbering: back = 1, front = 2.
enum class CaptureDevicePosition { Unspecified = 0, Back = 1, Front = 2 };
// The platform's numbering: portrait = 1.
enum class CaptureVideoOrientation { Portrait = 1, PortraitUpsideDown = 2, LandscapeRight = 3, LandscapeLeft = 4 };
enum class LayerVideoGravity { Resize, ResizeAspect, ResizeAspectFill };

namespace session_preset {
inline constexpr char medium[] = "AVCaptureSessionPresetMedium";
inline constexpr char vga_640x480[] = "AVCaptureSessionPreset640x480";
inline constexpr char high[] = "AVCaptureSessionPresetHigh";
}

struct CaptureDevice {
    std::string unique_id;
    std::string localized_name;
    CaptureMediaType media_type { CaptureMediaType::Video };
    CaptureDevicePosition position { CaptureDevicePosition::Unspecified };
};
using CaptureDeviceRef = std::shared_ptr<CaptureDevice const>;

struct CaptureDeviceInput {
    CaptureDeviceRef device;
};
using CaptureDeviceInputRef = std::shared_ptr<CaptureDeviceInput>;

// A capture error. `recording_successfully_finished` is the flag a
// recording's error carries when the file was finished anyway (a length or
// disk-space limit); absent when the error says nothing about it.
struct CaptureError {
    int code { 0 };
    std::string description;
    std::optional<bool> recording_successfully_finished;
};

// The video connection of an output.
class CaptureConnection {
public:
    virtual ~CaptureConnection() = default;
    virtual bool is_video_orientation_supported() const = 0;
    virtual CaptureVideoOrientation video_orientation() const = 0;
    virtual void set_video_orientation(CaptureVideoOrientation) = 0;
    virtual bool is_video_min_frame_duration_supported() const = 0;
    virtual MediaTime video_min_frame_duration() const = 0;
    virtual void set_video_min_frame_duration(MediaTime) = 0;
    virtual bool is_video_max_frame_duration_supported() const = 0;
    virtual MediaTime video_max_frame_duration() const = 0;
    virtual void set_video_max_frame_duration(MediaTime) = 0;
};

class CaptureMovieFileOutput;

class CaptureFileOutputRecordingDelegate {
public:
    virtual ~CaptureFileOutputRecordingDelegate() = default;
    // Once per started recording, on the platform's queue, also when the
    // recording ended by itself at a limit.
    virtual void captureOutputDidFinishRecordingToOutputFileAtURLFromConnectionsError(
        CaptureMovieFileOutput&, std::string const& output_file_url, std::optional<CaptureError> const&)
        = 0;
};

class CaptureMovieFileOutput {
public:
    virtual ~CaptureMovieFileOutput() = default;
    virtual void set_max_recorded_duration(MediaTime) = 0;
    virtual MediaTime max_recorded_duration() const = 0;
    virtual void set_min_free_disk_space_limit(std::int64_t bytes) = 0;
    virtual std::int64_t min_free_disk_space_limit() const = 0;
    // None until the output is in a session that has an input of that type.
    virtual CaptureConnection* connection_with_media_type(CaptureMediaType) = 0;
    // The delegate is held weakly through `delegate_alive`: a finish that
    // arrives after it is gone goes nowhere.
    virtual void start_recording_to_output_file_url(std::string const& url, CaptureFileOutputRecordingDelegate&, std::weak_ptr<void> delegate_alive) = 0;
    // Harmless when not recording.
    virtual void stop_recording() = 0;
    virtual bool is_recording() const = 0;
};
using CaptureMovieFileOutputRef = std::shared_ptr<CaptureMovieFileOutput>;

class CaptureSession {
public:
    virtual ~CaptureSession() = default;
    virtual bool is_running() const = 0;
    virtual void start_running() = 0;
    virtual void stop_running() = 0;

    virtual bool can_set_session_preset(std::string const&) const = 0;
    virtual void set_session_preset(std::string const&) = 0;
    virtual std::string session_preset() const = 0;

    virtual bool can_add_input(CaptureDeviceInput const&) const = 0;
    virtual void add_input(CaptureDeviceInputRef) = 0;
    virtual void remove_input(CaptureDeviceInput const&) = 0;
    virtual std::vector<CaptureDeviceInputRef> inputs() const = 0;

    virtual bool can_add_output(CaptureMovieFileOutput const&) const = 0;
    virtual void add_output(CaptureMovieFileOutputRef) = 0;

    virtual void begin_configuration() = 0;
    virtual void commit_configuration() = 0;
};

// The live picture of a session. It is drawn inside the view whose layer it
// was added to (`host`), at `bounds` with its centre at `position`, in that
// view's coordinates.
struct CaptureVideoPreviewLayer {
    CaptureSession* session { nullptr };
    Rect bounds;
    Point position;
    CaptureVideoOrientation orientation { CaptureVideoOrientation::Portrait };
    LayerVideoGravity video_gravity { LayerVideoGravity::ResizeAspect };
    View* host { nullptr };

    void add_to(View& view) { host = &view; }
    void remove_from_superlayer() { host = nullptr; }
};

class CaptureService {
public:
    virtual ~CaptureService() = default;
    virtual std::unique_ptr<CaptureSession> make_session() = 0;
    // Video devices in the platform's stable order.
    virtual std::vector<CaptureDeviceRef> devices_with_media_type(CaptureMediaType) const = 0;
    virtual CaptureDeviceRef default_device_with_media_type(CaptureMediaType) const = 0;
    // None, with `error` filled, when the device cannot be opened (for
    // example because access was refused).
    virtual CaptureDeviceInputRef device_input_with_device(CaptureDeviceRef const&, std::optional<CaptureError>& error) = 0;
    virtual CaptureMovieFileOutputRef make_movie_file_output() = 0;
};

}
