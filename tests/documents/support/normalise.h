#pragma once

// Text comparison that ignores layout: every run of white space (including
// no-break, typographic and zero-width spaces) becomes one space, and the
// ends are trimmed.

#include <string>
#include <string_view>

namespace cw::documents::testkit {

inline std::string collapse_whitespace(std::string_view text) {
    static constexpr std::string_view kWideSpaces[] = {
        "\u00A0", "\u2002", "\u2003", "\u2009", "\u200B", "\u202F", "\u3000", "\uFEFF",
    };
    std::string out;
    bool pending_space = false;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t width = 0;
        char const c = text[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') width = 1;
        for (auto const s : kWideSpaces) {
            if (width == 0 && text.substr(i).starts_with(s)) width = s.size();
        }
        if (width > 0) {
            pending_space = !out.empty();
            i += width;
            continue;
        }
        if (pending_space) out.push_back(' ');
        pending_space = false;
        out.push_back(c);
        ++i;
    }
    return out;
}

}  // namespace cw::documents::testkit
