// The stored form of colours.

#include "platform/ui/color_archive.h"

#include <gtest/gtest.h>

#include <cmath>

namespace cw {
namespace {

TEST(ColorArchive, ColoursComeBackExactly)
{
    Color const colours[] = {
        Color::black(), Color::white(), Color::clear(),
        { 0.1, 0.2, 0.3, 0.4 },
        { 1.0 / 3, 2.0 / 3, 0.999999999999, 5e-324 },
    };
    for (auto const& colour : colours) {
        auto bytes = archive_color(colour);
        EXPECT_EQ(bytes.data.size(), 36u);
        EXPECT_EQ(unarchive_color(bytes), colour);
    }
}

TEST(ColorArchive, TheLayoutIsMagicThenFourLittleEndianDoubles)
{
    auto bytes = archive_color({ 1.0, 0.0, 0.5, -2.0 }).data;
    std::string expected = "CWC1";
    expected += std::string("\x00\x00\x00\x00\x00\x00\xf0\x3f", 8);
    expected += std::string(8, '\0');
    expected += std::string("\x00\x00\x00\x00\x00\x00\xe0\x3f", 8);
    expected += std::string("\x00\x00\x00\x00\x00\x00\x00\xc0", 8);
    EXPECT_EQ(bytes, expected);
}

TEST(ColorArchive, AnythingElseReadsAsNoColour)
{
    auto good = archive_color(Color::white()).data;
    std::string const bad[] = {
        "",
        "CWC1",
        good.substr(0, 35),
        good + "x",
        "CWC2" + good.substr(4),
        "cwc1" + good.substr(4),
        std::string(36, '\0'),
    };
    for (auto const& bytes : bad)
        EXPECT_EQ(unarchive_color(Bytes { bytes }), std::nullopt) << bytes.size();
}

}
}
