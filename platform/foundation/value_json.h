#pragma once

// The typed JSON form of the whole defaults store, for export, backup and
// import. Every value names its kind, so kinds never blur on the way through
// a text file: integers travel as decimal strings (64-bit extremes survive),
// doubles as strings that read back to the same bits (including -0, inf and
// nan), byte strings as base64. The layout is described in
// docs/store-format.md.
//
// Reading never trusts its input: any malformed, mistyped or too deeply
// nested document is refused with a message naming the line, the column and
// the place in the store where it went wrong, and nothing is returned.

#include "value.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace cw {

// The text of the document, ending in a newline. None, with `error` set, when
// the store holds something JSON cannot carry faithfully: a value nested
// deeper than kMaxValueDepth, or a key or record field name that is not valid
// UTF-8. (String values that are not valid UTF-8 are carried as base64.)
std::optional<std::string> store_to_json(std::map<std::string, Value> const& store, std::string* error = nullptr);

// Reads a whole document. None, with `error` set, when anything is wrong.
std::optional<std::map<std::string, Value>> store_from_json(std::string_view text, std::string* error = nullptr);

}
