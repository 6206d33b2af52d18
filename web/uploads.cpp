#include "uploads.h"

#include "platform/ui/app_context.h"
#include "platform/ui/document_picker_screen.h"
#include "sim/sim_device.h"

#include <filesystem>

namespace cw::web {

namespace fs = std::filesystem;

std::string hand_upload_to_picker(RunLoop& loop, SimDevice& device, Upload upload)
{
    loop.post([&device, path = std::move(upload.path)] {
        auto* picker = device.top_as<DocumentPickerScreen>();
        if (!picker) {
            std::error_code ignored;
            fs::remove(path, ignored);
            device.context().log.line("A document arrived after the document picker had closed; it was not imported.");
            return;
        }
        picker->user_pick(path);
        device.settle();
    });
    return {};
}

void clear_upload_folder(std::string const& folder)
{
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

}
