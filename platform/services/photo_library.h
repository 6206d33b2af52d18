#pragma once

// The device's photo library as a destination for recorded takes.

#include <functional>
#include <string>

namespace cw {

class PhotoLibrary {
public:
    virtual ~PhotoLibrary() = default;
    // One change: create a video asset from the file. The completion runs
    // on the platform's queue with whether it worked and, when not, why.
    virtual void perform_changes_creating_video_asset_from_file_url(
        std::string const& file_url, std::function<void(bool success, std::string const& error)> completion)
        = 0;
};

}
