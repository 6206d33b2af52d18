#pragma once

// The HTTP and WebSocket server of the browser front end, on civetweb.
//
// It serves three things:
//
//   GET  /...        the page's files, from one fixed folder, never outside it
//   WS   /ws         the page's WebSocket: whole text messages, one by one
//   POST /upload     a document the user picked, up to 50 MiB
//
// Who may connect. On a loopback address anyone on this machine may, but
// only through the loopback host names and only from the page itself: a
// request whose Host is not a loopback name (DNS rebinding) or whose Origin
// is another site (a web page the user happens to have open, talking to
// 127.0.0.1) is refused. When the server listens on another address, every
// request must also carry the access token, in the URL ("?token=...") or in
// the cookie the server sets once the token has been shown. Refusals answer
// 403 and reach nothing else.
//
// Threads. civetweb runs every connection on a thread of its own; the
// handlers below are called there and must only hand work on. Sending is
// thread-safe and never blocks the caller: each client has an outbox and a
// sender thread, so a slow phone on the network cannot stall the main loop.
// When a client falls far behind, its queued frame updates are dropped (the
// page notices the gap and asks for the whole state again); other messages
// are always delivered in order.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

struct mg_context;
struct mg_connection;

namespace cw::web {

using ClientId = std::uint64_t;

struct Upload {
    // The name the user's file had, as the browser sent it.
    std::string original_name;
    // Where the bytes are now, in the upload folder.
    std::string path;
    std::uint64_t size { 0 };
};

class WebServer {
public:
    struct Options {
        // A numeric address; loopback unless the user asked for the network.
        std::string address { "127.0.0.1" };
        // 0 picks a free port (tests).
        int port { 8765 };
        std::string static_root;
        // When set, every request must carry it.
        std::optional<std::string> token;
        std::size_t max_message_bytes { 1 << 20 };
        std::size_t max_upload_bytes { std::size_t { 50 } << 20 };
        std::size_t max_clients { 32 };
        // Where uploads land; uploads are refused while this is empty.
        std::string upload_folder;
        // The saved takes, served under /media/ with range requests for the
        // page's video player; nothing is served there while this is empty.
        std::string media_root;
    };

    // Called on civetweb's threads.
    struct Handlers {
        std::function<void(ClientId)> opened;
        // One whole text message, within the size limit.
        std::function<void(ClientId, std::string_view)> message;
        std::function<void(ClientId)> closed;
        // A finished upload. Answers an error text for the user, or empty.
        std::function<std::string(Upload)> uploaded;
    };

    enum class Kind { Reply, Frame };

    // Starts listening; throws std::runtime_error with civetweb's reason
    // when it cannot.
    WebServer(Options, Handlers);
    ~WebServer();
    WebServer(WebServer const&) = delete;
    WebServer& operator=(WebServer const&) = delete;

    int port() const { return m_port; }
    Options const& options() const { return m_options; }
    // The page's address on `host` (the listening address by default), with
    // the token when one is needed.
    std::string url(std::string const& host = {}) const;

    // Thread-safe; messages to a client that is gone are dropped.
    void send(ClientId, std::string text, Kind = Kind::Reply);
    void send_to_all(std::string const& text, Kind = Kind::Reply);
    std::size_t client_count() const;

    // An error reply in the protocol's shape: {"ok": false, "error": ...}.
    static std::string error_message(std::string const& text);

    struct Client;

private:
    friend struct ServerCallbacks;

    bool request_allowed(mg_connection*, bool* token_in_query) const;
    bool host_allowed(std::string_view host) const;
    bool token_matches(std::string_view candidate) const;
    int serve_file(mg_connection*);
    int serve_media(mg_connection*);
    int receive_upload(mg_connection*);
    bool accept_client(mg_connection const*);
    void client_ready(mg_connection*);
    bool client_data(mg_connection*, int bits, char* data, std::size_t length);
    void client_closed(mg_connection const*);
    std::shared_ptr<Client> find(ClientId) const;

    Options m_options;
    Handlers m_handlers;
    std::string m_canonical_root;
    std::string m_canonical_media_root;
    mg_context* m_context { nullptr };
    int m_port { 0 };

    mutable std::mutex m_mutex;
    std::map<ClientId, std::shared_ptr<Client>> m_clients;
    std::size_t m_pending_clients { 0 };
    ClientId m_next_id { 1 };
};

// Parts of the static-file rule, exposed for tests: the file under `root`
// that a decoded request path names, or none when the path tries to leave
// the root or names something hidden.
std::optional<std::string> static_file_for(std::string const& canonical_root, std::string_view decoded_path);
std::string content_type_for(std::string_view path);

}
