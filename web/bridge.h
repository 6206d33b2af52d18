#pragma once

// The bridge between the pages and the one device they show. Every open page
// is a display of the same device: one store, one navigation stack, one
// window. Input from any page counts; every page sees every change.
//
// What a page sends is the automation protocol of docs/automation.md (one
// JSON object with a "cmd" per WebSocket message, answered with "ok"), plus
// a few messages about the page itself, which the bridge answers:
//
//   hello       {width, height, focused, visible}   first message of a page
//   viewport    {width, height}                      the page was resized
//   focus       {}                                   the page took the focus
//   visibility  {visible}                            the tab was shown/hidden
//   tick        {}                                   one painted frame
//   resync      {}                                   send the whole state again
//   measured    {results: [{key, width, height}]}    text the page measured
//
// Page messages that carry an "id" are answered {"id": ..., "ok": true}.
// Every message may carry "seq", a number that grows with each message of
// that page; a message whose seq does not grow, like a message before
// "hello", is out of order and is dropped with an error answer. Messages
// that are not JSON objects with a "cmd" are dropped the same way. Commands
// that only make sense headless ("launch", "advance") are refused.
//
// What the bridge sends:
//
//   {"type": "welcome", "client": n, "idiom": "phone" | "tablet"}
//   {"type": "frame", "version": v, "state": {...}}           the whole state
//   {"type": "frame", "version": v, "base": v - 1, "patch": [...]}
//                                     what changed, as a JSON Patch (RFC 6902)
//   ... with "tick": n added when the frame answers the page's n-th tick
//   {"type": "role", "driving": true | false}    whether the page paints ticks
//   {"type": "open_url", "url": "..."}           the application opens a link
//   {"type": "measure", "requests": [{key, text, fontSize, width}]}
//                                     texts to measure (measured_text_layout.h)
//   answers to commands, and {"ok": false, "error": ...} for dropped messages
//
// The state is {"window": {...}, "top": class, "wantsTicks": bool, "root":
// the window's screen tree}; "wantsTicks" says whether anything listens to
// display refreshes, so an idle page sends no ticks.
//
// Threads: `opened`, `message` and `closed` come from the server's threads.
// They check what they can there (size, JSON, order) and hand everything
// else to the main loop; all the rest runs on the main loop.

#include "sim/driver.h"
#include "web/frames.h"
#include "web/measured_text_layout.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace cw::web {

class Bridge {
public:
    using Json = nlohmann::json;
    // Delivers one message to one page; `frame` marks frame updates, which
    // a page that fell far behind may miss.
    using Send = std::function<void(ClientId, std::string, bool frame)>;

    Bridge(Driver&, SimDevice&, Send);
    ~Bridge();
    Bridge(Bridge const&) = delete;
    Bridge& operator=(Bridge const&) = delete;

    // The server's threads.
    void opened(ClientId);
    void message(ClientId, std::string_view);
    void closed(ClientId);

    // The main loop.
    // Asks the driving page (or, with none, the most recent one) to open a
    // web or mail link.
    void open_url_in_page(std::string const& url);
    FrameDriver& frames() { return m_frames; }
    // The text layout the pages measure for; none leaves text to the
    // application's own layout.
    void set_text_layout(MeasuredTextLayout* layout) { m_text_layout = layout; }
    std::uint64_t version() const { return m_version; }

private:
    struct Page {
        bool greeted { false };
        std::uint64_t version { 0 };
        bool needs_full { true };
        std::optional<Size> viewport;
    };

    void handle(ClientId, Json);
    void hello(ClientId, Page&, Json const&);
    bool page_message(ClientId, Page&, std::string const& cmd, Json const&);
    void apply_window_size();
    void publish(std::optional<ClientId> ticked = {}, Json tick = nullptr);
    Json current_state();
    void send(ClientId, Json const&);
    void reply_error(ClientId, Json const& request, std::string const& error);
    void turn_ended();
    std::optional<ClientId> measuring_page() const;
    void send_measure_requests(std::vector<MeasuredTextLayout::Request> const&);
    void take_measurements(ClientId, Json const&);

    Driver& m_driver;
    SimDevice& m_device;
    Send m_send;
    FrameDriver m_frames;
    MeasuredTextLayout* m_text_layout { nullptr };

    std::map<ClientId, Page> m_pages;
    Json m_state;
    std::uint64_t m_version { 0 };
    std::uint64_t m_turns { 0 };
    std::uint64_t m_published_turns { 0 };
    bool m_publish_posted { false };
    bool m_skip_turn { false };
    LoopHandle m_turn_hook;
    std::shared_ptr<int> m_alive { std::make_shared<int>(0) };

    // The server's threads: the last "seq" of each page.
    std::mutex m_order_mutex;
    std::map<ClientId, std::uint64_t> m_last_seq;
};

}
