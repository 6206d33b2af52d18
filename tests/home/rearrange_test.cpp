// Rearrange mode: entering and leaving it, the wobble, and dragging tiles
// into a new order, at the top level and inside a folder.

#include "home_fixture.h"

#include <cmath>

using namespace cw;
using namespace cw::test;

namespace {

Json rgba(Color c)
{
    return { c.red, c.green, c.blue, c.alpha };
}

Color const grid_grey { 0.22, 0.22, 0.22, 1 };
Color const rearrange_blue { 43.0 / 255, 66.0 / 255, 84.0 / 255, 1 };

void enter_from_sheet(HomeSession& session, std::int64_t tile)
{
    session.long_press_tile(tile);
    answer(session.device, "Re-arrange");
    session.device.settle();
}

// Every tile on screen is in the mode: wobbling, deaf to touches, with its
// option sheet off.
::testing::AssertionResult all_tiles_rearranging(Json const& state)
{
    if (state["tiles"].empty())
        return ::testing::AssertionFailure() << "no tiles";
    for (auto const& tile : state["tiles"]) {
        if (tile["wobble"].is_null() || tile["takesTouches"] || tile["longPressEnabled"] || !tile["isInRearrangeMode"])
            return ::testing::AssertionFailure() << "tile " << tile["position"] << " is not rearranging: " << tile.dump();
    }
    return ::testing::AssertionSuccess();
}

}

TEST(Rearrange, EveryOptionSheetEntersTheSameMode)
{
    struct Case {
        char const* label;
        bool in_folder;
        std::int64_t tile;
    } cases[] = {
        { "a top-level script's sheet", false, 0 },
        { "a folder's sheet", false, 2 },
        { "a sheet inside a folder", true, 0 },
    };
    for (auto const& c : cases) {
        HomeSession session(mixed_library());
        auto before = session.state();
        EXPECT_TRUE(before["buttons"]["stopRearrangingBtn"]["hidden"]) << c.label;
        if (c.in_folder)
            session.tap_tile(2);
        enter_from_sheet(session, c.tile);

        auto state = session.state();
        EXPECT_TRUE(state["rearranging"]) << c.label;
        EXPECT_EQ(state["background"], rgba(rearrange_blue)) << c.label;
        EXPECT_FALSE(state["buttons"]["stopRearrangingBtn"]["hidden"]) << c.label;
        for (auto const* name : { "addScriptButton", "cameraBtn", "remoteBtn" })
            EXPECT_FALSE(state["buttons"][name]["enabled"]) << c.label << ": " << name;
        EXPECT_TRUE(all_tiles_rearranging(state)) << c.label;
        EXPECT_EQ(state["folder"], c.in_folder ? Json("Talks") : Json(nullptr)) << c.label;
    }
}

TEST(Rearrange, TheWobbleRocksEachTileForeverAndRestartsWhenAddedAgain)
{
    HomeSession session(mixed_library());
    enter_from_sheet(session, 0);
    auto const* wobble = session.tile(1).animation("wobble");
    ASSERT_NE(wobble, nullptr);
    EXPECT_EQ(wobble->key_path, "transform.rotation.z");
    EXPECT_EQ(wobble->from, static_cast<double>(-0.03f));
    EXPECT_EQ(wobble->to, static_cast<double>(0.03f));
    EXPECT_DOUBLE_EQ(wobble->duration, 0.1) << "one leg; a full swing there and back takes 0.2 s";
    EXPECT_TRUE(wobble->autoreverses);
    EXPECT_TRUE(std::isinf(wobble->repeat_count));
    EXPECT_EQ(wobble->timing, "linear");
    EXPECT_EQ(session.tile(1).animations().size(), 1u);

    double started = wobble->begin_time;
    session.run({ { "cmd", "advance" }, { "seconds", 5 } });
    ASSERT_NE(session.tile(1).animation("wobble"), nullptr) << "it never stops by itself";
    session.home().reapplyAnimationsToVisibleCells();
    EXPECT_DOUBLE_EQ(session.tile(1).animation("wobble")->begin_time, started + 5);
    EXPECT_EQ(session.tile(1).animations().size(), 1u) << "added again under its key, it replaces the running one";
}

