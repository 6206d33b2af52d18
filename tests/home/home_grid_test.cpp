// The home screen's grid as a user meets it: the tiles and the toolbar,
// opening scripts and folders, the add menu, the option sheets and the
// screens the fixed controls open.

#include "home_fixture.h"

#include "platform/ui/navigation_controller.h"
#include "prompter/scriptViewController.h"

using namespace cw;
using namespace cw::test;

namespace {

Json rgba(Color c)
{
    return { c.red, c.green, c.blue, c.alpha };
}

Color const grid_grey { 0.22, 0.22, 0.22, 1 };
Color const dark_grey { 1.0 / 3, 1.0 / 3, 1.0 / 3, 1 };
Color const system_yellow { 1, 204.0 / 255, 0, 1 };

}

TEST(HomeGrid, AnEmptyLibraryShowsNoTilesAndTheToolbarWithoutItsButton)
{
    HomeSession session;
    auto state = session.state();
    EXPECT_EQ(state["itemCount"], 0);
    EXPECT_TRUE(state["tiles"].empty());
    EXPECT_EQ(state["folder"], nullptr);
    EXPECT_TRUE(state["goBackHidden"]);
    EXPECT_EQ(state["background"], rgba(grid_grey));
    EXPECT_EQ(state["toolbar"]["frame"], Json({ 0, 844 - 80, 390, 44 }));
    EXPECT_EQ(state["toolbar"]["barTintColor"], rgba(grid_grey));
    EXPECT_EQ(state["contentInset"], Json({ 30, 30, 30, 30 }));
    EXPECT_EQ(state["scrollIndicatorInsets"], Json({ 30, 0, 30, 0 }));

    auto& toolbar = *session.home().toolbar;
    EXPECT_EQ(toolbar.bar_style, Toolbar::BarStyle::Black);
    ASSERT_EQ(toolbar.items().size(), 3u);
    EXPECT_EQ(toolbar.items()[0]->kind(), BarButtonItem::Kind::FlexibleSpace);
    EXPECT_EQ(toolbar.items()[2]->kind(), BarButtonItem::Kind::FlexibleSpace);
    auto& back = *toolbar.items()[1];
    EXPECT_EQ(back.title, "Tap to go back");
    EXPECT_EQ(back.style, BarButtonItem::Style::Plain);
    EXPECT_EQ(back.tint_color(), Color::white());
    EXPECT_DOUBLE_EQ(back.frame.mid_x(), 390.0 / 2) << "centred between the flexible spaces";
}

TEST(HomeGrid, TenItemsAreTenTilesOfExactly100By150OnEveryScreen)
{
    std::vector<std::string> titles;
    for (int i = 0; i < 10; ++i)
        titles.push_back("Script " + std::to_string(i));
    struct Case {
        Size window;
        Idiom idiom;
    } cases[] = {
        { { 320, 568 }, Idiom::Phone },
        { { 390, 844 }, Idiom::Phone },
        { { 430, 932 }, Idiom::Phone },
        { { 820, 1180 }, Idiom::Tablet },
        { { 1366, 1024 }, Idiom::Tablet },
    };
    for (auto const& c : cases) {
        auto options = scripts_at_top(titles);
        options.window_size = c.window;
        options.idiom = c.idiom;
        HomeSession session(options);
        auto& grid = session.grid();
        EXPECT_EQ(grid.number_of_items(), 10);
        std::set<std::string> seen;
        // Scroll down a tile's height at a time, collecting every tile shown.
        for (double y = grid.minimum_content_offset().y;; y += 150) {
            grid.user_scroll_to({ 0, y });
            auto shown = session.state();
            for (auto const& tile : shown["tiles"]) {
                EXPECT_EQ(tile["frame"][2], 100) << c.window.width;
                EXPECT_EQ(tile["frame"][3], 150) << c.window.width;
                seen.insert(tile["text"].get<std::string>());
            }
            if (y >= grid.maximum_content_offset().y)
                break;
        }
        EXPECT_EQ(seen.size(), 10u) << c.window.width << " x " << c.window.height;
    }
}

TEST(HomeGrid, TilesFollowTheWindowSize)
{
    std::vector<std::string> titles;
    for (int i = 0; i < 40; ++i)
        titles.push_back("S" + std::to_string(i));
    HomeSession session(scripts_at_top(titles));
    auto phone = session.tiles().size();
    session.run({ { "cmd", "resize" }, { "width", 1180 }, { "height", 820 } });
    auto wide = session.state();
    EXPECT_GT(wide["tiles"].size(), phone);
    EXPECT_EQ(wide["toolbar"]["frame"], Json({ 0, 820 - 80, 1180, 44 }));
    // Ten columns: tile 10 starts the second line, at the left inset.
    EXPECT_EQ(session.tile(10).convert_to_root({}).x, 30);
}

