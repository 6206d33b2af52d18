#include "server.h"

#include "web/random.h"

#include <civetweb.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace cw::web {

namespace fs = std::filesystem;

static constexpr char token_cookie[] = "cuewright_token";

struct WebServer::Client {
    ClientId id { 0 };

    // Only the sender thread writes messages, under `write_mutex`; the
    // close handler clears `connection` under it, so nobody writes to a
    // connection civetweb is about to free.
    std::mutex write_mutex;
    mg_connection* connection { nullptr };

    std::mutex queue_mutex;
    std::condition_variable wake;
    std::deque<std::pair<std::string, Kind>> outbox;
    std::size_t queued_frames { 0 };
    bool closed { false };
    std::thread sender;

    // The reader thread's message in progress, when it comes in fragments.
    std::string message;
    bool assembling { false };
    bool oversized { false };
    bool binary { false };

    void write(int opcode, char const* data, std::size_t length)
    {
        std::lock_guard lock(write_mutex);
        if (connection)
            mg_websocket_write(connection, opcode, data, length);
    }

    void run_sender()
    {
        for (;;) {
            std::string text;
            {
                std::unique_lock lock(queue_mutex);
                wake.wait(lock, [&] { return closed || !outbox.empty(); });
                if (closed)
                    return;
                auto [front, kind] = std::move(outbox.front());
                outbox.pop_front();
                if (kind == Kind::Frame)
                    --queued_frames;
                text = std::move(front);
            }
            write(MG_WEBSOCKET_OPCODE_TEXT, text.data(), text.size());
        }
    }

    // A client this many frame updates behind gets none of them: it will ask
    // for the whole state once it sees the gap.
    static constexpr std::size_t max_queued_frames = 30;

    void enqueue(std::string text, Kind kind)
    {
        {
            std::lock_guard lock(queue_mutex);
            if (closed)
                return;
            if (kind == Kind::Frame) {
                if (queued_frames >= max_queued_frames) {
                    std::erase_if(outbox, [](auto const& item) { return item.second == Kind::Frame; });
                    queued_frames = 0;
                    return;
                }
                ++queued_frames;
            }
            outbox.emplace_back(std::move(text), kind);
        }
        wake.notify_one();
    }
};

// Writes a whole response. (civetweb's own response-header helpers are
// avoided: in the packaged version they fail after a request body was read.)
static void respond(mg_connection* connection, int status, std::string const& content_type, std::string const& body,
    std::string const& extra_headers = {}, bool with_body = true)
{
    std::string head = "HTTP/1.1 " + std::to_string(status) + " " + mg_get_response_code_text(connection, status) + "\r\n"
        + "Content-Type: " + content_type + "\r\n"
        + "Content-Length: " + std::to_string(body.size()) + "\r\n"
        + "Cache-Control: no-cache\r\n"
        + "X-Content-Type-Options: nosniff\r\n"
        + "Referrer-Policy: no-referrer\r\n"
        + extra_headers
        + "Connection: close\r\n\r\n";
    mg_write(connection, head.data(), head.size());
    if (with_body)
        mg_write(connection, body.data(), body.size());
}

// civetweb calls plain functions; these forward to the server.
struct ServerCallbacks {
    static WebServer& server(void* data) { return *static_cast<WebServer*>(data); }

    static int authorize(mg_connection* connection, void* data)
    {
        if (server(data).request_allowed(connection, nullptr))
            return 1;
        respond(connection, 403, "text/plain; charset=utf-8", "Forbidden. Open the address Cuewright printed when it started, with its token." "\n");
        return 0;
    }
    static int files(mg_connection* connection, void* data) { return server(data).serve_file(connection); }
    static int upload(mg_connection* connection, void* data) { return server(data).receive_upload(connection); }
    static int media(mg_connection* connection, void* data) { return server(data).serve_media(connection); }
    static int ws_connect(mg_connection const* connection, void* data) { return server(data).accept_client(connection) ? 0 : 1; }
    static void ws_ready(mg_connection* connection, void* data) { server(data).client_ready(connection); }
    static int ws_data(mg_connection* connection, int bits, char* bytes, size_t length, void* data)
    {
        return server(data).client_data(connection, bits, bytes, length) ? 1 : 0;
    }
    static void ws_close(mg_connection const* connection, void* data) { server(data).client_closed(connection); }
    static int log_message(mg_connection const*, char const* message)
    {
        std::fprintf(stderr, "cuewright web server: %s\n", message);
        return 1;
    }
};

static bool is_ipv6(std::string const& address)
{
    return address.find(':') != std::string::npos;
}

