#pragma once

// Text layout as the browser draws it. The page sets a text view's text in
// its own fonts, so only the page knows how tall the text really is; the
// scroll engine needs that height to stop where the text ends. This layout
// answers from what a page measured, and until a page has measured a text it
// answers from the fallback (the headless metrics) and asks the pages to
// measure it.
//
// How it works. `measure` looks its question (text, font size, width) up in
// a bounded cache. A miss answers the fallback and files a request, which
// the bridge sends to a page with its next frame update; the page measures
// an element styled like the one it draws text views with, and sends the
// answer back (`store`). Every text view that already measured itself with
// the fallback must then measure again: `remeasure_text_views` asks them.
//
// Main loop only.

#include "platform/services/text_layout.h"

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cw {
class View;
}

namespace cw::web {

class MeasuredTextLayout final : public TextLayout {
public:
    struct Request {
        std::string key;
        std::string text;
        double font_size { 0 };
        double width { 0 };
    };

    explicit MeasuredTextLayout(std::shared_ptr<TextLayout const> fallback);

    Size measure(std::string_view text, double font_size, double width) const override;

    // Requests filed since the last call.
    std::vector<Request> take_new_requests();
    // Every request still waiting for an answer, e.g. for a page that just
    // arrived after the one that was asked left.
    std::vector<Request> waiting_requests() const;
    // A page's answer. False when nobody asked that (or it was answered).
    bool store(std::string const& key, Size);

    // Texts longer than this are not sent to pages; they keep the fallback.
    static constexpr std::size_t max_text_bytes = 4 << 20;
    static constexpr std::size_t max_entries = 512;

private:
    static std::string key_for(std::string_view text, double font_size, double width);

    std::shared_ptr<TextLayout const> m_fallback;
    mutable std::map<std::string, Size> m_sizes;
    mutable std::list<std::string> m_age;
    mutable std::map<std::string, Request> m_waiting;
    mutable std::vector<std::string> m_new;
};

// Makes every text view under `root` measure its text again.
void remeasure_text_views(View& root);

}
