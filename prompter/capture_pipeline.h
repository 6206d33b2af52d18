#pragma once

// The prompter's capture pipeline: the session, the current camera input,
// the movie-file output, the live preview and the views that held it. The
// screen builds it at load; it lives as long as the screen, and when the
// screen goes the camera goes off with it.

#include "platform/services/capture_session.h"
#include "platform/ui/view.h"

#include <memory>
#include <optional>
#include <vector>

namespace cw {

struct CapturePipeline {
    std::unique_ptr<CaptureSession> session;
    CaptureDeviceInputRef video_input;
    CaptureMovieFileOutputRef movie_output;
    std::optional<CaptureVideoPreviewLayer> preview_layer;
    // The container made at the latest recording start; earlier ones stay
    // in the view tree, empty.
    View* camera_view { nullptr };

    CapturePipeline() = default;
    CapturePipeline(CapturePipeline const&) = delete;
    CapturePipeline& operator=(CapturePipeline const&) = delete;
    ~CapturePipeline()
    {
        if (movie_output)
            movie_output->stop_recording();
        if (session && session->is_running())
            session->stop_running();
    }
};

}
