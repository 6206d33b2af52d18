// The HTTP and WebSocket server on loopback: the page's files from one
// folder only, who may connect, whole messages within their size, uploads
// within theirs.

#include "web/server.h"
#include "web_test_support.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace cw::web;
using namespace cw::web::test;
namespace fs = std::filesystem;

namespace {

void write_file(fs::path const& path, std::string const& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

// What the server handed on, collected for the test thread.
struct Recorder {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> messages;
    std::vector<Upload> uploads;
    std::string upload_refusal;

    WebServer::Handlers handlers(bool uploads_wanted = true)
    {
        WebServer::Handlers h;
        h.message = [this](ClientId, std::string_view text) {
            std::lock_guard lock(mutex);
            messages.emplace_back(text);
            changed.notify_all();
        };
        if (uploads_wanted) {
            h.uploaded = [this](Upload upload) {
                std::lock_guard lock(mutex);
                uploads.push_back(upload);
                return upload_refusal;
            };
        }
        return h;
    }

    std::optional<std::string> wait_message(size_t index)
    {
        std::unique_lock lock(mutex);
        if (!changed.wait_for(lock, patience, [&] { return messages.size() > index; }))
            return std::nullopt;
        return messages[index];
    }
};

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::path(folder.path()) / "www";
        write_file(root / "index.html", "<p>home</p>");
        write_file(root / "app.js", "export {};");
        write_file(root / ".hidden", "hidden");
        write_file(root / "sub" / "inner.css", "body {}");
        write_file(fs::path(folder.path()) / "secret.txt", "TOP SECRET");
        fs::create_directory_symlink(folder.path(), root / "link-out");
    }

    std::unique_ptr<WebServer> start(WebServer::Options options = {}, bool uploads_wanted = true)
    {
        options.port = 0;
        options.static_root = root.string();
        if (options.upload_folder.empty())
            options.upload_folder = folder.path() + "/uploads";
        return std::make_unique<WebServer>(options, recorder.handlers(uploads_wanted));
    }

    TemporaryFolder folder;
    fs::path root;
    Recorder recorder;
};

}

TEST_F(ServerTest, ServesThePageFilesAndNothingOutsideTheirFolder)
{
    auto server = start();
    struct Case {
        char const* target;
        int status;
        char const* body;
    };
    Case cases[] = {
        { "/", 200, "<p>home</p>" },
        { "/index.html", 200, "<p>home</p>" },
        { "/app.js", 200, "export {};" },
        { "/sub/inner.css", 200, "body {}" },
        { "/index.html?x=1", 200, "<p>home</p>" },
        { "/missing.js", 404, nullptr },
        { "/sub", 404, nullptr },
        { "/.hidden", 404, nullptr },
        { "/../secret.txt", 404, nullptr },
        { "/sub/../../secret.txt", 404, nullptr },
        { "/%2e%2e/secret.txt", 404, nullptr },
        { "/%2E%2E%2Fsecret.txt", 404, nullptr },
        { "/..%2fsecret.txt", 404, nullptr },
        { "/sub/..%5c..%5csecret.txt", 404, nullptr },
        { "//etc/passwd", 404, nullptr },
        { "/etc/passwd", 404, nullptr },
        { "/link-out/secret.txt", 404, nullptr },
        { "/../secret.txt%00.html", 404, nullptr },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.target);
        auto response = get(server->port(), c.target);
        EXPECT_EQ(response.status, c.status);
        if (c.body) {
            EXPECT_EQ(response.body, c.body);
        }
        EXPECT_EQ(response.body.find("TOP SECRET"), std::string::npos);
        EXPECT_EQ(response.body.find("root:"), std::string::npos);
    }
}

