#pragma once

// Unguessable random text for access tokens and file names, read from the
// system's random source.

#include <cstddef>
#include <string>

namespace cw::web {

// `bytes` random bytes as lower-case hex (twice as many characters). Throws
// std::runtime_error when the random source cannot be read.
std::string random_hex(std::size_t bytes);

}