TEST(HomeGrid, ScriptTilesAreDarkGreyAndFolderTilesAYellowOutline)
{
    HomeSession session(mixed_library());
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "A", "B", "Talks", "C" }));
    struct Case {
        std::int64_t position;
        char const* kind;
        Color background;
    } cases[] = { { 0, "script", dark_grey }, { 2, "folder", grid_grey }, { 3, "script", dark_grey } };
    for (auto const& c : cases) {
        auto tile = session.state()["tiles"][c.position];
        EXPECT_EQ(tile["kind"], c.kind);
        EXPECT_EQ(tile["background"], rgba(c.background)) << c.kind;
        auto& cell = session.tile(c.position);
        EXPECT_EQ(cell.border_width, 3);
        EXPECT_EQ(cell.border_color, system_yellow);
        EXPECT_EQ(cell.corner_radius, 6);
        EXPECT_EQ(cell.shadow.color, Color::black());
        EXPECT_DOUBLE_EQ(cell.shadow.opacity, 0.1);
        EXPECT_EQ(cell.shadow.offset, (Size { 2, 4 }));
        auto& label = *cell.textLabel;
        EXPECT_EQ(label.frame, (Rect { {}, { 100, 150 } })) << "the label fills the tile";
        EXPECT_EQ(label.alignment, TextAlignment::Center);
        EXPECT_EQ(label.number_of_lines, 0) << "a long name wraps over as many lines as it needs";
        EXPECT_TRUE(label.adjusts_font_size_to_fit);
        EXPECT_DOUBLE_EQ(label.minimum_scale_factor, 0.25);
        EXPECT_EQ(label.text_color, Color::white());
    }
}

TEST(HomeGrid, TappingAScriptWritesTheWorkingKeysAndOpensThePrompter)
{
    struct Case {
        char const* label;
        SimDeviceOptions options;
        std::int64_t tile;
        std::int64_t index;
        std::string text;
    };
    auto duplicated = library_store({ { "Same", 10 }, { "Other", 20 }, { "Same", 30 } },
        List { script_item("Other"), script_item("Same") });
    Case cases[] = {
        { "a top-level script", mixed_library(), 1, 1, "text of B" },
        { "a title stored twice opens the first", duplicated, 1, 0, "text of Same" },
    };
    for (auto& c : cases) {
        HomeSession session(c.options);
        session.device.store().set_boolean(keys::isNewScript, true);
        auto answer = session.tap_tile(c.tile);
        EXPECT_EQ(answer["top"], "scriptViewController") << c.label;
        auto& store = session.device.store();
        EXPECT_EQ(store.integer(keys::currentlyEditingIndex), c.index) << c.label;
        EXPECT_EQ(store.string(keys::currentlyEditingText), c.text) << c.label;
        EXPECT_EQ(store.string(keys::currentlyEditingTitle), session.home().scriptTitles[static_cast<size_t>(c.index)]) << c.label;
        EXPECT_EQ(store.object(keys::isNewScript), Value(false)) << c.label;
        auto const& pushed = session.device.app().navigation()->history().back();
        EXPECT_EQ(pushed.kind, NavigationEvent::Kind::Push);
        EXPECT_EQ(pushed.screen, "scriptViewController");
        EXPECT_TRUE(pushed.animated);
    }
}

TEST(HomeGrid, AScriptThatCannotBeFoundOpensNothingAndSaysSo)
{
    struct Case {
        char const* label;
        List titles;
        List texts;
        std::string line;
    } cases[] = {
        { "no such title", { "Other" }, { "o" }, "Script selection failed. selectedIndex=9223372036854775807, scriptText.count=1" },
        { "a title without a text", { "Other", "Ghost" }, { "o" }, "Script selection failed. selectedIndex=1, scriptText.count=1" },
    };
    for (auto const& c : cases) {
        SimDeviceOptions options;
        options.store[keys::scriptTitlesArray] = c.titles;
        options.store[keys::scriptTextArray] = c.texts;
        options.store[keys::combinedDataSource] = List { script_item("Ghost") };
        HomeSession session(options);
        session.device.log().take_new_lines();
        auto answer = session.tap_tile(0);
        EXPECT_EQ(answer["top"], "ViewController") << c.label;
        EXPECT_EQ(session.device.log().take_new_lines(), std::vector<std::string> { c.line }) << c.label;
        EXPECT_FALSE(session.device.store().object(keys::currentlyEditingTitle)) << c.label;
    }
}

