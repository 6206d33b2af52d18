#pragma once

// A QR code in the terminal, so a phone's camera can open the address that
// `cuewright --listen` prints.

#include <string>

namespace cw::web {

// The text as a QR code drawn with half-block characters, two modules per
// character cell, white on black whatever the terminal's colours, with a
// quiet zone around it. Empty when the text cannot be encoded.
std::string terminal_qr(std::string const& text);

}
