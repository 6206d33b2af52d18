// Plain text: the byte-order mark decides the encoding; without one, text
// that is valid UTF-8 is taken as UTF-8 and anything else as Windows-1252,
// which is what older Western editors saved.

#include <string>
#include <string_view>

#include "platform/linux/documents/cp1252.h"
#include "platform/linux/documents/documents.h"
#include "platform/linux/documents/result.h"
#include "platform/linux/documents/unicode.h"

namespace cw::documents {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

std::string decode_utf16(std::string_view bytes, bool big_endian) {
    std::string out;
    out.reserve(bytes.size());
    Utf16Decoder decoder(out);
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        auto const first = static_cast<unsigned char>(bytes[i]);
        auto const second = static_cast<unsigned char>(bytes[i + 1]);
        decoder.push(static_cast<char16_t>(big_endian ? (first << 8) | second : (second << 8) | first));
    }
    if (i < bytes.size()) decoder.push_code_point(kReplacementChar);  // a dangling odd byte
    decoder.flush();
    return out;
}

std::string decode(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) {
        std::string out;
        append_utf8_lossy(out, bytes.substr(kUtf8Bom.size()));
        return out;
    }
    if (bytes.starts_with(kUtf16LeBom)) return decode_utf16(bytes.substr(2), false);
    if (bytes.starts_with(kUtf16BeBom)) return decode_utf16(bytes.substr(2), true);
    if (is_valid_utf8(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    append_cp1252(out, bytes);
    return out;
}

// "\r\n" (Windows) and a lone "\r" (classic Mac) both become "\n".
std::string normalise_line_endings(std::string text) {
    if (text.find('\r') == std::string::npos) return text;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out.push_back(text[i]);
            continue;
        }
        out.push_back('\n');
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return out;
}

}  // namespace

ExtractResult extract_txt(std::string_view bytes) {
    return finish_plain(normalise_line_endings(decode(bytes)));
}

}  // namespace cw::documents
