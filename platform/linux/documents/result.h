#pragma once

// How every extractor turns its collected text into an ExtractResult, so the
// "no text" rule is the same for each format.

#include <string>
#include <string_view>

#include "platform/linux/documents/documents.h"

namespace cw::documents {

ExtractResult failure(char const* message);

// An empty or all-white-space file is treated as a document without text,
// whatever its format, rather than as a damaged one.
bool is_blank(std::string_view bytes);

// True when text holds something besides white space (Unicode spaces, line
// breaks and invisible format marks included).
bool has_visible_text(std::string const& text);

// For formats made of paragraphs: the text ends with the last paragraph's
// "\n". An empty or blank document is refused with messages::kNoText.
ExtractResult finish_paragraphs(std::string text);

// For plain text, which is returned as written. Both finishers guarantee
// valid UTF-8: malformed sequences become U+FFFD.
ExtractResult finish_plain(std::string text);

}  // namespace cw::documents
