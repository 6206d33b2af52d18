// Reading and writing the speed as text.

#include "prompter/speed_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace cw {
namespace {

TEST(SpeedText, TheLeadingNumberOfTheFieldIsTheSpeed)
{
    struct Case {
        char const* text;
        float speed;
    };
    Case const cases[] = {
        { "50", 50 },
        { "0", 0 },
        { "", 0 },
        { "fast", 0 },
        { "  12abc", 12 },
        { "+7", 7 },
        { "-3", -3 },
        { "10.25", 10.25f },
        { ".5", 0.5f },
        { "5.", 5 },
        { "1e2", 100 },
        { "1e", 1 },
        { "2e+", 2 },
        { "0x10", 0 },
        { "inf", 0 },
        { "nan", 0 },
        { "-", 0 },
        { ".", 0 },
        { "1e50", FLT_MAX },
        { "-1e50", -FLT_MAX },
        { "1e-50", 0 },
        { "0.0000000000000000000000000000000000000000000000001", 0 },
        { "123456789012345678901234567890123456789012345678901234567890", FLT_MAX },
        { "1000e-60", 0 },
        { "0.001e60", FLT_MAX },
    };
    for (auto const& c : cases)
        EXPECT_EQ(leading_speed(c.text), c.speed) << '"' << c.text << '"';
}

TEST(SpeedText, SpeedsAreShownRoundedAndStoredTruncated)
{
    struct Case {
        double speed;
        char const* shown;
        std::int64_t stored;
    };
    Case const cases[] = {
        { 10.5, "10", 10 },
        { 11.5, "12", 11 },
        { 10.7, "11", 10 },
        { -10.7, "-11", -10 },
        { 0.4, "0", 0 },
        { 1e300, nullptr, std::numeric_limits<std::int64_t>::max() },
        { -1e300, nullptr, std::numeric_limits<std::int64_t>::min() },
        { 9223372036854775807.0, nullptr, std::numeric_limits<std::int64_t>::max() },
        { std::nan(""), "nan", 0 },
        { INFINITY, "inf", std::numeric_limits<std::int64_t>::max() },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.speed);
        if (c.shown) {
            EXPECT_EQ(speed_field_text(c.speed), c.shown);
        }
        EXPECT_EQ(stored_speed(c.speed), c.stored);
    }
}

TEST(SpeedText, ShownSpeedsReadBackAsTheSameNumber)
{
    for (double speed : { 0.0, 37.6, 100.0, 1e30 })
        EXPECT_EQ(leading_speed(speed_field_text(speed)), static_cast<float>(std::nearbyint(speed))) << speed;
}

TEST(SpeedText, TheKeyFollowsCurrentlyViewing)
{
    EXPECT_EQ(speed_key(0), "Script-0-scriptSpeed");
    EXPECT_EQ(speed_key(12), "Script-12-scriptSpeed");
}

}
}
