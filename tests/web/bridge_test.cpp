// Pages talking to a running device over a real WebSocket on loopback: the
// greeting, frames as whole states and as patches, ticks, several pages at
// once, and messages that are malformed, too deep or out of order.

#include "web/bridge.h"
#include "web/page_links.h"
#include "web/server.h"
#include "web_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

using namespace cw;
using namespace cw::web;
using namespace cw::web::test;
using Json = nlohmann::json;

namespace {

// A device on the real clock, its bridge and the server, with the main
// loop on a thread of its own, as in the program. The test thread only
// talks to it over WebSockets until `stop`.
class LiveRig {
public:
    LiveRig()
    {
        std::ofstream(folder.path() + "/index.html") << "<p>page</p>";
        device = &driver.adopt_device("main", std::make_unique<SimDevice>(loop));
        device->launch();
        bridge = std::make_unique<Bridge>(driver, *device, [this](ClientId id, std::string text, bool frame) {
            if (auto* s = server_for_bridge.load())
                s->send(id, std::move(text), frame ? WebServer::Kind::Frame : WebServer::Kind::Reply);
        });
        WebServer::Options options;
        options.port = 0;
        options.static_root = folder.path();
        server = std::make_unique<WebServer>(options, WebServer::Handlers {
            [this](ClientId id) { bridge->opened(id); },
            [this](ClientId id, std::string_view text) { bridge->message(id, text); },
            [this](ClientId id) { bridge->closed(id); },
            {},
        });
        server_for_bridge = server.get();
        thread = std::thread([this] { loop.run(); });
    }

    ~LiveRig() { stop(); }

    // Stops the loop; the device may be inspected afterwards.
    void stop()
    {
        if (!thread.joinable())
            return;
        loop.quit();
        thread.join();
        server_for_bridge = nullptr;
        server.reset();
        bridge.reset();
    }

    int port() const { return server->port(); }

    TemporaryFolder folder;
    RunLoop loop { RunLoop::Time::Real };
    Driver driver { loop };
    SimDevice* device { nullptr };
    std::unique_ptr<Bridge> bridge;
    std::atomic<WebServer*> server_for_bridge { nullptr };
    std::unique_ptr<WebServer> server;
    std::thread thread;
};

// One page's side: keeps the state up to date from whole states and
// patches, as the page does.
class PageClient {
public:
    explicit PageClient(int port)
        : socket(port, "/ws")
    {
    }

    void send(Json const& message) { socket.send(message.dump()); }

    // Reads messages until one matches; frames on the way are applied.
    Json until(std::function<bool(Json const&)> wanted)
    {
        for (;;) {
            auto text = socket.next();
            if (!text) {
                ADD_FAILURE() << "no matching message came";
                return nullptr;
            }
            auto message = Json::parse(*text);
            if (message.value("type", "") == "frame")
                apply(message);
            if (wanted(message))
                return message;
        }
    }
    // Reads until the page's state satisfies `wanted` (at once if it does).
    void until_state(std::function<bool(Json const&)> wanted)
    {
        if (!state.is_null() && wanted(state))
            return;
        until([&](Json const&) { return !state.is_null() && wanted(state); });
    }
    Json answer(int id)
    {
        return until([id](Json const& m) { return m.contains("id") && m["id"] == id; });
    }
    Json of_type(std::string const& type)
    {
        return until([type](Json const& m) { return m.value("type", "") == type; });
    }
    Json next_error()
    {
        return until([](Json const& m) { return m.contains("ok") && m["ok"] == false; });
    }

    void hello(double width, double height, bool focused = true)
    {
        send({ { "cmd", "hello" }, { "width", width }, { "height", height }, { "focused", focused }, { "visible", true } });
        of_type("welcome");
        until([](Json const& m) { return m.value("type", "") == "frame" && m.contains("state"); });
    }

