#pragma once

// Documents the presenter uploads from the page. The page uploads only
// while the device shows its document picker; the uploaded copy is then the
// file the picker hands over, as a picker in import mode hands over a copy
// of the chosen file.

#include "web/server.h"

#include <string>

namespace cw {
class RunLoop;
class SimDevice;
}

namespace cw::web {

// Called on a server thread. The choice is made on the main loop; when the
// picker has gone meanwhile, the upload is discarded. Answers an error text
// for the page, or empty.
std::string hand_upload_to_picker(RunLoop&, SimDevice&, Upload);

// Removes what earlier runs left in the upload folder.
void clear_upload_folder(std::string const& folder);

}