TEST(HomeGrid, FoldersOpenOnTheirScriptsAndTheToolbarButtonLeavesThem)
{
    HomeSession session(mixed_library());
    auto opened = session.tap_tile(2);
    EXPECT_EQ(opened["top"], "ViewController");
    EXPECT_EQ(opened["folder"], "Talks");
    EXPECT_FALSE(opened["goBackHidden"]);
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "T1", "T2" }));
    EXPECT_EQ(opened["tiles"][0]["background"], rgba(dark_grey));

    // A grid build while the folder is open (coming back to the screen)
    // keeps the folder view.
    session.home().viewDidAppear(true);
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "T1", "T2" }));
    EXPECT_FALSE(session.state()["goBackHidden"]);

    // A script in the folder opens like any other.
    EXPECT_EQ(session.tap_tile(1)["top"], "scriptViewController");
    EXPECT_EQ(session.device.store().integer(keys::currentlyEditingIndex), 3);
    session.run({ { "cmd", "navigate_back" } });

    session.tap("goBackButton");
    auto back = session.state();
    EXPECT_EQ(back["folder"], nullptr);
    EXPECT_TRUE(back["goBackHidden"]);
    EXPECT_FALSE(session.home().isInsideFolder);
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "A", "B", "Talks", "C" }));
}

TEST(HomeGrid, EachKindOfTileHasItsOptionSheet)
{
    struct Case {
        char const* label;
        bool in_folder;
        std::int64_t tile;
        char const* title;
        std::vector<std::string> actions;
    } cases[] = {
        { "top-level script", false, 0, "Script Options", { "Move to Folder", "Re-arrange", "Delete", "Cancel" } },
        { "folder", false, 2, "Folder Options", { "Rename", "Re-arrange", "Delete Folder", "Cancel" } },
        { "script in a folder", true, 1, "Script Options", { "Move Out of Folder", "Re-arrange", "Delete", "Cancel" } },
    };
    for (auto const& c : cases) {
        HomeSession session(mixed_library());
        if (c.in_folder)
            session.tap_tile(2);
        auto answer = session.long_press_tile(c.tile);
        EXPECT_EQ(answer["top"], "AlertController") << c.label;
        EXPECT_EQ(session.alert_title(), c.title) << c.label;
        EXPECT_EQ(session.device.alert()->style(), AlertStyle::ActionSheet);
        EXPECT_EQ(session.device.alert()->message(), "");
        EXPECT_EQ(session.actions(), c.actions) << c.label;
        EXPECT_FALSE(session.device.alert()->popover_anchor) << "no anchor on a phone";
        EXPECT_FALSE(session.grid().is_moving_item()) << "a long press outside rearrange mode lifts nothing";
    }
}

TEST(HomeGrid, ALongPressBetweenTilesOrTooShortShowsNoSheet)
{
    HomeSession session(mixed_library());
    // The gap between tiles 0 and 1 of the first line.
    auto tile0 = session.tile(0).convert_to_root({});
    auto answer = session.run({ { "cmd", "long_press_point" }, { "at", { { "x", tile0.x + 105 }, { "y", tile0.y + 75 } } }, { "seconds", 1.0 } });
    EXPECT_EQ(answer["top"], "ViewController");
    EXPECT_EQ(session.device.store().list(keys::combinedDataSource), mixed_library().store[keys::combinedDataSource].as_list());
    // Lifted before the press is long enough, it is a tap.
    EXPECT_EQ(session.long_press_tile(0, 0.3)["top"], "scriptViewController");
}

TEST(HomeGrid, OnATabletSheetsPointAtWhatOpenedThem)
{
    auto options = mixed_library();
    options.window_size = { 820, 1180 };
    options.idiom = Idiom::Tablet;
    HomeSession session(options);

    session.tap("addScriptButton");
    auto anchor = session.device.alert()->popover_anchor;
    ASSERT_TRUE(anchor);
    EXPECT_EQ(anchor->bar_button, "addScriptButton");
    EXPECT_EQ(anchor->source_view, &session.home().view());
    session.device.choose("Cancel");

    auto& tile = session.tile(2);
    Rect expected { tile.convert_to_root({}), tile.frame.size };
    session.long_press_tile(2);
    anchor = session.device.alert()->popover_anchor;
    ASSERT_TRUE(anchor);
    EXPECT_EQ(anchor->source_view, &session.home().view());
    EXPECT_EQ(anchor->source_rect, expected);
}