    void apply(Json const& frame)
    {
        if (frame.contains("state")) {
            state = frame["state"];
        } else if (frame.contains("patch")) {
            EXPECT_EQ(frame["base"], version);
            state = state.patch(frame["patch"]);
            ++patches;
        }
        version = frame["version"];
    }

    WsClient socket;
    Json state;
    Json version = 0;
    int patches = 0;
};

}

TEST(Bridge, APageIsGreetedWithItsRoleAndTheWholeState)
{
    LiveRig rig;
    PageClient page(rig.port());
    ASSERT_TRUE(page.socket.connected());
    page.send({ { "cmd", "hello" }, { "width", 500 }, { "height", 700 }, { "focused", true }, { "visible", true } });
    auto welcome = page.of_type("welcome");
    EXPECT_EQ(welcome["idiom"], "phone");
    EXPECT_EQ(page.of_type("role")["driving"], true);
    auto frame = page.until([](Json const& m) { return m.value("type", "") == "frame"; });
    ASSERT_TRUE(frame.contains("state"));
    EXPECT_EQ(frame["state"]["top"], "ViewController");
    EXPECT_EQ(frame["state"]["window"]["width"], 500);
    EXPECT_EQ(frame["state"]["root"]["class"], "NavigationController");
    EXPECT_EQ(frame["state"]["wantsTicks"], false);
    rig.stop();
    EXPECT_EQ(rig.device->context().window.size(), (Size { 500, 700 }));
}

TEST(Bridge, BadMessagesGetAnErrorAnswerAndAreDropped)
{
    LiveRig rig;
    PageClient page(rig.port());

    // Out of order: everything waits for hello.
    page.send({ { "cmd", "screens" }, { "id", 1 } });
    EXPECT_NE(page.answer(1)["error"].get<std::string>().find("hello first"), std::string::npos);
    page.hello(390, 844);

    std::string deep = std::string(5000, '[') + std::string(5000, ']');
    struct Case {
        std::string message;
        char const* error;
    };
    Case cases[] = {
        { "nonsense", "not valid JSON" },
        { "{\"cmd\":\"screens\"", "not valid JSON" },
        { "[1, 2]", "JSON object" },
        { "{}", "JSON object" },
        { R"({"cmd": 7})", "JSON object" },
        { deep, "nested too deeply" },
        { R"({"cmd":"screens","seq":"1"})", "whole number" },
        { R"({"cmd":"hello","width":1,"height":1,"id":2})", "already said hello" },
        { R"({"cmd":"launch","id":3})", "headless" },
        { R"({"cmd":"advance","seconds":10,"id":4})", "headless" },
        { R"({"cmd":"viewport","width":-5,"height":10,"id":5})", "viewport" },
        { R"({"cmd":"no_such_command","id":6})", "unknown command" },
        { R"({"cmd":"tap_view","path":[0,0,0,0,9],"id":7})", "no view" },
        { R"({"cmd":"touch","phase":"sideways","id":8})", "phase" },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.message.substr(0, 60));
        page.socket.send(c.message);
        auto error = page.next_error();
        EXPECT_NE(error.value("error", "").find(c.error), std::string::npos) << error.dump();
    }

    // Sequence numbers must grow; a message that goes back is dropped.
    page.send({ { "cmd", "screens" }, { "seq", 5 }, { "id", 10 } });
    EXPECT_EQ(page.answer(10)["ok"], true);
    page.send({ { "cmd", "screens" }, { "seq", 5 }, { "id", 11 } });
    EXPECT_NE(page.answer(11)["error"].get<std::string>().find("out of order"), std::string::npos);
    page.send({ { "cmd", "screens" }, { "seq", 4 }, { "id", 12 } });
    EXPECT_EQ(page.answer(12)["ok"], false);
    page.send({ { "cmd", "screens" }, { "seq", 6 }, { "id", 13 } });
    auto fine = page.answer(13);
    EXPECT_EQ(fine["ok"], true);
    EXPECT_EQ(fine["top"], "ViewController");
}

