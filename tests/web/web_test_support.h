#pragma once

// Clients for the server tests, on loopback only: plain HTTP over a socket,
// and a WebSocket client on civetweb's client side. Nothing sleeps: every
// wait is on a condition with a generous limit, and reaching the limit
// fails the test.

#include <civetweb.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

namespace cw::web::test {

inline constexpr auto patience = std::chrono::seconds(20);

struct HttpResponse {
    int status { 0 };
    std::string head;
    std::string body;
};

// Sends one raw request and reads the answer until the server closes.
inline HttpResponse http(int port, std::string const& request)
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    timeval timeout { 20, 0 };
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    HttpResponse response;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return response;
    }
    size_t sent = 0;
    while (sent < request.size()) {
        auto n = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += static_cast<size_t>(n);
    }
    std::string all;
    char buffer[16384];
    for (;;) {
        auto n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        all.append(buffer, static_cast<size_t>(n));
        auto end = all.find("\r\n\r\n");
        if (end != std::string::npos) {
            auto length_at = all.find("Content-Length: ");
            if (length_at != std::string::npos && length_at < end) {
                auto length = std::stoul(all.substr(length_at + 16));
                if (all.size() >= end + 4 + length)
                    break;
            }
        }
    }
    close(fd);
    auto end = all.find("\r\n\r\n");
    if (all.size() > 12)
        response.status = std::stoi(all.substr(9, 3));
    response.head = all.substr(0, end);
    if (end != std::string::npos)
        response.body = all.substr(end + 4);
    return response;
}

inline HttpResponse get(int port, std::string const& target, std::string const& extra_headers = {})
{
    return http(port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n" + extra_headers + "Connection: close\r\n\r\n");
}

// A WebSocket client. Messages from the server queue up until `next`.
class WsClient {
public:
    WsClient(int port, std::string const& path, char const* origin = nullptr)
    {
        char error[256] = {};
        m_connection = mg_connect_websocket_client("127.0.0.1", port, 0, error, sizeof error, path.c_str(), origin, on_data, on_close, this);
        m_error = error;
    }
    ~WsClient()
    {
        if (m_connection)
            mg_close_connection(m_connection);
    }
    WsClient(WsClient const&) = delete;
    WsClient& operator=(WsClient const&) = delete;

    bool connected() const { return m_connection != nullptr; }
    std::string const& error() const { return m_error; }

    void send(std::string const& text, int opcode = MG_WEBSOCKET_OPCODE_TEXT)
    {
        mg_websocket_client_write(m_connection, opcode, text.data(), text.size());
    }

    // The next message, or none when nothing came in time.
    std::optional<std::string> next()
    {
        std::unique_lock lock(m_mutex);
        if (!m_ready.wait_for(lock, patience, [&] { return !m_messages.empty() || m_closed; }) || m_messages.empty())
            return std::nullopt;
        auto message = std::move(m_messages.front());
        m_messages.pop_front();
        return message;
    }

    bool wait_closed()
    {
        std::unique_lock lock(m_mutex);
        return m_ready.wait_for(lock, patience, [&] { return m_closed; });
    }

private:
    static int on_data(mg_connection*, int bits, char* data, size_t length, void* self)
    {
        auto& client = *static_cast<WsClient*>(self);
        int opcode = bits & 0x0f;
        if (opcode == MG_WEBSOCKET_OPCODE_TEXT) {
            std::lock_guard lock(client.m_mutex);
            client.m_messages.emplace_back(data, length);
            client.m_ready.notify_all();
        }
        return opcode == MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE ? 0 : 1;
    }
    static void on_close(mg_connection const*, void* self)
    {
        auto& client = *static_cast<WsClient*>(self);
        std::lock_guard lock(client.m_mutex);
        client.m_closed = true;
        client.m_ready.notify_all();
    }

    mg_connection* m_connection { nullptr };
    std::string m_error;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::string> m_messages;
    bool m_closed { false };
};

// A fresh folder that goes away with the test.
class TemporaryFolder {
public:
    TemporaryFolder()
    {
        auto base = std::filesystem::temp_directory_path() / "cuewright-web-test-XXXXXX";
        std::string name = base.string();
        m_path = mkdtemp(name.data());
    }
    ~TemporaryFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    std::string const& path() const { return m_path; }

private:
    std::string m_path;
};

}
