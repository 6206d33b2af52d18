#pragma once

// What every extractor promises whatever the input: either UTF-8 text with
// something visible in it, or a reason for the user. A broken promise stops
// the fuzzer.

#include <cstdlib>

#include "platform/linux/documents/documents.h"
#include "platform/linux/documents/result.h"
#include "platform/linux/documents/unicode.h"

namespace cw::documents::fuzz {

inline void check(ExtractResult const& r) {
    bool const kept = r.ok ? !r.text.empty() && r.error.empty() && is_valid_utf8(r.text) &&
                                 has_visible_text(r.text)
                           : r.text.empty() && !r.error.empty();
    if (!kept) std::abort();
}

}  // namespace cw::documents::fuzz
