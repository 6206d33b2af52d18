#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/linux/documents/documents.h"
#include "platform/linux/documents/messages.h"
#include "tests/documents/support/paths.h"

namespace cw::documents {
namespace {

struct RtfCase {
    char const* name;
    std::string rtf;
    std::string expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(RtfCase const& c, std::ostream* os) { *os << c.name; }

class RtfText : public testing::TestWithParam<RtfCase> {};

TEST_P(RtfText, ProducesExpectedText) {
    ExtractResult const r = extract_rtf(GetParam().rtf);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, GetParam().expected);
}

std::string case_name(testing::TestParamInfo<RtfCase> const& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(
    Structure, RtfText,
    testing::Values(
        RtfCase{"minimal", R"({\rtf1 Hello})", "Hello\n"},
        RtfCase{"breaks_and_tabs", R"({\rtf1 One\par Two\line Three\tab Four\page Five})",
                "One\nTwo\nThree\tFour\nFive\n"},
        RtfCase{"escaped_braces_and_backslash", R"({\rtf1 a\{b\}c\\d})", "a{b}c\\d\n"},
        RtfCase{"file_line_breaks_are_not_text", "{\\rtf1 one\r\ntwo\n}", "onetwo\n"},
        RtfCase{"backslash_line_break_is_par", "{\\rtf1 one\\\ntwo}", "one\ntwo\n"},
        RtfCase{"delimiter_space_consumed", R"({\rtf1\b bold\b0  plain})", "bold plain\n"},
        RtfCase{"huge_parameter", R"({\rtf1 a\fs99999999999999999999 b})", "ab\n"},
        RtfCase{"text_after_closing_brace_ignored", R"({\rtf1 a}tail})", "a\n"},
        RtfCase{"truncated_file_keeps_text", R"({\rtf1 {\b bold)", "bold\n"},
        RtfCase{"table_cells_and_rows",
                R"({\rtf1\trowd\cellx100\cellx200\pard\intbl A\cell B\cell\row\pard After\par})",
                "A\nB\n\nAfter\n"},
        RtfCase{"list_numbers_not_shown",
                R"({\rtf1{\listtext\'b7\tab}Item one\par{\*\pn\pnlvlblt{\pntxtb \'b7}}{\pntext 2.\tab}Item two\par})",
                "Item one\nItem two\n"}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Characters, RtfText,
    testing::Values(
        RtfCase{"hex_is_cp1252", R"({\rtf1\ansi\ansicpg1252 Caf\'e9 \'93q\'94 \'80})",
                "Caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D \xE2\x82\xAC\n"},
        RtfCase{"raw_8bit_is_cp1252", "{\\rtf1 caf\xE9}", "caf\xC3\xA9\n"},
        RtfCase{"unicode_skips_one_fallback", R"({\rtf1 r\u233?sum\u233?})", "r\xC3\xA9sum\xC3\xA9\n"},
        RtfCase{"uc0_has_no_fallback", R"({\rtf1\uc0 \u1488\u1489})", "\xD7\x90\xD7\x91\n"},
        RtfCase{"hex_fallback_counts_as_one", R"({\rtf1\uc2 \u8364\'80\'80!})", "\xE2\x82\xAC!\n"},
        RtfCase{"control_word_fallback_counts_as_one", R"({\rtf1 \u233\'e9\u233\emdash x})",
                "\xC3\xA9\xC3\xA9x\n"},
        RtfCase{"uc_is_scoped_to_group", R"({\rtf1 {\uc3 \u233 abc}\u233?x})", "\xC3\xA9\xC3\xA9x\n"},
        RtfCase{"fallback_stops_at_group_edge", R"({\rtf1\uc2 \u233{x}y})", "\xC3\xA9xy\n"},
        RtfCase{"surrogate_pair_emoji", R"({\rtf1 \u-10179?\u-8704?})", "\xF0\x9F\x98\x80\n"},
        RtfCase{"lone_surrogate_replaced", R"({\rtf1 \u-10179?x})", "\xEF\xBF\xBDx\n"},
        RtfCase{"right_to_left", R"({\rtf1\rtlpar \u1513?\u1500?\u1493?\u1501?})",
                "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D\n"},
        RtfCase{"named_characters",
                R"({\rtf1 \lquote a\rquote  \ldblquote b\rdblquote  x\emdash y\endash z\bullet\~w\_v\-u})",
                "\xE2\x80\x98" "a\xE2\x80\x99 \xE2\x80\x9C" "b\xE2\x80\x9D x\xE2\x80\x94y\xE2\x80\x93z\xE2\x80\xA2"
                "\xC2\xA0w-vu\n"},
        RtfCase{"unicode_alternate_group", R"({\rtf1{\upr{caf\'e9 ansi}{\*\ud{caf\u233? unicode}}}})",
                "caf\xC3\xA9 unicode\n"}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    HiddenContent, RtfText,
    testing::Values(
        RtfCase{"document_tables",
                R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red0\green0\blue0;}{\stylesheet{Normal;}}{\info{\title T}}Body})",
                "Body\n"},
        RtfCase{"unknown_ignorable_destination",
                R"({\rtf1{\*\generator Writer 1.0;}{\*\somethingnew {secret}}Shown})", "Shown\n"},
        RtfCase{"headers_footers_footnotes",
                R"({\rtf1{\header Page head}Script{\footnote Note text} goes on{\footer Foot}{\headerl L}{\footerf F}})",
                "Script goes on\n"},
        RtfCase{"picture_data", R"({\rtf1 A{\pict\pngblip 89504e47}B})", "AB\n"},
        RtfCase{"field_result_kept",
                R"({\rtf1 See {\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt the site}}.})", "See the site.\n"},
        RtfCase{"binary_data_skipped", "{\\rtf1 a{\\pict\\bin5 }{\\\\x}b\\bin3 {}}c}", "abc\n"},
        RtfCase{"binary_past_end", R"({\rtf1 a\bin999 xyz})", "a\n"},
        RtfCase{"hidden_text", R"({\rtf1 a{\v b}c\v d\v0 e})", "ace\n"},
        RtfCase{"plain_ends_hidden", R"({\rtf1 {\v x\plain y}})", "y\n"},
        RtfCase{"tracked_deletion", R"({\rtf1 keep{\deleted gone} this})", "keep this\n"},
        RtfCase{"bookmark_names", R"({\rtf1 {\*\bkmkstart intro}Intro{\*\bkmkend intro}})", "Intro\n"}),
    case_name);

TEST(RtfRefusals, NonRtfAndTextlessFilesAreRefused) {
    struct Case {
        std::string rtf;
        char const* error;
    } const cases[] = {
        {"", messages::kNoText},
        {" \r\n\t", messages::kNoText},
        {"Hello, world", messages::kNotRtf},
        {"{\\rtf", messages::kNoText},
        {"{\\rtf1{\\fonttbl{\\f0 Arial;}}\\par\\par}", messages::kNoText},
        {"{\\rtf1 \\~\\emspace}", messages::kNoText},
        {"{\\rtf1 {\\header only a header}}", messages::kNoText},
    };
    for (auto const& c : cases) {
        ExtractResult const r = extract_rtf(c.rtf);
        EXPECT_FALSE(r.ok) << c.rtf;
        EXPECT_EQ(r.error, c.error) << c.rtf;
    }
}

// The group stack lives on the heap, so depth is limited only by the file.
TEST(RtfNesting, HundredThousandGroupsDeep) {
    constexpr std::size_t kDepth = 100'000;
    std::string const open(kDepth, '{');
    std::string const close(kDepth, '}');

    ExtractResult const closed = extract_rtf("{\\rtf1 " + open + "deep" + close + " end}");
    ASSERT_TRUE(closed.ok) << closed.error;
    EXPECT_EQ(closed.text, "deep end\n");

    ExtractResult const unclosed = extract_rtf("{\\rtf1 " + open);
    EXPECT_FALSE(unclosed.ok);
    EXPECT_EQ(unclosed.error, messages::kNoText);

    ExtractResult const skipped = extract_rtf("{\\rtf1 {\\info " + open + "secret" + close + "}shown}");
    ASSERT_TRUE(skipped.ok) << skipped.error;
    EXPECT_EQ(skipped.text, "shown\n");
}

// Hand-written files: plain.rtf is a simple script; script.rtf has
// everything a word processor puts around the words: tables of fonts and
// colours, a header and footer, a footnote, fields, hidden text, list
// bullets, a table, a picture, accents, right-to-left text and an emoji.
TEST(RtfFixture, FilesMatchTheirExpectedText) {
    for (char const* name : {"plain", "script"}) {
        std::string const rtf = testkit::read_file(testkit::fixture(std::string(name) + ".rtf"));
        std::string const expected = testkit::read_file(testkit::fixture(std::string(name) + ".expected.txt"));
        ASSERT_FALSE(rtf.empty()) << name;
        ExtractResult const r = extract_rtf(rtf);
        ASSERT_TRUE(r.ok) << name << ": " << r.error;
        EXPECT_EQ(r.text, expected) << name;
    }
}

}  // namespace
}  // namespace cw::documents