TEST(HomeGrid, TheAddMenuLeadsToTheNamingDialogs)
{
    HomeSession session(mixed_library());
    session.tap("addScriptButton");
    EXPECT_EQ(session.alert_title(), "Add Script or Folder");
    EXPECT_EQ(session.device.alert()->message(), "Choose an option");
    EXPECT_EQ(session.device.alert()->style(), AlertStyle::ActionSheet);
    EXPECT_EQ(session.actions(), (std::vector<std::string> { "Create New Script", "Import Existing Script", "Create New Folder", "Cancel" }));

    // A taken name: "Script Name Exists", whose "OK" asks again.
    answer(session.device, "Create New Script");
    EXPECT_EQ(session.alert_title(), "Create New Script");
    answer(session.device, "Create Script", "B");
    EXPECT_EQ(session.alert_title(), "Script Name Exists");
    EXPECT_EQ(session.device.alert()->message(), "A script with this name already exists. Please choose another name.");
    answer(session.device, "OK");
    EXPECT_EQ(session.alert_title(), "Create New Script");
    answer(session.device, "Create Script", "Fresh");
    session.device.settle();
    EXPECT_EQ(std::string(session.device.top()->class_name()), "editScriptViewController");
    EXPECT_EQ(session.device.store().string(keys::temporaryTitle), "Fresh");
    session.run({ { "cmd", "navigate_back" } });

    session.tap("addScriptButton");
    answer(session.device, "Create New Folder");
    EXPECT_EQ(session.alert_title(), "Create a New Folder");
    answer(session.device, "Save", "Drafts");
    session.device.settle();
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "A", "B", "Talks", "C", "Drafts" }));
    EXPECT_EQ(session.state()["tiles"][4]["kind"], "folder");
}

TEST(HomeGrid, TheOptionSheetsDriveTheLibraryOperations)
{
    // The folder list keeps its copies in the order the folders were made,
    // which is not the grid's order.
    auto options = library_store({ { "A", 10 }, { "B", 20 }, { "T1", 30 }, { "T2", 40 }, { "C", 50 } },
        List { folder_item("Empty", {}), script_item("A"), script_item("B"), folder_item("Talks", { "T1", "T2" }), script_item("C") });
    options.store[keys::folders] = List { folder_item("Talks", { "T1", "T2" }), folder_item("Empty", {}) };
    HomeSession session(options);
    auto& store = session.device.store();

    // Rename a folder: the tile shows the new name at once.
    session.long_press_tile(3);
    answer(session.device, "Rename");
    EXPECT_EQ(session.alert_title(), "Rename Folder");
    answer(session.device, "Rename", "Speeches");
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "Empty", "A", "B", "Speeches", "C" }));

    // Move C into a folder through "Select Folder", which lists the folders
    // in grid order.
    session.long_press_tile(4);
    answer(session.device, "Move to Folder");
    EXPECT_EQ(session.alert_title(), "Select Folder");
    EXPECT_EQ(session.actions(), (std::vector<std::string> { "Empty", "Speeches", "Cancel" }));
    answer(session.device, "Speeches");
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "Empty", "A", "B", "Speeches" }));
    EXPECT_EQ(folder_contents(store, "Speeches"), (std::vector<std::string> { "T1", "T2", "C" }));

    // Inside the folder, "Move Out of Folder" leaves the folder view open on
    // the rest; the script shows at the end of the top level.
    session.tap_tile(3);
    session.long_press_tile(0);
    answer(session.device, "Move Out of Folder");
    EXPECT_EQ(session.state()["folder"], "Speeches");
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "T2", "C" }));
    session.tap("goBackButton");
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "Empty", "A", "B", "Speeches", "T1" }));

    // Delete a script, then a folder with what it holds.
    session.long_press_tile(1);
    answer(session.device, "Delete");
    EXPECT_EQ(session.alert_title(), "Confirm Deletion");
    answer(session.device, "Delete");
    session.long_press_tile(2);
    answer(session.device, "Delete Folder");
    answer(session.device, "Delete");
    EXPECT_EQ(session.tiles(), (std::vector<std::string> { "Empty", "B", "T1" }));
    EXPECT_EQ(string_list(store.list(keys::scriptTitlesArray)), (std::vector<std::string> { "B", "T1" }));
}

TEST(HomeGrid, TheRemoteAndGalleryButtonsPresentTheirScreens)
{
    struct Case {
        char const* button;
        char const* identifier;
        char const* screen;
        ModalPresentationStyle style;
    } cases[] = {
        { "remoteBtn", "RemoteID", "RemoteCommandSenderViewController", ModalPresentationStyle::FullScreen },
        { "cameraBtn", home::video_gallery_identifier, "VideoViewController", ModalPresentationStyle::Automatic },
    };
    for (auto const& c : cases) {
        HomeSession session;
        session.tap(c.button);
        auto* shown = session.home().presented();
        ASSERT_NE(shown, nullptr) << c.button;
        EXPECT_EQ(std::string(shown->class_name()), c.screen);
        EXPECT_EQ(shown->modal_presentation_style, c.style) << c.button;
        EXPECT_TRUE(session.home().last_presentation_animated());

        // A screen that cannot be made leaves the home screen where it was.
        HomeSession without;
        without.device.context().storyboard.add(c.identifier, [](AppContext&) { return std::unique_ptr<Screen>(); });
        without.tap(c.button);
        EXPECT_EQ(without.home().presented(), nullptr) << c.button;
    }
}
