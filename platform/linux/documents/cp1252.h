#pragma once

// Windows-1252, the code page of older Western documents: plain-text files
// without a byte-order mark, RTF \'hh escapes and 8-bit pieces of .doc files.

#include <string>
#include <string_view>

namespace cw::documents {

// The five bytes Windows-1252 leaves undefined map to U+FFFD.
char32_t cp1252_to_unicode(unsigned char byte);

void append_cp1252(std::string& out, std::string_view bytes);

}  // namespace cw::documents
