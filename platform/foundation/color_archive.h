#pragma once

// The stored form of a colour: the byte strings kept in the per-script
// background and text colour lists. Only the four components matter, and
// each must read back exactly as it was written, alpha included.
//
// Layout, version 1 (36 bytes):
//
//     offset  size  content
//     0       4     the magic "CWC1" (ASCII 0x43 0x57 0x43 0x31)
//     4       8     red
//     12      8     green
//     20      8     blue
//     28      8     alpha
//
// Each component is an IEEE 754 binary64 number, little-endian, normally
// from 0 to 1 (any double is kept as it is).
//
// A later layout takes a new magic ("CWC2", ...), so an old reader refuses
// it instead of misreading it. Reading answers none for anything that is
// not exactly one version-1 archive: another magic, a short or long byte
// string. The bytes are written the same on every machine, so a store moved
// between machines keeps its colours.
//
// The toolkit's colour type lives one layer up; platform/ui/color_archive.h
// offers the same two operations on it.

#include "platform/foundation/value.h"

#include <optional>

namespace cw {

struct ColorComponents {
    double red { 0 }, green { 0 }, blue { 0 }, alpha { 1 };
    bool operator==(ColorComponents const&) const = default;
};

inline constexpr char color_archive_magic[] = "CWC1";
inline constexpr std::size_t color_archive_size = 4 + 4 * 8;

Bytes archive_color_components(ColorComponents);
std::optional<ColorComponents> unarchive_color_components(Bytes const&);

}