TEST_F(ServerTest, NamesTheTypesOfThePageFiles)
{
    auto server = start();
    EXPECT_NE(get(server->port(), "/app.js").head.find("Content-Type: text/javascript"), std::string::npos);
    EXPECT_NE(get(server->port(), "/").head.find("Content-Type: text/html"), std::string::npos);
    EXPECT_EQ(content_type_for("data.bin"), "application/octet-stream");
}

TEST_F(ServerTest, StaticFileRuleRefusesEveryWayOut)
{
    auto canonical = fs::canonical(root).string();
    for (auto const* path : { "", "index.html", "/./index.html", "/sub//inner.css", "/sub\\inner.css", "/a:b", "/link-out/secret.txt", "/sub/.." })
        EXPECT_FALSE(static_file_for(canonical, path)) << path;
    EXPECT_EQ(static_file_for(canonical, "/sub/inner.css"), canonical + "/sub/inner.css");
}

TEST_F(ServerTest, OnLoopbackRefusesForeignHostsAndOrigins)
{
    auto server = start();
    auto port = std::to_string(server->port());
    struct Case {
        std::string headers;
        int status;
    };
    Case cases[] = {
        { "Host: localhost:" + port + "\r\n", 200 },
        { "Host: [::1]:" + port + "\r\n", 200 },
        { "Host: attacker.example\r\n", 403 },
        { "Host: 127.0.0.1.attacker.example:" + port + "\r\n", 403 },
        { "Host: 127.0.0.1:" + port + "\r\nOrigin: http://127.0.0.1:" + port + "\r\n", 200 },
        { "Host: 127.0.0.1:" + port + "\r\nOrigin: http://attacker.example\r\n", 403 },
        { "Host: 127.0.0.1:" + port + "\r\nOrigin: null\r\n", 403 },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.headers);
        auto response = http(server->port(), "GET / HTTP/1.1\r\n" + c.headers + "Connection: close\r\n\r\n");
        EXPECT_EQ(response.status, c.status);
    }
    WsClient foreign(server->port(), "/ws", "http://attacker.example");
    EXPECT_FALSE(foreign.connected());
}

TEST_F(ServerTest, OffLoopbackEveryRequestNeedsTheToken)
{
    WebServer::Options options;
    // Still bound to loopback for the test, but run as the network server.
    options.token = "0123456789abcdef0123456789abcdef";
    auto server = start(options);
    auto port = server->port();

    struct Case {
        std::string target;
        std::string headers;
        int status;
    };
    Case cases[] = {
        { "/", "", 403 },
        { "/app.js", "", 403 },
        { "/?token=wrong", "", 403 },
        { "/?token=0123456789abcdef0123456789abcdeX", "", 403 },
        { "/?token=0123456789abcdef0123456789abcde", "", 403 },
        { "/?token=0123456789abcdef0123456789abcdef", "", 200 },
        { "/app.js", "Cookie: cuewright_token=0123456789abcdef0123456789abcdef\r\n", 200 },
        { "/app.js", "Cookie: cuewright_token=nope\r\n", 403 },
        { "/upload", "", 403 },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.target + " " + c.headers);
        EXPECT_EQ(get(port, c.target, c.headers).status, c.status);
    }
    auto first_visit = get(port, "/?token=0123456789abcdef0123456789abcdef");
    EXPECT_NE(first_visit.head.find("Set-Cookie: cuewright_token=0123456789abcdef0123456789abcdef; Path=/; HttpOnly; SameSite=Strict"), std::string::npos);

    WsClient without(port, "/ws");
    EXPECT_FALSE(without.connected());
    WsClient with(port, "/ws?token=0123456789abcdef0123456789abcdef");
    ASSERT_TRUE(with.connected()) << with.error();
    with.send(R"({"cmd":"screens"})");
    EXPECT_EQ(recorder.wait_message(0), R"({"cmd":"screens"})");
}

