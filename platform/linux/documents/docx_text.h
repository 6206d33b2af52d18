#pragma once

// Walks the main part of a .docx (a parsed w:document) and collects the text
// a reader sees in the body.

#include <string>

#include <pugixml.hpp>

#include "platform/linux/documents/documents.h"

namespace cw::documents {

// pugixml never loads external entities or DTDs; entity references it cannot
// resolve stay in the text as written. Space-only runs of text are kept.
inline constexpr unsigned kDocxParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

// The text of a main part (parsed in place, so xml is overwritten).
ExtractResult docx_text_from_xml(std::string& xml);

}  // namespace cw::documents
