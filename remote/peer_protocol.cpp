#include "peer_protocol.h"

#include "platform/services/peer_session.h"

#include <bit>
#include <cstdint>

namespace cw::remote {

namespace {

// Length of the UTF-8 sequence starting at `s[i]`, or 0 when it is not a
// well-formed one (overlong forms, surrogates and values past U+10FFFF
// included).
std::size_t sequence_length(std::string_view s, std::size_t i)
{
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char lead = byte(i);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else
        return 0;
    if (i + length > s.size())
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    return length;
}

}

std::string peer_display_name(std::string_view device_name)
{
    std::string name = peer_name_prefix;
    for (std::size_t i = 0; i < device_name.size();) {
        auto length = sequence_length(device_name, i);
        if (length == 0) {
            // A stray byte is never cut into a name.
            ++i;
            continue;
        }
        if (name.size() + length > peer_display_name_max_bytes)
            break;
        name.append(device_name.substr(i, length));
        i += length;
    }
    return name;
}

Bytes encode_command(std::string_view word)
{
    return Bytes { std::string(word) };
}

Bytes encode_speed(float slider_value)
{
    auto bits = std::bit_cast<std::uint64_t>(static_cast<double>(slider_value));
    // Little-endian whatever this machine's own order.
    Bytes bytes { std::string(8, '\0') };
    for (int i = 0; i < 8; ++i)
        bytes.data[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return bytes;
}

std::optional<std::string> utf8_text(Bytes const& data)
{
    std::string const& text = data.data;
    for (std::size_t i = 0; i < text.size();) {
        auto length = sequence_length(text, i);
        if (length == 0)
            return std::nullopt;
        i += length;
    }
    return text;
}

PeerMessage decode_peer_message(Bytes const& data)
{
    if (auto text = utf8_text(data)) {
        if (*text == start_word)
            return { PeerMessage::Kind::Start };
        if (*text == stop_word)
            return { PeerMessage::Kind::Stop };
        if (*text == back_to_start_word)
            return { PeerMessage::Kind::BackToStart };
    }
    if (data.data.size() < 8)
        return { PeerMessage::Kind::Unreadable };
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(data.data[i])) << (8 * i);
    return { PeerMessage::Kind::Speed, std::bit_cast<double>(bits) };
}

}
