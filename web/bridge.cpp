#include "bridge.h"

#include "platform/services/permissions.h"
#include "platform/ui/navigation_controller.h"
#include "platform/ui/screen.h"

#include <set>

namespace cw::web {

using Json = nlohmann::json;

// Deeper than any message a page sends. Checked before parsing: taking
// apart, comparing and printing JSON recurses once per level.
static constexpr int max_nesting = 32;

static std::string dump(Json const& json)
{
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The deepest nesting of arrays and objects in a JSON text, or more than
// `limit` once it gets there.
static int nesting_of(std::string_view text, int limit)
{
    int depth = 0, deepest = 0;
    bool in_string = false, escaped = false;
    for (char c : text) {
        if (in_string) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                in_string = false;
            continue;
        }
        if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
            if (deepest > limit)
                return deepest;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

static std::optional<Size> size_field(Json const& request)
{
    auto width = request.find("width");
    auto height = request.find("height");
    if (width == request.end() || height == request.end() || !width->is_number() || !height->is_number())
        return std::nullopt;
    double w = width->get<double>(), h = height->get<double>();
    if (!(w >= 1 && w <= 100000 && h >= 1 && h <= 100000))
        return std::nullopt;
    return Size { w, h };
}

static bool flag_field(Json const& request, char const* field, bool fallback)
{
    auto it = request.find(field);
    return it != request.end() && it->is_boolean() ? it->get<bool>() : fallback;
}

Bridge::Bridge(Driver& driver, SimDevice& device, Send send)
    : m_driver(driver)
    , m_device(device)
    , m_send(std::move(send))
    , m_frames(driver.loop())
{
    m_frames.on_driver_changed = [this](std::optional<ClientId> driving) {
        for (auto const& [id, page] : m_pages) {
            if (page.greeted)
                this->send(id, { { "type", "role" }, { "driving", driving == id } });
        }
        apply_window_size();
        // The page that measures may have changed; it gets whatever is still
        // waiting for an answer.
        if (m_text_layout)
            send_measure_requests(m_text_layout->waiting_requests());
    };
    m_turn_hook = driver.loop().add_turn_end_hook([this] { turn_ended(); });
}

Bridge::~Bridge() = default;

// --- the server's threads --------------------------------------------------

static Json error_answer(Json const& request, std::string const& error)
{
    Json answer { { "ok", false }, { "error", error } };
    if (request.is_object()) {
        for (auto const* field : { "id", "seq" }) {
            if (request.contains(field))
                answer[field] = request[field];
        }
    }
    return answer;
}

void Bridge::opened(ClientId id)
{
    {
        std::lock_guard lock(m_order_mutex);
        m_last_seq[id] = 0;
    }
    m_driver.loop().post([this, id, alive = std::weak_ptr<int>(m_alive)] {
        if (!alive.expired())
            m_pages[id];
    });
}

void Bridge::message(ClientId id, std::string_view text)
{
    auto refuse = [&](Json const& request, std::string const& why) {
        m_send(id, dump(error_answer(request, why + "; the message was dropped")), false);
    };
    if (nesting_of(text, max_nesting) > max_nesting)
        return refuse(nullptr, "the message is nested too deeply");
    Json request;
    try {
        request = Json::parse(text);
    } catch (std::exception const& error) {
        return refuse(nullptr, std::string("not valid JSON: ") + error.what());
    }
    auto cmd = request.is_object() ? request.find("cmd") : request.end();
    if (!request.is_object() || cmd == request.end() || !cmd->is_string())
        return refuse(request, "a message must be a JSON object with a text \"cmd\"");
    if (auto seq = request.find("seq"); seq != request.end()) {
        if (!seq->is_number_unsigned())
            return refuse(request, "\"seq\" must be a whole number");
        std::lock_guard lock(m_order_mutex);
        auto& last = m_last_seq[id];
        if (seq->get<std::uint64_t>() <= last)
            return refuse(request, "out of order: seq " + std::to_string(seq->get<std::uint64_t>()) + " came after " + std::to_string(last));
        last = seq->get<std::uint64_t>();
    }
    m_driver.loop().post([this, id, request = std::move(request), alive = std::weak_ptr<int>(m_alive)]() mutable {
        if (!alive.expired())
            handle(id, std::move(request));
    });
}

void Bridge::closed(ClientId id)
{
    {
        std::lock_guard lock(m_order_mutex);
        m_last_seq.erase(id);
    }
    m_driver.loop().post([this, id, alive = std::weak_ptr<int>(m_alive)] {
        if (alive.expired())
            return;
        m_pages.erase(id);
        m_frames.page_closed(id);
    });
}

// --- the main loop ---------------------------------------------------------

void Bridge::send(ClientId id, Json const& message)
{
    m_send(id, dump(message), false);
}

void Bridge::reply_error(ClientId id, Json const& request, std::string const& error)
{
    send(id, error_answer(request, error + "; the message was dropped"));
}

void Bridge::handle(ClientId id, Json request)
{
    auto it = m_pages.find(id);
    if (it == m_pages.end())
        return;
    auto& page = it->second;
    auto cmd = request["cmd"].get<std::string>();
    if (cmd == "hello") {
        if (page.greeted)
            return reply_error(id, request, "out of order: this page already said hello");
        return hello(id, page, request);
    }
    if (!page.greeted)
        return reply_error(id, request, "out of order: a page says hello first");

    if (cmd == "tick") {
        if (!m_frames.tick(id))
            return send(id, { { "type", "role" }, { "driving", false } });
        m_device.settle();
        return publish(id, request.value("frame", Json(nullptr)));
    }
    if (cmd == "measured") {
        take_measurements(id, request);
        if (request.contains("id"))
            send(id, { { "id", request["id"] }, { "ok", true } });
        return publish();
    }
    if (cmd == "viewport" || cmd == "focus" || cmd == "visibility" || cmd == "resync") {
        if (!page_message(id, page, cmd, request))
            return;
        if (request.contains("id"))
            send(id, { { "id", request["id"] }, { "ok", true } });
        return publish();
    }
    static std::set<std::string> const headless_only { "launch", "advance" };
    if (headless_only.contains(cmd))
        return reply_error(id, request, "\"" + cmd + "\" is for the headless driver; this device runs in real time");
    send(id, m_driver.handle(request));
    publish();
}

// Messages about the page itself. Answers false after refusing one.
bool Bridge::page_message(ClientId id, Page& page, std::string const& cmd, Json const& request)
{
    if (cmd == "viewport") {
        auto size = size_field(request);
        if (!size) {
            reply_error(id, request, "a viewport needs a width and a height between 1 and 100000");
            return false;
        }
        page.viewport = size;
        apply_window_size();
    } else if (cmd == "focus") {
        m_frames.page_focused(id);
    } else if (cmd == "visibility") {
        m_frames.page_visibility(id, flag_field(request, "visible", true));
    } else if (cmd == "resync") {
        page.needs_full = true;
    }
    return true;
}

void Bridge::hello(ClientId id, Page& page, Json const& request)
{
    auto size = size_field(request);
    if (!size)
        return reply_error(id, request, "hello needs the page's width and height between 1 and 100000");
    page.greeted = true;
    page.viewport = size;
    page.needs_full = true;
    auto& window = m_device.context().window;
    send(id, { { "type", "welcome" }, { "client", id }, { "idiom", window.is_tablet() ? "tablet" : "phone" } });
    auto before = m_frames.driver();
    m_frames.page_opened(id, flag_field(request, "focused", true), flag_field(request, "visible", true));
    if (m_frames.driver() == before)
        send(id, { { "type", "role" }, { "driving", m_frames.drives(id) } });
    apply_window_size();
    publish();
}

// The window takes the size of the page that drives the display; the other
// pages scale what they draw to fit.
void Bridge::apply_window_size()
{
    auto driving = m_frames.driver();
    if (!driving)
        return;
    auto it = m_pages.find(*driving);
    if (it == m_pages.end() || !it->second.viewport)
        return;
    m_device.context().window.set_size(*it->second.viewport);
}

// The driving page measures; without one, any page that said hello.
std::optional<ClientId> Bridge::measuring_page() const
{
    if (auto driving = m_frames.driver())
        return driving;
    for (auto const& [id, page] : m_pages) {
        if (page.greeted)
            return id;
    }
    return std::nullopt;
}

void Bridge::send_measure_requests(std::vector<MeasuredTextLayout::Request> const& requests)
{
    auto page = measuring_page();
    if (requests.empty() || !page)
        return;
    Json list = Json::array();
    for (auto const& request : requests)
        list.push_back({ { "key", request.key }, { "text", request.text }, { "fontSize", request.font_size }, { "width", request.width } });
    send(*page, { { "type", "measure" }, { "requests", std::move(list) } });
}

static void remeasure_screen(Screen& screen)
{
    if (screen.is_view_loaded())
        remeasure_text_views(screen.view());
    if (auto* navigation = dynamic_cast<NavigationController*>(&screen)) {
        for (auto const& child : navigation->stack())
            remeasure_screen(*child);
    }
    if (auto* presented = screen.presented())
        remeasure_screen(*presented);
}

void Bridge::take_measurements(ClientId id, Json const& request)
{
    auto results = request.find("results");
    if (!m_text_layout || results == request.end() || !results->is_array())
        return reply_error(id, request, "measured needs a list of results");
    bool changed = false;
    for (auto const& result : *results) {
        if (!result.is_object() || !result.contains("key") || !result["key"].is_string())
            continue;
        auto width = result.find("width"), height = result.find("height");
        if (width == result.end() || height == result.end() || !width->is_number() || !height->is_number())
            continue;
        changed |= m_text_layout->store(result["key"].get<std::string>(), { width->get<double>(), height->get<double>() });
    }
    if (changed) {
        if (auto* root = m_device.context().window.root())
            remeasure_screen(*root);
    }
}

void Bridge::open_url_in_page(std::string const& url)
{
    // Only links a browser can open harmlessly, and the server's own
    // downloads of saved takes.
    if (!(url.starts_with("https://") || url.starts_with("http://") || url.starts_with("mailto:") || url.starts_with("/media/")))
        return;
    std::optional<ClientId> target = m_frames.driver();
    if (!target) {
        for (auto const& [id, page] : m_pages) {
            if (page.greeted)
                target = id;
        }
    }
    if (target)
        send(*target, { { "type", "open_url" }, { "url", url } });
}

Json Bridge::current_state()
{
    auto& context = m_device.context();
    auto& window = context.window;
    auto* root = window.root();
    auto* top = m_device.top();
    // The platform's own permission questions, while the stand-in
    // permission service asks them: the page draws them as the system's
    // prompts and sends the presenter's answer back.
    Json questions = Json::array();
    if (auto const& permissions = m_device.platform().permissions; permissions && context.services.find<PermissionAuthority>() == permissions.get()) {
        for (auto kind : permissions->pending_questions())
            questions.push_back(sim::permission_kind_name(kind));
    }
    return {
        { "permissionQuestions", std::move(questions) },
        { "window", { { "width", window.size().width }, { "height", window.size().height }, { "idiom", window.is_tablet() ? "tablet" : "phone" }, { "lightStatusBar", window.status_bar_light_content } } },
        { "top", top ? top->class_name() : "" },
        { "wantsTicks", m_driver.loop().has_display_links() },
        { "root", root ? plain_json(root->snapshot()) : Json(nullptr) },
    };
}

void Bridge::publish(std::optional<ClientId> ticked, Json tick)
{
    m_published_turns = m_turns;
    m_skip_turn = true;
    bool anyone = false;
    for (auto const& [id, page] : m_pages)
        anyone = anyone || page.greeted;
    if (!anyone)
        return;

    auto state = current_state();
    // Drawing the state may have met texts nobody measured yet.
    if (m_text_layout)
        send_measure_requests(m_text_layout->take_new_requests());
    Json patch_message;
    if (state != m_state || m_version == 0) {
        auto patch = Json::diff(m_state, state);
        ++m_version;
        patch_message = { { "type", "frame" }, { "version", m_version }, { "base", m_version - 1 }, { "patch", std::move(patch) } };
        m_state = std::move(state);
    }
    std::string patch_text;
    std::string full_text;
    for (auto& [id, page] : m_pages) {
        if (!page.greeted)
            continue;
        bool answers_tick = ticked == id;
        Json message;
        if (page.needs_full || page.version + 1 < m_version || (page.version != m_version && patch_message.is_null())) {
            message = { { "type", "frame" }, { "version", m_version }, { "state", m_state } };
            if (!answers_tick) {
                if (full_text.empty())
                    full_text = dump(message);
                m_send(id, full_text, true);
            }
        } else if (page.version + 1 == m_version) {
            message = patch_message;
            if (!answers_tick) {
                if (patch_text.empty())
                    patch_text = dump(message);
                m_send(id, patch_text, true);
            }
        } else if (answers_tick) {
            message = { { "type", "frame" }, { "version", m_version } };
        }
        if (answers_tick) {
            message["tick"] = tick;
            m_send(id, dump(message), true);
        }
        page.version = m_version;
        page.needs_full = false;
    }
}

void Bridge::turn_ended()
{
    if (m_skip_turn) {
        m_skip_turn = false;
        return;
    }
    ++m_turns;
    if (m_publish_posted || m_pages.empty())
        return;
    m_publish_posted = true;
    m_driver.loop().post([this, alive = std::weak_ptr<int>(m_alive)] {
        if (alive.expired())
            return;
        m_publish_posted = false;
        if (m_turns != m_published_turns)
            publish();
        else
            m_skip_turn = true;
    });
}

}