TEST(Bridge, EveryPageSeesTheChangesAsPatches)
{
    LiveRig rig;
    PageClient first(rig.port());
    first.hello(400, 800);
    PageClient second(rig.port());
    second.hello(800, 600);
    // The page focused last gives the window its size; both see it.
    first.until_state([](Json const& s) { return s["window"]["width"] == 800; });

    // A page takes the focus: the window follows its viewport, and the
    // other page learns it as a patch.
    first.send({ { "cmd", "focus" }, { "id", 1 } });
    EXPECT_EQ(first.answer(1)["ok"], true);
    EXPECT_EQ(second.of_type("role")["driving"], false);
    second.until_state([](Json const& s) { return s["window"]["width"] == 400; });
    EXPECT_GE(second.patches, 1);

    // Input from either page counts, and both pages agree with the device.
    second.send({ { "cmd", "resize" }, { "width", 321 }, { "height", 456 }, { "id", 2 } });
    EXPECT_EQ(second.answer(2)["ok"], true);
    first.until_state([](Json const& s) { return s["window"]["width"] == 321; });
    first.send({ { "cmd", "resync" }, { "id", 3 } });
    auto whole = first.until([](Json const& m) { return m.contains("state"); });
    EXPECT_EQ(first.state, whole["state"]);
    second.until_state([](Json const& s) { return s["window"]["height"] == 456; });
    EXPECT_EQ(second.state, whole["state"]);
}

TEST(Bridge, TicksFromTheDrivingPageFireDisplayRefreshes)
{
    LiveRig rig;
    PageClient driving(rig.port());
    driving.hello(390, 844);
    PageClient watching(rig.port());
    watching.hello(390, 844, false);

    for (int frame = 1; frame <= 3; ++frame) {
        driving.send({ { "cmd", "tick" }, { "frame", frame } });
        auto answer = driving.until([](Json const& m) { return m.contains("tick"); });
        EXPECT_EQ(answer["tick"], frame);
    }
    watching.send({ { "cmd", "tick" }, { "frame", 1 } });
    EXPECT_EQ(watching.of_type("role")["driving"], false);

    // When the driving page leaves, the other one takes over.
    driving.socket.send("", MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE);
    EXPECT_EQ(watching.of_type("role")["driving"], true);
    rig.stop();
    EXPECT_EQ(rig.loop.frames_fired(), 3u);
    // The new driver has not painted yet, so the clock keeps time.
    EXPECT_FALSE(rig.loop.external_frames());
}

TEST(Bridge, LinksOpenInTheDrivingPageAndOnlyWebAndMailLinks)
{
    LiveRig rig;
    PageClient page(rig.port());
    page.hello(390, 844);
    rig.loop.post([&] {
        for (auto const* url : { "javascript:alert(1)", "settings:application", "https://cuewright.app/privacy", "file:///etc/passwd", "mailto:support@cuewright.app?subject=Help" })
            rig.bridge->open_url_in_page(url);
    });
    EXPECT_EQ(page.of_type("open_url")["url"], "https://cuewright.app/privacy");
    EXPECT_EQ(page.of_type("open_url")["url"], "mailto:support@cuewright.app?subject=Help");
}

TEST(PageLinks, MailBecomesAMailtoLinkWithEveryPartEncoded)
{
    MailMessage message;
    message.to_recipients = { "support@cuewright.app", "a b@example.org" };
    message.subject = "Cuewright & me?";
    message.body = "Line one\nLine two: 100%";
    EXPECT_EQ(mailto_url(message), "mailto:support@cuewright.app,a%20b@example.org?subject=Cuewright%20%26%20me%3F&body=Line%20one%0ALine%20two%3A%20100%25");
    std::vector<std::string> opened;
    PageMail mail;
    EXPECT_FALSE(mail.send(message));
    mail.set_target([&](std::string const& url) { opened.push_back(url); });
    EXPECT_TRUE(mail.send(message));
    EXPECT_EQ(opened.size(), 1u);
}
