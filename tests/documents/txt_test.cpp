#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/linux/documents/documents.h"
#include "platform/linux/documents/messages.h"

namespace cw::documents {
namespace {

using namespace std::string_literals;

struct TxtCase {
    char const* name;
    std::string bytes;
    std::string expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(TxtCase const& c, std::ostream* os) { *os << c.name; }

class TxtDecoding : public testing::TestWithParam<TxtCase> {};

TEST_P(TxtDecoding, ProducesExpectedText) {
    ExtractResult const r = extract_txt(GetParam().bytes);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, TxtDecoding,
    testing::Values(
        TxtCase{"plain_ascii", "Good evening.\nWelcome."s, "Good evening.\nWelcome."},
        TxtCase{"utf8_without_bom", "Caf\xC3\xA9 \xF0\x9F\x8E\xAC"s, "Caf\xC3\xA9 \xF0\x9F\x8E\xAC"},
        TxtCase{"utf8_bom_is_removed", "\xEF\xBB\xBFHello"s, "Hello"},
        TxtCase{"utf8_bom_with_bad_byte", "\xEF\xBB\xBF" "a\xFF" "b"s, "a\xEF\xBF\xBD" "b"},
        // é, then the curly quotes and euro sign only Windows-1252 has.
        TxtCase{"cp1252_fallback", "Caf\xE9 \x93quoted\x94 \x80"s, "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x82\xAC"},
        TxtCase{"cp1252_undefined_byte", "a\x81z"s, "a\xEF\xBF\xBDz"},
        TxtCase{"overlong_utf8_is_not_utf8", "\xC0\xAF!"s, "\xC3\x80\xC2\xAF!"},
        TxtCase{"utf16le_hebrew", "\xFF\xFE\xE9\x05\xDC\x05\xD5\x05\xDD\x05"s, "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"},
        TxtCase{"utf16be", "\xFE\xFF\x00H\x00i"s, "Hi"},
        TxtCase{"utf16le_surrogate_pair", "\xFF\xFE\x3C\xD8\xAC\xDF"s, "\xF0\x9F\x8E\xAC"},
        TxtCase{"utf16le_lone_surrogate", "\xFF\xFE\x3D\xD8" "A\x00"s, "\xEF\xBF\xBD" "A"},
        TxtCase{"utf16le_odd_trailing_byte", "\xFF\xFEO\x00K\x00!"s, "OK\xEF\xBF\xBD"},
        TxtCase{"crlf", "one\r\ntwo\r\n"s, "one\ntwo\n"},
        TxtCase{"lone_cr", "one\rtwo\r\rthree"s, "one\ntwo\n\nthree"},
        TxtCase{"utf16le_crlf", "\xFF\xFE" "a\x00\r\x00\n\x00" "b\x00"s, "a\nb"},
        TxtCase{"whitespace_kept_verbatim", "  indented\n\ttabbed  "s, "  indented\n\ttabbed  "}),
    [](testing::TestParamInfo<TxtCase> const& info) { return std::string(info.param.name); });

TEST(TxtBlank, EmptyAndWhitespaceOnlyHaveNoText) {
    for (std::string const& bytes :
         {""s, "   \r\n\t\n"s, "\xEF\xBB\xBF"s, "\xFF\xFE"s, "\xFF\xFE \x00\n\x00"s,
          "\xC2\xA0\xE2\x80\x83\n"s /* no-break and em spaces */}) {
        ExtractResult const r = extract_txt(bytes);
        EXPECT_FALSE(r.ok) << testing::PrintToString(bytes);
        EXPECT_EQ(r.error, messages::kNoText);
    }
}

}  // namespace
}  // namespace cw::documents