TEST(Rearrange, DraggingATileStoresTheNewOrderAndKeepsTheModeOn)
{
    HomeSession session(mixed_library());
    enter_from_sheet(session, 0);
    session.device.log().take_new_lines();

    // The lifted tile follows the finger while it is down.
    auto answer = session.drag(0, 2);
    EXPECT_EQ(top_level_names(session.device.store()), (std::vector<std::string> { "B", "Talks/", "A", "C" }));
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "B", "Talks", "A", "C" }));
    EXPECT_EQ(session.device.log().take_new_lines(), std::vector<std::string> { "Move item at index path called" });
    // After a drop the grid has its normal colour, though the mode is on and
    // the tiles still wobble.
    EXPECT_TRUE(answer["rearranging"]);
    EXPECT_EQ(answer["background"], rgba(grid_grey));
    EXPECT_TRUE(all_tiles_rearranging(answer));
    EXPECT_TRUE(library_is_consistent(session.device.store(), { { "A", 10 }, { "B", 20 }, { "T1", 30 }, { "T2", 40 }, { "C", 50 } }));

    // A second drag, backwards.
    session.drag(3, 0);
    EXPECT_EQ(top_level_names(session.device.store()), (std::vector<std::string> { "C", "B", "Talks/", "A" }));
}

TEST(Rearrange, DraggingInsideAFolderStoresTheFolderAndItsCopy)
{
    auto options = library_store({ { "A", 10 }, { "T1", 30 }, { "T2", 40 }, { "T3", 50 } },
        List { script_item("A"), folder_item("Talks", { "T1", "T2", "T3" }) });
    HomeSession session(options);
    session.tap_tile(1);
    enter_from_sheet(session, 0);
    session.drag(0, 2);
    auto& store = session.device.store();
    EXPECT_EQ(folder_contents(store, "Talks"), (std::vector<std::string> { "T2", "T3", "T1" }));
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "T2", "T3", "T1" }));
    EXPECT_TRUE(library_is_consistent(store, { { "A", 10 }, { "T1", 30 }, { "T2", 40 }, { "T3", 50 } })) << "the folder list's copy follows";

    // Still there after leaving the mode, going back and opening it again.
    session.tap("stopRearrangingBtn");
    session.tap("goBackButton");
    session.tap_tile(1);
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "T2", "T3", "T1" }));
}

TEST(Rearrange, ACancelledDragOrAPressBetweenTilesChangesNothing)
{
    HomeSession session(mixed_library());
    enter_from_sheet(session, 0);
    auto stored = session.device.store().snapshot();
    session.device.log().take_new_lines();

    auto cancelled = session.drag(0, 3, true);
    EXPECT_FALSE(session.grid().is_moving_item());
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "A", "B", "Talks", "C" }));

    auto tile0 = session.tile(0).convert_to_root({});
    Json gap = { { "x", tile0.x + 105 }, { "y", tile0.y + 75 } };
    auto between = session.run({ { "cmd", "long_press_point" }, { "at", gap }, { "seconds", 1.0 } });
    EXPECT_FALSE(session.grid().is_moving_item());

    EXPECT_EQ(session.device.store().snapshot(), stored);
    EXPECT_TRUE(session.device.log().take_new_lines().empty()) << "no store operation ran";
    EXPECT_TRUE(between["rearranging"]);
    EXPECT_EQ(between["background"], rgba(rearrange_blue)) << "no drop, no rebuild";
}