static std::string host_for_url(std::string const& address)
{
    return is_ipv6(address) ? "[" + address + "]" : address;
}

static bool is_loopback(std::string const& address)
{
    return address == "::1" || address.starts_with("127.");
}

WebServer::WebServer(Options options, Handlers handlers)
    : m_options(std::move(options))
    , m_handlers(std::move(handlers))
{
    std::error_code error;
    m_canonical_root = fs::canonical(m_options.static_root, error).string();
    if (!m_options.media_root.empty()) {
        fs::create_directories(m_options.media_root, error);
        m_canonical_media_root = fs::canonical(m_options.media_root, error).string();
    }
    if (error)
        throw std::runtime_error("the page's folder " + m_options.static_root + " cannot be read: " + error.message());

    mg_init_library(0);
    std::string ports = host_for_url(m_options.address) + ":" + std::to_string(m_options.port);
    std::string threads = std::to_string(m_options.max_clients + 8);
    char const* config[] = {
        "listening_ports", ports.c_str(),
        "num_threads", threads.c_str(),
        // Quiet pages are pinged, so a vanished phone is noticed and a page
        // left open is not dropped.
        "websocket_timeout_ms", "10000",
        "enable_websocket_ping_pong", "yes",
        "request_timeout_ms", "30000",
        // Frame updates are small and must not wait for the client's
        // delayed acknowledgement (Nagle's algorithm would hold them back
        // by tens of milliseconds, a few painted frames).
        "tcp_nodelay", "1",
        nullptr,
    };
    mg_callbacks callbacks {};
    callbacks.log_message = ServerCallbacks::log_message;
    mg_init_data init {};
    init.callbacks = &callbacks;
    init.user_data = this;
    init.configuration_options = config;
    char error_text[256] = {};
    unsigned error_code = 0;
    mg_error_data error_data { &error_code, error_text, sizeof error_text };
    m_context = mg_start2(&init, &error_data);
    if (!m_context) {
        mg_exit_library();
        throw std::runtime_error(std::string("cannot listen on ") + ports + ": " + (error_text[0] ? error_text : "unknown error"));
    }
    mg_set_auth_handler(m_context, "/", ServerCallbacks::authorize, this);
    // civetweb takes the first handler whose pattern matches.
    mg_set_request_handler(m_context, "/upload$", ServerCallbacks::upload, this);
    mg_set_request_handler(m_context, "/media/", ServerCallbacks::media, this);
    mg_set_request_handler(m_context, "/", ServerCallbacks::files, this);
    mg_set_websocket_handler(m_context, "/ws$", ServerCallbacks::ws_connect, ServerCallbacks::ws_ready,
        ServerCallbacks::ws_data, ServerCallbacks::ws_close, this);

    mg_server_port listening[4] = {};
    int count = mg_get_server_ports(m_context, 4, listening);
    m_port = count > 0 ? listening[0].port : m_options.port;
}

WebServer::~WebServer()
{
    if (m_context) {
        // Closes every connection; their close handlers join the senders.
        mg_stop(m_context);
        mg_exit_library();
    }
}

std::string WebServer::url(std::string const& host) const
{
    std::string url = "http://" + host_for_url(host.empty() ? m_options.address : host) + ":" + std::to_string(m_port) + "/";
    if (m_options.token)
        url += "?token=" + *m_options.token;
    return url;
}

