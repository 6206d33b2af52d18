#include "color_archive.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace cw {

static void put_double(std::string& out, double value)
{
    auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i)
        out += static_cast<char>((bits >> (8 * i)) & 0xff);
}

static double get_double(std::string const& in, std::size_t offset)
{
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= std::uint64_t { static_cast<unsigned char>(in[offset + i]) } << (8 * i);
    return std::bit_cast<double>(bits);
}

Bytes archive_color_components(ColorComponents color)
{
    Bytes bytes;
    bytes.data.reserve(color_archive_size);
    bytes.data.append(color_archive_magic, 4);
    put_double(bytes.data, color.red);
    put_double(bytes.data, color.green);
    put_double(bytes.data, color.blue);
    put_double(bytes.data, color.alpha);
    return bytes;
}

std::optional<ColorComponents> unarchive_color_components(Bytes const& bytes)
{
    auto const& data = bytes.data;
    if (data.size() != color_archive_size || std::memcmp(data.data(), color_archive_magic, 4) != 0)
        return std::nullopt;
    return ColorComponents { get_double(data, 4), get_double(data, 12), get_double(data, 20), get_double(data, 28) };
}

}