TEST_F(ServerTest, MessagesArriveWholeAndOversizedOrBinaryOnesAreRefused)
{
    WebServer::Options options;
    options.max_message_bytes = 4096;
    auto server = start(options);
    WsClient client(server->port(), "/ws");
    ASSERT_TRUE(client.connected()) << client.error();

    client.send(std::string(5000, 'x'));
    auto refusal = client.next();
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("\"ok\":false"), std::string::npos);
    EXPECT_NE(refusal->find("too large"), std::string::npos);

    client.send("binary", MG_WEBSOCKET_OPCODE_BINARY);
    auto binary = client.next();
    ASSERT_TRUE(binary);
    EXPECT_NE(binary->find("binary"), std::string::npos);

    // The connection is still good, and the handler only ever saw whole,
    // acceptable messages.
    std::string fits(4096, 'y');
    client.send(fits);
    EXPECT_EQ(recorder.wait_message(0), fits);
    std::lock_guard lock(recorder.mutex);
    EXPECT_EQ(recorder.messages.size(), 1u);
}

TEST_F(ServerTest, SendingToAClientThatLeftIsHarmless)
{
    auto server = start();
    {
        WsClient client(server->port(), "/ws");
        ASSERT_TRUE(client.connected());
    }
    for (ClientId id = 0; id < 5; ++id)
        server->send(id, "{}");
    server->send_to_all("{}");
    EXPECT_EQ(get(server->port(), "/").status, 200);
}

namespace {

std::string upload_request(int port, std::string const& name, std::string const& body, std::optional<size_t> declared_length)
{
    std::string request = "POST /upload?name=" + name + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\nConnection: close\r\n";
    if (declared_length)
        return request + "Content-Length: " + std::to_string(*declared_length) + "\r\n\r\n" + body;
    // Without a length: chunked, in one chunk.
    char size[32];
    std::snprintf(size, sizeof size, "%zx", body.size());
    return request + "Transfer-Encoding: chunked\r\n\r\n" + size + "\r\n" + body + "\r\n0\r\n\r\n";
}

}

TEST_F(ServerTest, UploadsAreStoredAndHandedOn)
{
    auto server = start();
    auto response = http(server->port(), upload_request(server->port(), "..%2F..%2Fmy%20talk.docx", "document bytes", 14));
    EXPECT_EQ(response.status, 200);
    std::lock_guard lock(recorder.mutex);
    ASSERT_EQ(recorder.uploads.size(), 1u);
    auto const& upload = recorder.uploads[0];
    EXPECT_EQ(upload.original_name, "../../my talk.docx");
    EXPECT_EQ(upload.size, 14u);
    // Kept in a folder of its own inside the upload folder, under the
    // name the presenter gave it, which the import shows and tests.
    EXPECT_EQ(fs::path(upload.path).parent_path().parent_path(), fs::path(folder.path()) / "uploads");
    EXPECT_EQ(fs::path(upload.path).filename(), "my talk.docx");
    std::ifstream in(upload.path);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "document bytes");
}

