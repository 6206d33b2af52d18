#include "platform/linux/documents/unicode.h"

namespace cw::documents {
namespace {

bool is_surrogate(char32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }
bool is_high_surrogate(char32_t cp) { return cp >= 0xD800 && cp <= 0xDBFF; }
bool is_low_surrogate(char32_t cp) { return cp >= 0xDC00 && cp <= 0xDFFF; }
bool is_continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 sequence starting at bytes[i], or 0 when it
// is malformed (overlong forms, surrogates and values past U+10FFFF included).
std::size_t sequence_length(std::string_view bytes, std::size_t i) {
    auto const at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    unsigned char const b0 = at(i);
    std::size_t const left = bytes.size() - i;
    if (b0 < 0x80) return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF) return left >= 2 && is_continuation(at(i + 1)) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (left < 3 || !is_continuation(at(i + 1)) || !is_continuation(at(i + 2))) return 0;
        if (b0 == 0xE0 && at(i + 1) < 0xA0) return 0;   // overlong
        if (b0 == 0xED && at(i + 1) >= 0xA0) return 0;  // surrogate
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (left < 4 || !is_continuation(at(i + 1)) || !is_continuation(at(i + 2)) ||
            !is_continuation(at(i + 3)))
            return 0;
        if (b0 == 0xF0 && at(i + 1) < 0x90) return 0;   // overlong
        if (b0 == 0xF4 && at(i + 1) >= 0x90) return 0;  // past U+10FFFF
        return 4;
    }
    return 0;
}

}  // namespace

void append_utf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || is_surrogate(cp)) cp = kReplacementChar;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool is_valid_utf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t const n = sequence_length(bytes, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

void append_utf8_lossy(std::string& out, std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t const n = sequence_length(bytes, i);
        if (n == 0) {
            append_utf8(out, kReplacementChar);
            ++i;
        } else {
            out.append(bytes.substr(i, n));
            i += n;
        }
    }
}

void Utf16Decoder::push(char16_t unit) {
    if (is_low_surrogate(unit) && pending_high_ != 0) {
        char32_t const cp = 0x10000 + ((char32_t{pending_high_} - 0xD800) << 10) + (unit - 0xDC00);
        pending_high_ = 0;
        append_utf8(out_, cp);
        return;
    }
    flush();
    if (is_high_surrogate(unit)) {
        pending_high_ = unit;
    } else {
        append_utf8(out_, unit);  // a lone low surrogate becomes U+FFFD here
    }
}

void Utf16Decoder::push_code_point(char32_t cp) {
    flush();
    append_utf8(out_, cp);
}

void Utf16Decoder::flush() {
    if (pending_high_ != 0) {
        pending_high_ = 0;
        append_utf8(out_, kReplacementChar);
    }
}

}  // namespace cw::documents
