// The home-screen commands of the automation protocol, line by line as
// `cuewright-sim` reads them, and the requests they refuse.

#include "home_fixture.h"

using namespace cw;
using namespace cw::test;

namespace {

Json line(Driver& driver, std::string const& request)
{
    return Json::parse(driver.handle_line(request));
}

}

TEST(HomeDriver, ASessionOfJsonLines)
{
    Driver driver;
    EXPECT_EQ(line(driver, R"({"cmd":"grid"})")["ok"], false) << "no device yet";
    ASSERT_TRUE(line(driver, R"({"cmd":"launch"})")["ok"]);
    auto& store = driver.device(Json::object()).store();
    store.set(keys::scriptTitlesArray, List { "One", "Two", "Three" });
    store.set(keys::scriptTextArray, List { "1", "2", "3" });
    store.set(keys::combinedDataSource, List { script_item("One"), script_item("Two"), script_item("Three") });
    home_of(driver.device(Json::object())).viewDidAppear(true); // as on coming back to the screen

    auto grid = line(driver, R"({"cmd":"grid"})");
    ASSERT_EQ(grid["tiles"].size(), 3u);
    EXPECT_EQ(grid["tiles"][1]["text"], "Two");
    EXPECT_EQ(grid["tiles"][1]["kind"], "script");
    EXPECT_EQ(grid["tiles"][1]["frame"], Json({ 30 + 110, 30 + 88, 100, 150 }));

    EXPECT_EQ(line(driver, R"({"cmd":"long_press_tile","position":2,"seconds":0.8})")["top"], "AlertController");
    ASSERT_TRUE(line(driver, R"({"cmd":"answer","choose":"Re-arrange"})")["ok"]);
    auto dropped = line(driver, R"({"cmd":"drag_tile","from":2,"to_position":0,"steps":8})");
    EXPECT_TRUE(dropped["rearranging"]);
    EXPECT_EQ(dropped["tiles"][0]["text"], "Three");
    EXPECT_EQ(dropped["tiles"][0]["wobble"]["keyPath"], "transform.rotation.z");
    EXPECT_EQ(dropped["tiles"][0]["wobble"]["forever"], true);
    ASSERT_TRUE(line(driver, R"({"cmd":"tap","name":"stopRearrangingBtn"})")["ok"]);
    EXPECT_EQ(line(driver, R"({"cmd":"tap_tile","position":0})")["top"], "scriptViewController");
    EXPECT_EQ(line(driver, R"({"cmd":"store","key":"currentlyEditingTitle"})")["value"], Json({ { "string", "Three" } }));
}

TEST(HomeDriver, RefusedRequests)
{
    std::vector<std::string> titles;
    for (int i = 0; i < 40; ++i)
        titles.push_back("S" + std::to_string(i));
    HomeSession session(scripts_at_top(titles));
    struct Case {
        Json request;
        std::string error;
    } cases[] = {
        { { { "cmd", "tap_tile" } }, "missing whole-number field \"position\"" },
        { { { "cmd", "tap_tile" }, { "position", 39 } }, "tile 39 is not on screen" },
        { { { "cmd", "long_press_tile" }, { "position", 0 }, { "seconds", -1 } }, "\"seconds\" must be between 0 and 3600 seconds" },
        { { { "cmd", "drag_tile" }, { "from", 0 } }, "field \"to\" must be {\"x\": ..., \"y\": ...}" },
        { { { "cmd", "drag_tile" }, { "from", 0 }, { "to_position", 1 }, { "steps", 0 } }, "steps must be between 1 and 1000" },
        { { { "cmd", "long_press_point" }, { "at", { { "x", -5 }, { "y", 10 } } } }, "nothing on the home screen is under that point" },
        { { { "cmd", "scroll_grid" } }, "y must be a number: the content offset to scroll to" },
    };
    for (auto const& c : cases) {
        auto answer = session.driver.handle(c.request);
        EXPECT_FALSE(answer["ok"]) << c.request.dump();
        EXPECT_EQ(answer["error"], c.error) << c.request.dump();
    }

    // Once scrolled to, the tile is there to touch.
    auto scrolled = session.run({ { "cmd", "scroll_grid" }, { "y", 1e6 } });
    EXPECT_EQ(scrolled["contentOffset"], scrolled["maximumContentOffset"]);
    EXPECT_EQ(session.tap_tile(39)["top"], "scriptViewController");
    auto covered = session.driver.handle({ { "cmd", "tap_tile" }, { "position", 39 } });
    EXPECT_EQ(covered["error"], "the home screen is not on top");
}
