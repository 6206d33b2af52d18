#pragma once

// The saved-video store: the folder of recorded takes ("SavedVideos" in the
// documents folder) and a preview picture for each. There is no index: the
// folder's entries are the store, and every entry counts as a take. The
// prompter adds takes; the gallery lists, previews and deletes them.
//
// Stateless; both operations are synchronous and called on the main thread.

#include "platform/ui/image.h"

#include <optional>
#include <string>
#include <vector>

namespace cw {

class AppContext;

class VideoManager {
public:
    // The image resource shown for takes too short to have a frame at the
    // preview time.
    static constexpr char placeholder_image[] = "placeHolderImage";
    static constexpr double preview_seconds = 2.0;

    // One file URL (path) per entry of the folder; empty, with a log line,
    // when the folder cannot be listed. Listing never creates the folder.
    static std::vector<std::string> getSavedVideoURLs(AppContext&);
    // The frame at 2 seconds, the placeholder for a shorter take, or none
    // (with a log line) when the frame cannot be made.
    static std::optional<Image> generatePreviewImageForVideoAtURL(AppContext&, std::string const& url);
};

}
