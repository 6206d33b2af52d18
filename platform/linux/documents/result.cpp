#include "platform/linux/documents/result.h"

#include <string_view>

#include "platform/linux/documents/messages.h"
#include "platform/linux/documents/unicode.h"

namespace cw::documents {
namespace {

bool is_ascii_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Multi-byte characters that show nothing on their own: no-break and
// typographic spaces, zero-width marks, direction marks, the byte-order mark.
bool starts_with_blank(std::string_view s) {
    static constexpr std::string_view kBlanks[] = {
        "\u00A0", "\u2000", "\u2001", "\u2002", "\u2003", "\u2004", "\u2005", "\u2006",
        "\u2007", "\u2008", "\u2009", "\u200A", "\u200B", "\u200C", "\u200D", "\u200E",
        "\u200F", "\u2028", "\u2029", "\u202F", "\u205F", "\u3000", "\uFEFF",
    };
    for (auto const blank : kBlanks) {
        if (s.starts_with(blank)) return true;
    }
    return false;
}

std::size_t blank_length(std::string_view s) {
    if (is_ascii_space(s.front())) return 1;
    if (static_cast<unsigned char>(s.front()) < 0x80) return 0;
    if (!starts_with_blank(s)) return 0;
    return static_cast<unsigned char>(s.front()) < 0xE0 ? 2 : 3;
}

}  // namespace

ExtractResult failure(char const* message) {
    ExtractResult r;
    r.error = message;
    return r;
}

bool is_blank(std::string_view bytes) {
    for (char const c : bytes) {
        if (!is_ascii_space(c)) return false;
    }
    return true;
}

bool has_visible_text(std::string const& text) {
    std::string_view rest = text;
    while (!rest.empty()) {
        std::size_t const n = blank_length(rest);
        if (n == 0) return true;
        rest.remove_prefix(n);
    }
    return false;
}

ExtractResult finish_paragraphs(std::string text) {
    if (!text.empty() && text.back() != '\n') text.push_back('\n');
    return finish_plain(std::move(text));
}

ExtractResult finish_plain(std::string text) {
    if (!has_visible_text(text)) return failure(messages::kNoText);
    if (!is_valid_utf8(text)) {
        // Only XML parts declared UTF-8 but holding other bytes get here.
        std::string repaired;
        repaired.reserve(text.size() + 16);
        append_utf8_lossy(repaired, text);
        text = std::move(repaired);
    }
    ExtractResult r;
    r.ok = true;
    r.text = std::move(text);
    return r;
}

}  // namespace cw::documents
