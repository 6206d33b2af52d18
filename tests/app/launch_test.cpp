#include "home/ViewController.h"
#include "library/library_records.h"
#include "sim/sim_device.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace cw;

namespace {

Record script(std::string const& name, std::string const& id) { return make_script_record(name, id); }

std::vector<std::string> lines_of(SimDevice& device) { return device.log().take_new_lines(); }

}

TEST(Launch, FreshInstallStoresEmptyLibraryAndFolderLists)
{
    RunLoop loop;
    SimDevice device(loop);
    device.launch();
    EXPECT_EQ(device.store().object("combinedDataSource"), Value(List {}));
    EXPECT_EQ(device.store().object("folders"), Value(List {}));
    auto* home = device.top_as<ViewController>();
    ASSERT_NE(home, nullptr);
    EXPECT_TRUE(home->_collectionDataSource.empty());
    EXPECT_TRUE(home->goBackButton->hidden);
    EXPECT_TRUE(device.context().window.status_bar_light_content);
    EXPECT_EQ(device.store().integer("currentlyEditingIndex"), 0);
    EXPECT_FALSE(device.store().boolean("isNewScript"));
}

TEST(Launch, RebuildsTheLibraryListFromAnEarlierLayout)
{
    struct Case {
        char const* label;
        std::optional<Value> stored_library;
        std::optional<Value> stored_folders;
    };
    Value folder = make_folder_record("Talks", List { script("B", "B_1.000000") });
    Case cases[] = {
        { "no library list, no folders", std::nullopt, std::nullopt },
        { "no library list, folders kept", std::nullopt, List { folder } },
        { "library list stored as empty", List {}, List { folder } },
    };
    for (auto const& c : cases) {
        RunLoop loop;
        loop.set_virtual_epoch(0);
        loop.advance(12.25);
        SimDeviceOptions options;
        options.store["scriptTitlesArray"] = List { "Intro", "B", "Intro" };
        options.store["scriptTextArray"] = List { "x", "y", "z" };
        if (c.stored_library)
            options.store["combinedDataSource"] = *c.stored_library;
        if (c.stored_folders)
            options.store["folders"] = *c.stored_folders;
        SimDevice device(loop, options);
        device.launch();

        List expected { script("Intro", "Intro_12.250000"), script("B", "B_12.250000"), script("Intro", "Intro_12.250000") };
        if (c.stored_folders)
            expected.push_back(folder);
        EXPECT_EQ(device.store().object("combinedDataSource"), Value(expected)) << c.label;
        EXPECT_EQ(device.store().object("folders"), c.stored_folders ? *c.stored_folders : Value(List {})) << c.label;
        EXPECT_EQ(device.top_as<ViewController>()->_collectionDataSource, expected) << c.label;
    }
}

TEST(Launch, ALibraryListWithRecordsIsLeftAlone)
{
    RunLoop loop;
    SimDeviceOptions options;
    options.store["scriptTitlesArray"] = List { "A", "Orphan" };
    options.store["scriptTextArray"] = List { "a", "o" };
    options.store["combinedDataSource"] = List { script("A", "A_1.000000") };
    SimDevice device(loop, options);
    device.launch();
    EXPECT_EQ(device.store().object("combinedDataSource"), Value(List { script("A", "A_1.000000") }));
    EXPECT_FALSE(device.store().object("folders")) << "nothing is written when the library list has records";
}

TEST(Launch, WatchSessionLines)
{
    for (bool supported : { true, false }) {
        RunLoop loop;
        SimDevice device(loop);
        device.platform().watch->set_supported(supported);
        device.launch();
        EXPECT_EQ(lines_of(device), std::vector<std::string> { "WatchConnectivity session is not active." });
        EXPECT_EQ(device.platform().watch->activation_requests(), supported ? 1 : 0);
        if (supported) {
            EXPECT_EQ(device.platform().watch->activation_state(), WatchActivationState::Activated);
            EXPECT_EQ(device.platform().watch->delegate(), &device.app().delegate());
        }
    }
}

TEST(Launch, CloudSignInRedirects)
{
    struct Case {
        std::string url;
        std::vector<std::string> lines;
    } cases[] = {
        { "db-cw0placeholder1://2/token#access_token=abc&token_type=bearer&uid=1", { "Success! User is logged into Dropbox." } },
        { "db-cw0placeholder1://2/token#error=access_denied", { "Authorization flow was manually canceled by user!" } },
        { "db-cw0placeholder1://2/token#error=server_error&error_description=Try%20later", { "Error: [Error] server_error: Try later" } },
        { "db-otherkey000000://2/token#access_token=abc", {} },
        { "https://example.org/", {} },
        { "db-cw0placeholder1://2/token", {} },
    };
    for (auto const& c : cases) {
        RunLoop loop;
        SimDevice device(loop);
        device.launch();
        lines_of(device);
        EXPECT_FALSE(device.app().delegate().applicationOpenURLOptions(c.url)) << c.url;
        EXPECT_EQ(lines_of(device), c.lines) << c.url;
    }
}

TEST(Launch, ComingBackToTheHomeScreenRereadsTheStore)
{
    RunLoop loop;
    SimDevice device(loop);
    device.launch();
    auto* home = device.top_as<ViewController>();
    device.store().set("scriptTitlesArray", List { "New" });
    device.store().set("scriptTextArray", List { "text" });
    device.store().set("combinedDataSource", List { script("New", "New_1.000000") });
    home->viewDidAppear(true);
    EXPECT_EQ(home->scriptTitles, std::vector<std::string> { "New" });
    EXPECT_EQ(home->_collectionDataSource.size(), 1u);
}

TEST(Launch, UnknownScreenIdentifierIsAClearErrorNotACrash)
{
    RunLoop loop;
    SimDevice device(loop);
    device.launch();
    lines_of(device);
    EXPECT_EQ(device.context().storyboard.instantiate(device.context(), "noSuchScreen"), nullptr);
    EXPECT_EQ(lines_of(device), std::vector<std::string> { "Storyboard (Main) doesn't contain a view controller with identifier 'noSuchScreen'" });
}

TEST(Launch, DurableStoreInADataFolderSurvivesARestart)
{
    auto folder = std::filesystem::temp_directory_path() / ("cuewright-launch-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    {
        RunLoop loop;
        SimDeviceOptions options;
        options.data_dir = folder.string();
        SimDevice device(loop, options);
        device.launch();
        device.store().set("scriptTitlesArray", List { "Kept" });
        loop.post([] { });
        loop.run_pending();
    }
    {
        RunLoop loop;
        SimDeviceOptions options;
        options.data_dir = folder.string();
        SimDevice device(loop, options);
        device.launch();
        EXPECT_EQ(device.store().object("scriptTitlesArray"), Value(List { "Kept" }));
        // The stored library list was empty, so this launch rebuilds it from the kept title.
        EXPECT_EQ(device.store().list("combinedDataSource").size(), 1u);
    }
    std::filesystem::remove_all(folder);
}
