#include "platform/foundation/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <set>

using namespace cw;

TEST(Paths, RootChoiceOrder)
{
    setenv("CUEWRIGHT_HOME", "/tmp/cw-home", 1);
    setenv("XDG_DATA_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(Paths::resolve("/explicit").root, "/explicit");
    EXPECT_EQ(Paths::resolve().root, "/tmp/cw-home");
    unsetenv("CUEWRIGHT_HOME");
    EXPECT_EQ(Paths::resolve().root, "/tmp/xdg/cuewright");
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", "/home/presenter", 1);
    EXPECT_EQ(Paths::resolve().root, "/home/presenter/.local/share/cuewright");
    EXPECT_EQ(Paths::resolve().documents(), "/home/presenter/.local/share/cuewright/Documents");
}

TEST(Paths, UuidsAreUpperCaseAndFresh)
{
    std::regex shape("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        auto uuid = make_uuid();
        EXPECT_TRUE(std::regex_match(uuid, shape)) << uuid;
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST(Files, OperationsReportFailureInsteadOfThrowing)
{
    std::string error;
    EXPECT_FALSE(files::copy("/nonexistent/a", "/nonexistent/b", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(files::list("/nonexistent"));
    EXPECT_FALSE(files::remove("/nonexistent/a"));
}
