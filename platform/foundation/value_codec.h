#pragma once

// The compact binary form of a Value, used to keep each store entry as one
// database blob. Every value is a tag byte followed by its payload:
//
//   0x01 string   varint byte length, then the bytes
//   0x02 integer  zigzag varint (small magnitudes take one byte)
//   0x03 boolean  one byte, 0 or 1
//   0x04 double   the 8 bytes of its IEEE-754 bit pattern, little-endian, so
//                 -0.0, denormals, infinities and NaN payloads come back as
//                 they went in
//   0x05 bytes    varint byte length, then the bytes (NULs included)
//   0x06 list     varint element count, then each element
//   0x07 record   varint field count, then per field a varint key length, the
//                 key bytes and the field value; keys in ascending byte order
//
// Varints are unsigned LEB128 (7 bits per byte, low group first, high bit set
// on every byte but the last, shortest form only). The decoder trusts
// nothing: lengths are checked against what is left, record keys must be
// strictly ascending, nothing may follow the value, and nesting is capped so a
// damaged blob cannot exhaust the stack. So every value has exactly one
// encoding, and every blob the decoder accepts encodes back to itself.

#include "value.h"

#include <optional>
#include <string>
#include <string_view>

namespace cw {

// How deeply lists and records may nest. A scalar or an empty container has
// depth 1; a container adds one to its deepest element. The store's own data
// goes three levels deep; the cap only exists to keep damaged or hostile input
// from recursing without bound.
inline constexpr int kMaxValueDepth = 256;

// Appends the encoding of `value` to `out`. Answers false, leaving `out` in an
// unspecified state, when the value nests deeper than kMaxValueDepth: such a
// value could not be read back, so it must not be written.
bool encode_value(Value const& value, std::string& out);

// The encoding on its own; none when the value nests too deeply.
std::optional<std::string> encode_value(Value const& value);

// Reads one encoded value that fills `bytes` exactly. On failure answers none
// and, when `error` is given, says what was wrong and at which byte offset.
std::optional<Value> decode_value(std::string_view bytes, std::string* error = nullptr);

}
