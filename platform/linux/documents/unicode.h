#pragma once

// UTF-8 output and UTF-16 input helpers shared by the extractors.

#include <string>
#include <string_view>

namespace cw::documents {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Appends cp as UTF-8; surrogates and values past U+10FFFF become U+FFFD.
void append_utf8(std::string& out, char32_t cp);

bool is_valid_utf8(std::string_view bytes);

// Appends bytes, replacing each malformed UTF-8 sequence with U+FFFD.
void append_utf8_lossy(std::string& out, std::string_view bytes);

// Decodes a stream of UTF-16 code units, pairing surrogates even when the
// halves arrive in separate calls (a .doc splits text into pieces, an RTF
// file writes each half as its own \u). A half without its partner becomes
// U+FFFD.
class Utf16Decoder {
public:
    explicit Utf16Decoder(std::string& out) : out_(out) {}
    void push(char16_t unit);
    // Emits a code point that did not come from UTF-16, first settling any
    // waiting high surrogate.
    void push_code_point(char32_t cp);
    void flush();

private:
    std::string& out_;
    char16_t pending_high_ = 0;
};

}  // namespace cw::documents
