#pragma once

// The text a new script starts with in the editor. It is ordinary editable
// text: saved untouched, it becomes the script's text.

#include <string>

namespace cw {

std::string welcome_text();

}
