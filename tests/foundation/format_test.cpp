#include "platform/foundation/format.h"

#include <gtest/gtest.h>

using namespace cw;

TEST(Format, ProductFormats)
{
    struct Case {
        std::string pattern;
        std::vector<FormatArg> args;
        std::string expected;
    } cases[] = {
        { "%@_%@", { std::string("Intro"), std::string("12.250000") }, "Intro_12.250000" },
        { "%f", { 12.25 }, "12.250000" },
        { "Script-%ld-scriptSpeed", { std::int64_t { 0 } }, "Script-0-scriptSpeed" },
        { "%lu items", { std::uint64_t { 3 } }, "3 items" },
        { "%d", { std::int64_t { -4 } }, "-4" },
        { "%.f", { 10.5 }, "10" },
        { "%.f", { 11.5 }, "12" },
        { "%.0f", { 37.6 }, "38" },
        { "100%%", {}, "100%" },
        { "video_%@.mov", { std::string("ABC") }, "video_ABC.mov" },
        // Missing arguments and unknown directives are written through.
        { "%@ and %@", { std::string("one") }, "one and %@" },
        { "%q", { 1.0 }, "%q" },
        { "trailing %", {}, "trailing %" },
    };
    for (auto const& c : cases)
        EXPECT_EQ(format(c.pattern, c.args), c.expected) << c.pattern;
}