std::string WebServer::error_message(std::string const& text)
{
    return nlohmann::json { { "ok", false }, { "error", text } }.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// --- who may connect -------------------------------------------------------

bool WebServer::token_matches(std::string_view candidate) const
{
    auto const& token = *m_options.token;
    if (candidate.size() != token.size())
        return false;
    // Every byte is compared, so the time taken tells nothing about how
    // much of a guess was right.
    unsigned char difference = 0;
    for (std::size_t i = 0; i < token.size(); ++i)
        difference |= static_cast<unsigned char>(candidate[i] ^ token[i]);
    return difference == 0;
}

bool WebServer::host_allowed(std::string_view host) const
{
    if (!is_loopback(m_options.address))
        return true;
    auto port_at = host.rfind(':');
    if (port_at != std::string_view::npos && host.find(']') < port_at)
        host = host.substr(0, port_at);
    else if (port_at != std::string_view::npos && host.find(':') == port_at)
        host = host.substr(0, port_at);
    return host == "127.0.0.1" || host == "localhost" || host == "[::1]";
}

bool WebServer::request_allowed(mg_connection* connection, bool* token_in_query) const
{
    char const* host = mg_get_header(connection, "Host");
    if (!host || !host_allowed(host))
        return false;
    if (char const* origin = mg_get_header(connection, "Origin")) {
        if (std::string_view(origin) != std::string("http://") + host)
            return false;
    }
    if (!m_options.token)
        return true;
    char value[256];
    auto const* info = mg_get_request_info(connection);
    if (info->query_string) {
        int length = mg_get_var(info->query_string, std::strlen(info->query_string), "token", value, sizeof value);
        if (length > 0 && token_matches({ value, static_cast<std::size_t>(length) })) {
            if (token_in_query)
                *token_in_query = true;
            return true;
        }
    }
    if (char const* cookie = mg_get_header(connection, "Cookie")) {
        int length = mg_get_cookie(cookie, token_cookie, value, sizeof value);
        if (length > 0 && token_matches({ value, static_cast<std::size_t>(length) }))
            return true;
    }
    return false;
}

// --- the page's files ------------------------------------------------------

std::optional<std::string> static_file_for(std::string const& canonical_root, std::string_view path)
{
    if (path.empty() || path.front() != '/')
        return std::nullopt;
    if (path == "/")
        path = "/index.html";
    std::string relative;
    std::size_t start = 1;
    while (start <= path.size()) {
        auto end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        auto segment = path.substr(start, end - start);
        // No parent or current folder, no hidden files, no empty segments
        // ("//etc"), no back slashes or NULs that another layer might read
        // differently.
        if (segment.empty() || segment.front() == '.' || segment.find_first_of(std::string_view("\\\0:", 3)) != std::string_view::npos)
            return std::nullopt;
        if (!relative.empty())
            relative += '/';
        relative += segment;
        start = end + 1;
    }
    std::error_code error;
    auto candidate = fs::weakly_canonical(fs::path(canonical_root) / relative, error);
    if (error)
        return std::nullopt;
    auto text = candidate.string();
    // A link inside the folder must not lead out of it either.
    if (!text.starts_with(canonical_root + "/") || !fs::is_regular_file(candidate, error))
        return std::nullopt;
    return text;
}

std::string content_type_for(std::string_view path)
{
    static constexpr std::pair<std::string_view, std::string_view> types[] = {
        { ".html", "text/html; charset=utf-8" },
        { ".js", "text/javascript; charset=utf-8" },
        { ".css", "text/css; charset=utf-8" },
        { ".json", "application/json" },
        { ".svg", "image/svg+xml" },
        { ".png", "image/png" },
        { ".ico", "image/x-icon" },
        { ".woff2", "font/woff2" },
        // Takes are QuickTime movies of H.264 video, which browsers play as
        // MPEG-4.
        { ".mov", "video/mp4" },
        { ".mp4", "video/mp4" },
    };
    for (auto const& [extension, type] : types) {
        if (path.ends_with(extension))
            return std::string(type);
    }
    return "application/octet-stream";
}

// Files are only read here: anything but GET and HEAD gets 405.
static bool refuse_unless_reading(mg_connection* connection, std::string_view method)
{
    if (method == "GET" || method == "HEAD")
        return true;
    respond(connection, 405, "text/plain; charset=utf-8", "Only GET and HEAD are served here." "\n");
    return false;
}

int WebServer::serve_file(mg_connection* connection)
{
    auto const* info = mg_get_request_info(connection);
    std::string_view method = info->request_method;
    if (!refuse_unless_reading(connection, method))
        return 405;
    auto file = info->local_uri_raw ? static_file_for(m_canonical_root, info->local_uri_raw) : std::nullopt;
    std::ifstream in;
    if (file)
        in.open(*file, std::ios::binary);
    if (!file || !in.is_open()) {
        respond(connection, 404, "text/plain; charset=utf-8", "Not found." "\n");
        return 404;
    }
    std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bool token_in_query = false;
    request_allowed(connection, &token_in_query);

    std::string cookie;
    if (token_in_query)
        cookie = "Set-Cookie: " + std::string(token_cookie) + "=" + *m_options.token + "; Path=/; HttpOnly; SameSite=Strict\r\n";
    respond(connection, 200, content_type_for(*file), body, cookie, method == "GET");
    return 200;
}

// --- saved takes ------------------------------------------------------------

// One file of the media folder, by name: /media/video_<id>.mov. civetweb
// answers range requests, which the page's video element uses to seek.
// With ?download=1 the browser saves the file instead of showing it.
int WebServer::serve_media(mg_connection* connection)
{
    auto const* info = mg_get_request_info(connection);
    std::string_view method = info->request_method;
    if (!refuse_unless_reading(connection, method))
        return 405;
    std::string_view uri = info->local_uri_raw ? info->local_uri_raw : "";
    std::string_view prefix = "/media";
    std::optional<std::string> file;
    // Takes are named by the application (video_<id>.mov): plain
    // characters only, one level, nothing for a header to trip on.
    auto name = uri.starts_with(prefix) ? uri.substr(prefix.size() + 1) : std::string_view {};
    bool plain = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
    });
    if (!m_canonical_media_root.empty() && uri.size() > prefix.size() && uri[prefix.size()] == '/' && plain)
        file = static_file_for(m_canonical_media_root, uri.substr(prefix.size()));
    if (!file) {
        respond(connection, 404, "text/plain; charset=utf-8", "Not found." "\n");
        return 404;
    }
    std::string headers = "Cache-Control: no-cache\r\nX-Content-Type-Options: nosniff";
    char download[8] = {};
    if (info->query_string && mg_get_var(info->query_string, std::strlen(info->query_string), "download", download, sizeof download) > 0)
        headers += "\r\nContent-Disposition: attachment; filename=\"" + fs::path(*file).filename().string() + "\"";
    mg_send_mime_file2(connection, file->c_str(), content_type_for(*file).c_str(), headers.c_str());
    return 200;
}

