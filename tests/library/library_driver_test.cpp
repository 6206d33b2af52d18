// The library through the automation protocol, as a front end drives it.

#include "sim/driver.h"

#include <gtest/gtest.h>

using namespace cw;
using Json = nlohmann::json;

namespace {

Json send(Driver& driver, Json request)
{
    auto answer = driver.handle(request);
    EXPECT_TRUE(answer.value("ok", false)) << request.dump() << " -> " << answer.dump();
    return answer;
}

std::vector<std::string> titles(Driver& driver)
{
    std::vector<std::string> names;
    auto value = send(driver, { { "cmd", "store" }, { "key", "scriptTitlesArray" } })["value"];
    if (value.is_object())
        for (auto const& title : value["list"])
            names.push_back(title["string"]);
    return names;
}

}

TEST(LibraryDriver, FoldersScriptsAndTheEditor)
{
    Driver driver;
    send(driver, { { "cmd", "launch" } });

    EXPECT_EQ(send(driver, { { "cmd", "create_folder" } })["top"], "AlertController");
    EXPECT_EQ(send(driver, { { "cmd", "alert" } })["alert"]["alertTitle"], "Create a New Folder");
    send(driver, { { "cmd", "answer" }, { "fields", { "Talks" } }, { "choose", "Save" } });

    send(driver, { { "cmd", "create_script" } });
    send(driver, { { "cmd", "answer" }, { "fields", { "Intro" } }, { "choose", "Create Script" } });
    auto editor = send(driver, { { "cmd", "editor_replace" }, { "text", "Good evening" } })["editor"];
    EXPECT_EQ(editor["text"], "Good evening");
    EXPECT_FALSE(editor["deleteEnabled"].get<bool>());
    send(driver, { { "cmd", "keyboard_show" }, { "height", 250 } });
    EXPECT_EQ(send(driver, { { "cmd", "editor_type" }, { "text", "!" } })["editor"]["contentInset"][2], 250);
    send(driver, { { "cmd", "tap" }, { "name", "saveButton" } });
    EXPECT_EQ(titles(driver), std::vector<std::string> { "Intro" });
    EXPECT_FALSE(driver.handle({ { "cmd", "open_editor" }, { "mode", "new" }, { "title", "Intro" } })["ok"].get<bool>());
    EXPECT_FALSE(driver.handle({ { "cmd", "open_editor" }, { "mode", "existing" }, { "index", 1 } })["ok"].get<bool>());

    send(driver, { { "cmd", "move_script" }, { "index", 1 } });
    send(driver, { { "cmd", "answer" }, { "choose", "Talks" } });
    send(driver, { { "cmd", "move_out" }, { "name", "Intro" } });
    send(driver, { { "cmd", "rename_folder" }, { "index", 0 } });
    send(driver, { { "cmd", "answer" }, { "fields", { "Speeches" } }, { "choose", "Rename" } });
    auto lines = send(driver, { { "cmd", "log" } })["lines"];
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Moved script 'Intro' out of folder 'Talks'"), lines.end());

    send(driver, { { "cmd", "import_script" }, { "name", "Notes" }, { "text", "from a document" } });
    EXPECT_EQ(send(driver, { { "cmd", "editor" } })["editor"]["text"], "from a document");
    send(driver, { { "cmd", "tap" }, { "name", "cancelButton" } });
    EXPECT_EQ(titles(driver), std::vector<std::string> { "Intro" });

    auto existing = send(driver, { { "cmd", "open_editor" }, { "mode", "existing" }, { "index", 0 } })["editor"];
    EXPECT_EQ(existing["text"], "Good evening!");
    send(driver, { { "cmd", "tap" }, { "name", "deleteButton" } });
    send(driver, { { "cmd", "answer" }, { "choose", "Yes, delete it!" } });
    EXPECT_TRUE(titles(driver).empty());

    send(driver, { { "cmd", "delete_folder" }, { "index", 0 } });
    send(driver, { { "cmd", "answer" }, { "choose", "Delete" } });
    EXPECT_EQ(send(driver, { { "cmd", "store" }, { "key", "combinedDataSource" } })["value"], (Json { { "list", Json::array() } }));

    auto refused = driver.handle({ { "cmd", "editor" } });
    EXPECT_FALSE(refused["ok"].get<bool>());
    EXPECT_FALSE(driver.handle({ { "cmd", "rename_folder" } })["ok"].get<bool>());
}
