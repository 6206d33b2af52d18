// The headless text metrics: 0.5 x size per code point, 1.2 x size per
// line, greedy word wrap.

#include "platform/services/text_layout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace cw {
namespace {

TEST(HeadlessTextLayout, MeasuresWithTheDocumentedMetrics)
{
    // At size 10 a glyph is 5 points wide and a line 12 points tall, so a
    // width of 50 holds 10 glyphs.
    struct Case {
        char const* what;
        char const* text;
        double width;
        double lines;
        double glyphs_wide;
    };
    Case const cases[] = {
        { "empty", "", 50, 0, 0 },
        { "one word", "Hello", 50, 1, 5 },
        { "fits exactly", "Hello word", 50, 1, 10 },
        { "wraps at a space", "Hello world", 50, 2, 5 },
        { "greedy", "aa bb cc dd ee", 50, 2, 8 },
        { "spaces hang at the line end", "abcd      efgh", 50, 2, 4 },
        { "leading spaces count", "   abc", 50, 1, 6 },
        { "long word breaks", "abcdefghijklmnopqrstuvwxy", 50, 3, 10 },
        { "long word after a short one", "ab abcdefghijklmnop", 50, 3, 10 },
        { "paragraphs", "a\nb\r\nc\rd", 50, 4, 1 },
        { "an empty paragraph is a line", "a\n\nb", 50, 3, 1 },
        { "a final break opens a line", "a\n", 50, 2, 1 },
        { "only spaces", "   ", 50, 1, 0 },
        { "code points, not bytes", "\xC3\xA9t\xC3\xA9 \xE2\x9C\x93\xF0\x9F\x98\x80", 50, 1, 6 },
        { "invalid bytes count one each", "\xFF\xFE\xC3", 50, 1, 3 },
        { "no width, no wrap", "Hello world again", 0, 1, 17 },
        { "narrower than a glyph", "abc", 1, 3, 1 },
    };
    HeadlessTextLayout layout;
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        auto size = layout.measure(c.text, 10, c.width);
        EXPECT_DOUBLE_EQ(size.height, c.lines * 12);
        EXPECT_DOUBLE_EQ(size.width, c.glyphs_wide * 5);
    }
}

TEST(HeadlessTextLayout, GrowsWithTextAndSizeAndRejectsNonsenseSizes)
{
    HeadlessTextLayout layout;
    std::string text = "Ladies and gentlemen, good evening and welcome.";
    double short_height = layout.measure(text, 40, 390).height;
    EXPECT_GT(layout.measure(text + " " + text, 40, 390).height, short_height);
    EXPECT_GT(layout.measure(text, 80, 390).height, short_height);
    for (double size : { 0.0, -5.0, std::nan(""), double { INFINITY } })
        EXPECT_EQ(layout.measure(text, size, 390), (Size {})) << size;
}

}
}