// --- uploads ---------------------------------------------------------------

static void answer_json(mg_connection* connection, int status, std::string const& body)
{
    respond(connection, status, "application/json", body);
}

// The last path component of the user's file name, as they named it: the
// import shows it and tests its ending. Only what no file name may hold
// (separators, control characters, leading dots) is dropped, and a very
// long name keeps its end.
static std::string upload_file_name(std::string_view name)
{
    if (auto slash = name.find_last_of("/\\"); slash != std::string_view::npos)
        name = name.substr(slash + 1);
    std::string kept;
    for (char c : name) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F)
            kept += c;
    }
    while (!kept.empty() && kept.front() == '.')
        kept.erase(kept.begin());
    constexpr std::size_t longest = 200;
    if (kept.size() > longest) {
        auto cut = kept.size() - longest;
        // Start on a whole UTF-8 character.
        while (cut < kept.size() && (static_cast<unsigned char>(kept[cut]) & 0xC0) == 0x80)
            ++cut;
        kept.erase(0, cut);
    }
    return kept.empty() ? "document" : kept;
}

int WebServer::receive_upload(mg_connection* connection)
{
    auto const* info = mg_get_request_info(connection);
    if (std::string_view(info->request_method) != "POST") {
        respond(connection, 405, "text/plain; charset=utf-8", "Uploads are sent with POST." "\n");
        return 405;
    }
    auto limit = m_options.max_upload_bytes;
    auto too_large = "The file is too large: documents of up to " + std::to_string(limit >> 20) + " MiB can be imported.";
    if (m_options.upload_folder.empty() || !m_handlers.uploaded) {
        answer_json(connection, 503, error_message("Importing documents is not available."));
        return 503;
    }
    if (info->content_length > static_cast<long long>(limit)) {
        // Refused before reading a byte of it.
        answer_json(connection, 413, error_message(too_large));
        return 413;
    }
    char name[512] = {};
    if (info->query_string)
        mg_get_var(info->query_string, std::strlen(info->query_string), "name", name, sizeof name);
    // Each upload gets a folder of its own, so the file keeps its name.
    std::error_code error;
    auto folder = m_options.upload_folder + "/" + random_hex(8);
    fs::create_directories(folder, error);
    auto path = folder + "/" + upload_file_name(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        fs::remove_all(folder, error);
        answer_json(connection, 500, error_message("The upload could not be stored."));
        return 500;
    }
    std::uint64_t total = 0;
    char buffer[64 * 1024];
    for (;;) {
        int got = mg_read(connection, buffer, sizeof buffer);
        if (got <= 0)
            break;
        total += static_cast<std::uint64_t>(got);
        if (total > limit) {
            out.close();
            fs::remove_all(folder, error);
            // Read a little of what is left, so the client sees the answer
            // rather than a reset connection.
            for (std::size_t drained = 0; drained < (std::size_t { 4 } << 20);) {
                int more = mg_read(connection, buffer, sizeof buffer);
                if (more <= 0)
                    break;
                drained += static_cast<std::size_t>(more);
            }
            answer_json(connection, 413, error_message(too_large));
            return 413;
        }
        out.write(buffer, got);
    }
    out.close();
    if (!out) {
        fs::remove_all(folder, error);
        answer_json(connection, 500, error_message("The upload could not be stored."));
        return 500;
    }
    auto refusal = m_handlers.uploaded(Upload { name, path, total });
    if (!refusal.empty()) {
        fs::remove_all(folder, error);
        answer_json(connection, 422, error_message(refusal));
        return 422;
    }
    answer_json(connection, 200, nlohmann::json { { "ok", true }, { "bytes", total } }.dump());
    return 200;
}

