#include "platform/linux/documents/cp1252.h"

#include "platform/linux/documents/unicode.h"

namespace cw::documents {
namespace {

// 0x80..0x9F differ from Latin-1; everything else is the same code point.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,  // 88-8F
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,  // 98-9F
};

}  // namespace

char32_t cp1252_to_unicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
    return byte;
}

void append_cp1252(std::string& out, std::string_view bytes) {
    for (char const c : bytes) {
        auto const b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            append_utf8(out, cp1252_to_unicode(b));
        }
    }
}

}  // namespace cw::documents
