#pragma once

// The peer remote's wire protocol, shared by the prompter (receiving end)
// and the remote sender screen (sending end). Each message is one data
// message of the peer session, sent reliably to every connected prompter:
// the command words as bare UTF-8 text, and the speed as the sender's
// slider value widened to an 8-byte IEEE double in little-endian order.

#include "platform/foundation/value.h"

#include <optional>
#include <string>
#include <string_view>

namespace cw::remote {

inline constexpr char peer_service_type[] = "cuewrightremote";
inline constexpr char peer_name_prefix[] = "Cuewright_";
inline constexpr double peer_invitation_timeout = 30;

inline constexpr char start_word[] = "start";
inline constexpr char stop_word[] = "stop";
inline constexpr char back_to_start_word[] = "backtostart";

// "Cuewright_" followed by the device name, shortened at a character
// boundary where it would not fit the platform's limit on display names.
std::string peer_display_name(std::string_view device_name);

Bytes encode_command(std::string_view word);
Bytes encode_speed(float slider_value);

// What a received data message asks for.
struct PeerMessage {
    enum class Kind { Start, Stop, BackToStart, Speed, Unreadable };
    Kind kind { Kind::Unreadable };
    double speed { 0 };
};

// Text is compared exactly; anything that is not a command word is a speed
// value in its first 8 bytes. Data shorter than that carries no speed and
// is unreadable.
PeerMessage decode_peer_message(Bytes const&);

// The bytes as UTF-8 text, or none when they are not valid UTF-8.
std::optional<std::string> utf8_text(Bytes const&);

}