// --- WebSocket clients -----------------------------------------------------

std::shared_ptr<WebServer::Client> WebServer::find(ClientId id) const
{
    std::lock_guard lock(m_mutex);
    auto it = m_clients.find(id);
    return it == m_clients.end() ? nullptr : it->second;
}

bool WebServer::accept_client(mg_connection const*)
{
    std::lock_guard lock(m_mutex);
    if (m_clients.size() + m_pending_clients >= m_options.max_clients)
        return false;
    ++m_pending_clients;
    return true;
}

void WebServer::client_ready(mg_connection* connection)
{
    auto client = std::make_shared<Client>();
    client->connection = connection;
    {
        std::lock_guard lock(m_mutex);
        --m_pending_clients;
        client->id = m_next_id++;
        m_clients.emplace(client->id, client);
    }
    mg_set_user_connection_data(connection, client.get());
    client->sender = std::thread([raw = client.get()] { raw->run_sender(); });
    if (m_handlers.opened)
        m_handlers.opened(client->id);
}

bool WebServer::client_data(mg_connection* connection, int bits, char* data, std::size_t length)
{
    auto* client = static_cast<Client*>(mg_get_user_connection_data(connection));
    if (!client)
        return false;
    int opcode = bits & 0x0f;
    bool last = (bits & 0x80) != 0;
    switch (opcode) {
    case MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE:
        return false;
    case MG_WEBSOCKET_OPCODE_PING:
        client->write(MG_WEBSOCKET_OPCODE_PONG, data, length);
        return true;
    case MG_WEBSOCKET_OPCODE_PONG:
        return true;
    case MG_WEBSOCKET_OPCODE_TEXT:
    case MG_WEBSOCKET_OPCODE_BINARY:
        client->message.clear();
        client->oversized = false;
        client->binary = opcode == MG_WEBSOCKET_OPCODE_BINARY;
        client->assembling = true;
        break;
    case MG_WEBSOCKET_OPCODE_CONTINUATION:
        if (!client->assembling) {
            send(client->id, error_message("a continuation frame without a message was dropped"));
            return true;
        }
        break;
    default:
        send(client->id, error_message("an unknown kind of frame was dropped"));
        return true;
    }
    if (!client->oversized && client->message.size() + length > m_options.max_message_bytes) {
        client->oversized = true;
        client->message = std::string();
    }
    if (!client->oversized && !client->binary)
        client->message.append(data, length);
    if (!last)
        return true;
    client->assembling = false;
    if (client->oversized)
        send(client->id, error_message("the message was too large (the limit is " + std::to_string(m_options.max_message_bytes) + " bytes) and was dropped"));
    else if (client->binary)
        send(client->id, error_message("binary messages are not understood; the message was dropped"));
    else if (m_handlers.message)
        m_handlers.message(client->id, client->message);
    client->message = std::string();
    return true;
}

void WebServer::client_closed(mg_connection const* connection)
{
    auto* raw = static_cast<Client*>(mg_get_user_connection_data(connection));
    if (!raw) {
        // Refused or failed before it was ready.
        std::lock_guard lock(m_mutex);
        if (m_pending_clients > 0)
            --m_pending_clients;
        return;
    }
    std::shared_ptr<Client> client;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_clients.find(raw->id);
        if (it != m_clients.end()) {
            client = it->second;
            m_clients.erase(it);
        }
    }
    if (!client)
        return;
    {
        std::lock_guard lock(client->write_mutex);
        client->connection = nullptr;
    }
    {
        std::lock_guard lock(client->queue_mutex);
        client->closed = true;
        client->outbox.clear();
    }
    client->wake.notify_one();
    if (client->sender.joinable())
        client->sender.join();
    if (m_handlers.closed)
        m_handlers.closed(client->id);
}

void WebServer::send(ClientId id, std::string text, Kind kind)
{
    if (auto client = find(id))
        client->enqueue(std::move(text), kind);
}

void WebServer::send_to_all(std::string const& text, Kind kind)
{
    std::vector<std::shared_ptr<Client>> clients;
    {
        std::lock_guard lock(m_mutex);
        for (auto const& [id, client] : m_clients)
            clients.push_back(client);
    }
    for (auto& client : clients)
        client->enqueue(text, kind);
}

std::size_t WebServer::client_count() const
{
    std::lock_guard lock(m_mutex);
    return m_clients.size();
}

}
