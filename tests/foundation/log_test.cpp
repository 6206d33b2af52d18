// The captured log: what tests and the driver read back.

#include "platform/foundation/log.h"

#include <gtest/gtest.h>

using namespace cw;

TEST(CapturedLog, HandsOutEachLineOnce)
{
    CapturedLogSink sink;
    sink.write("one");
    sink.write("two");
    EXPECT_EQ(sink.take_new_lines(), (std::vector<std::string> { "one", "two" }));
    sink.write("three");
    EXPECT_EQ(sink.take_new_lines(), (std::vector<std::string> { "three" }));
    EXPECT_TRUE(sink.take_new_lines().empty());
    EXPECT_EQ(sink.lines().size(), 3u);
}

TEST(CapturedLog, ABoundedLogKeepsTheNewestLinesAndItsPlace)
{
    CapturedLogSink sink(3);
    for (auto const* line : { "a", "b", "c", "d" })
        sink.write(line);
    EXPECT_EQ(sink.lines(), (std::vector<std::string> { "b", "c", "d" }));
    EXPECT_EQ(sink.take_new_lines(), (std::vector<std::string> { "b", "c", "d" }));
    // Lines already taken and then dropped are not handed out again.
    sink.write("e");
    sink.write("f");
    EXPECT_EQ(sink.take_new_lines(), (std::vector<std::string> { "e", "f" }));
    EXPECT_FALSE(sink.contains("a"));
    EXPECT_TRUE(sink.contains("f"));
}