TEST(Rearrange, TapsAndLongPressesOpenNothingWhileTheModeIsOn)
{
    HomeSession session(mixed_library());
    enter_from_sheet(session, 0);
    EXPECT_EQ(session.tap_tile(0)["top"], "ViewController");
    EXPECT_EQ(session.tap_tile(2)["folder"], nullptr);
    // Held still on a tile, the press goes to the grid's drag and lifts the
    // tile; released where it was, the order stays.
    EXPECT_EQ(session.long_press_tile(1)["top"], "ViewController");
    EXPECT_EQ(top_level_names(session.device.store()), (std::vector<std::string> { "A", "B", "Talks/", "C" }));

    // A tile's own recogniser that still fires says so and shows nothing.
    session.device.log().take_new_lines();
    GestureRecognizer press(GestureRecognizer::Type::LongPress);
    press.view = &session.tile(0);
    press.state = GestureState::Began;
    session.home().handleLongPress(press);
    EXPECT_EQ(session.device.log().take_new_lines(), std::vector<std::string> { "Still calling long press when it shouldn't" });
    EXPECT_EQ(session.device.alert(), nullptr);
}

TEST(Rearrange, TilesScrolledIntoViewJoinTheMode)
{
    std::vector<std::string> titles;
    for (int i = 0; i < 60; ++i)
        titles.push_back("S" + std::to_string(i));
    HomeSession session(scripts_at_top(titles));
    enter_from_sheet(session, 0);
    auto scrolled = session.run({ { "cmd", "scroll_grid" }, { "y", 2000 } });
    EXPECT_GT(scrolled["tiles"][0]["position"].get<int>(), 20);
    EXPECT_TRUE(all_tiles_rearranging(scrolled));
}

TEST(Rearrange, LeavingTheModeBringsSheetsAndTapsBack)
{
    HomeSession session(mixed_library());
    enter_from_sheet(session, 2);
    session.drag(0, 1);
    session.tap("stopRearrangingBtn");

    auto state = session.state();
    EXPECT_FALSE(state["rearranging"]);
    EXPECT_TRUE(state["buttons"]["stopRearrangingBtn"]["hidden"]);
    for (auto const* name : { "addScriptButton", "cameraBtn", "remoteBtn" })
        EXPECT_TRUE(state["buttons"][name]["enabled"]) << name;
    EXPECT_EQ(state["background"], rgba(grid_grey));
    for (auto const& tile : state["tiles"]) {
        EXPECT_TRUE(tile["wobble"].is_null());
        EXPECT_TRUE(tile["takesTouches"]);
        EXPECT_TRUE(tile["longPressEnabled"]);
    }

    session.long_press_tile(0);
    EXPECT_EQ(session.alert_title(), "Script Options");
    session.device.choose("Cancel");
    EXPECT_EQ(session.tap_tile(0)["top"], "scriptViewController");
}

TEST(Rearrange, ALongPressOutsideTheModeShowsTheSheetAndMovesNothing)
{
    HomeSession session(mixed_library());
    auto answer = session.drag(0, 3);
    EXPECT_EQ(answer["top"], "AlertController");
    EXPECT_EQ(session.alert_title(), "Script Options");
    EXPECT_EQ(top_level_names(session.device.store()), (std::vector<std::string> { "A", "B", "Talks/", "C" }));
}

TEST(Rearrange, ColoursFromHexStrings)
{
    struct Case {
        char const* text;
        Color colour;
    } cases[] = {
        { "#2b4254", { 43.0 / 255, 66.0 / 255, 84.0 / 255, 1 } },
        { "#FFFFFF", { 1, 1, 1, 1 } },
        { "#000000", { 0, 0, 0, 1 } },
        { "#ff0080", { 1, 0, 128.0 / 255, 1 } },
        { "#12zz", { 0, 0, 18.0 / 255, 1 } }, // reading stops at the first non-digit
        { "", { 0, 0, 0, 1 } },
    };
    for (auto const& c : cases)
        EXPECT_EQ(ViewController::colorFromHexString(c.text), c.colour) << c.text;
}
