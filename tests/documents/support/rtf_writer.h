#pragma once

// Writes RTF the way word processors do (font and colour tables, document
// information, \uN with an 8-bit fallback for non-ASCII) for benchmarks.

#include <string>
#include <vector>

namespace cw::documents::testkit {

// paragraphs are UTF-8.
std::string rtf_from_paragraphs(std::vector<std::string> const& paragraphs);

}  // namespace cw::documents::testkit
