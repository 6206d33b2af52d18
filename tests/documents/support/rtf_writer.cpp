#include "tests/documents/support/rtf_writer.h"

#include <cstdint>

namespace cw::documents::testkit {
namespace {

char32_t next_code_point(std::string const& s, std::size_t& i) {
    auto const b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char const lead = b(i);
    int const extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (b(i + static_cast<std::size_t>(k)) & 0x3F);
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

void append_unicode(std::string& out, char32_t cp) {
    auto const unit = [&](std::uint32_t u) {
        out += "\\u" + std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(u))) + "?";
    };
    if (cp >= 0x10000) {
        unit(0xD800 + ((cp - 0x10000) >> 10));
        unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
        unit(cp);
    }
}

void append_escaped(std::string& out, std::string const& text) {
    for (std::size_t i = 0; i < text.size();) {
        char const c = text[i];
        if (c == '\\' || c == '{' || c == '}') {
            out.push_back('\\');
            out.push_back(c);
            ++i;
        } else if (static_cast<unsigned char>(c) < 0x80) {
            out.push_back(c);
            ++i;
        } else {
            append_unicode(out, next_code_point(text, i));
        }
    }
}

}  // namespace

std::string rtf_from_paragraphs(std::vector<std::string> const& paragraphs) {
    std::string out =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
        "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}{\\f1\\fswiss\\fcharset0 Arial;}}\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\n"
        "{\\stylesheet{\\s0\\f0\\fs24 Normal;}}\n"
        "{\\info{\\title Benchmark script}{\\author Cuewright}}\n"
        "\\viewkind4\\paperw12240\\paperh15840\n";
    for (auto const& p : paragraphs) {
        out += "\\pard\\plain\\s0\\f0\\fs24 ";
        append_escaped(out, p);
        out += "\\par\n";
    }
    out += "}";
    return out;
}

}  // namespace cw::documents::testkit