TEST_F(ServerTest, UploadedFilesKeepTheirNamesWithinWhatAFileNameMayHold)
{
    auto server = start();
    struct Case {
        char const* sent;
        char const* kept;
    } const cases[] = {
        { "Caf%C3%A9%20r%C3%A9sum%C3%A9.txt", "Café résumé.txt" },
        { "..%5C..%5Cwin.rtf", "win.rtf" },
        { "%2E%2Ehidden.txt", "hidden.txt" },
        { "tab%09and%0Anewline.doc", "tabandnewline.doc" },
        { "", "document" },
        { "..", "document" },
    };
    for (auto const& c : cases) {
        auto response = http(server->port(), upload_request(server->port(), c.sent, "x", 1));
        EXPECT_EQ(response.status, 200) << c.sent;
    }
    std::lock_guard lock(recorder.mutex);
    ASSERT_EQ(recorder.uploads.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(fs::path(recorder.uploads[i].path).filename(), cases[i].kept) << cases[i].sent;
}

TEST_F(ServerTest, UploadsAreCappedAt50MiBWithAClearError)
{
    auto server = start();
    ASSERT_EQ(server->options().max_upload_bytes, 50u << 20);
    // Declared too large: refused before a byte of it is read.
    auto response = http(server->port(), upload_request(server->port(), "big.docx", "", (50u << 20) + 1));
    EXPECT_EQ(response.status, 413);
    EXPECT_NE(response.body.find("50 MiB"), std::string::npos) << response.body;
    std::lock_guard lock(recorder.mutex);
    EXPECT_TRUE(recorder.uploads.empty());
}

TEST_F(ServerTest, UploadsWithoutADeclaredLengthStopAtTheCap)
{
    WebServer::Options options;
    options.max_upload_bytes = 1000;
    auto server = start(options);
    auto response = http(server->port(), upload_request(server->port(), "big.txt", std::string(1001, 'z'), std::nullopt));
    EXPECT_EQ(response.status, 413);
    EXPECT_NE(response.body.find("too large"), std::string::npos) << response.body;
    auto accepted = http(server->port(), upload_request(server->port(), "fits.txt", std::string(1000, 'z'), std::nullopt));
    EXPECT_EQ(accepted.status, 200);
    std::lock_guard lock(recorder.mutex);
    ASSERT_EQ(recorder.uploads.size(), 1u);
    EXPECT_EQ(recorder.uploads[0].size, 1000u);
    // Nothing of the refused one is left behind.
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(folder.path() + "/uploads"), {}), 2);
}

TEST_F(ServerTest, UploadsAreRefusedWhenNothingTakesThem)
{
    auto server = start({}, false);
    auto response = http(server->port(), upload_request(server->port(), "a.txt", "x", 1));
    EXPECT_EQ(response.status, 503);
    recorder.upload_refusal = "Only documents can be imported.";
    auto refusing = start();
    auto refused = http(refusing->port(), upload_request(refusing->port(), "a.png", "x", 1));
    EXPECT_EQ(refused.status, 422);
    EXPECT_NE(refused.body.find("Only documents can be imported."), std::string::npos);
    EXPECT_EQ(get(server->port(), "/upload").status, 405);
}

TEST_F(ServerTest, SavedTakesAreServedFromTheMediaFolderWithRanges)
{
    WebServer::Options options;
    options.media_root = folder.path() + "/media";
    fs::create_directories(options.media_root);
    std::ofstream(options.media_root + "/video_A.mov", std::ios::binary) << "0123456789";
    std::ofstream(folder.path() + "/secret.mov") << "TOP SECRET";
    auto server = start(options);
    int port = server->port();

    auto ranged = http(port, "GET /media/video_A.mov HTTP/1.1\r\nHost: 127.0.0.1\r\nRange: bytes=2-5\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(ranged.status, 206);
    EXPECT_EQ(ranged.body, "2345");

    auto whole = get(port, "/media/video_A.mov");
    EXPECT_EQ(whole.status, 200);
    EXPECT_EQ(whole.body, "0123456789");
    EXPECT_NE(whole.head.find("Content-Type: video/mp4"), std::string::npos) << whole.head;
    EXPECT_EQ(whole.head.find("Content-Disposition"), std::string::npos);
    auto saved = get(port, "/media/video_A.mov?download=1");
    EXPECT_NE(saved.head.find("Content-Disposition: attachment; filename=\"video_A.mov\""), std::string::npos) << saved.head;

    for (auto const* target : { "/media/../secret.mov", "/media/%2e%2e/secret.mov", "/media/..%2fsecret.mov", "/media/", "/media/missing.mov",
             "/media/sub/video_A.mov", "/media/.video_A.mov", "/mediavideo_A.mov" }) {
        auto response = get(port, target);
        EXPECT_EQ(response.status, 404) << target;
        EXPECT_EQ(response.body.find("TOP SECRET"), std::string::npos) << target;
    }
}
