#pragma once

// Little-endian integers at checked offsets of a byte buffer.

#include <cstdint>
#include <string_view>

namespace cw::documents {

inline bool fits(std::string_view bytes, std::uint64_t offset, std::uint64_t length) {
    return offset <= bytes.size() && length <= bytes.size() - offset;
}

// Callers check fits() first.
inline std::uint16_t read_u16(std::string_view bytes, std::size_t offset) {
    auto const b = [&](std::size_t i) { return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset + i])); };
    return static_cast<std::uint16_t>(b(0) | (b(1) << 8));
}

inline std::uint32_t read_u32(std::string_view bytes, std::size_t offset) {
    auto const b = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])); };
    return b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

inline std::uint64_t read_u64(std::string_view bytes, std::size_t offset) {
    return read_u32(bytes, offset) | (std::uint64_t{read_u32(bytes, offset + 4)} << 32);
}

}  // namespace cw::documents
