#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/linux/documents/documents.h"
#include "platform/linux/documents/messages.h"
#include "tests/documents/support/cfb_writer.h"
#include "tests/documents/support/docx_writer.h"

namespace cw::documents {
namespace {

using testkit::compressed_piece;
using testkit::make_word_document;
using testkit::unicode_piece;
using testkit::WordOptions;
using testkit::WordPiece;

struct DocCase {
    char const* name;
    std::vector<WordPiece> pieces;
    std::string expected;
    WordOptions options = {};
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(DocCase const& c, std::ostream* os) { *os << c.name; }

class DocText : public testing::TestWithParam<DocCase> {};

TEST_P(DocText, ProducesExpectedText) {
    ExtractResult const r = extract_doc(make_word_document(GetParam().pieces, GetParam().options).bytes);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, GetParam().expected);
}

std::string case_name(testing::TestParamInfo<DocCase> const& info) { return info.param.name; }

WordOptions table0() {
    WordOptions o;
    o.table1 = false;
    return o;
}

WordOptions without_property_block() {
    WordOptions o;
    o.property_block = false;
    return o;
}

WordOptions body_of(std::uint32_t length) {
    WordOptions o;
    o.body_length = length;
    return o;
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, DocText,
    testing::Values(
        DocCase{"compressed", {compressed_piece("Hello\r")}, "Hello\n"},
        DocCase{"compressed_is_cp1252", {compressed_piece("\x93quoted\x94 \x80 caf\xE9\r")},
                "\xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x82\xAC caf\xC3\xA9\n"},
        DocCase{"unicode", {unicode_piece(u"Gr\u00FC\u00DFe \U0001F3AC\r")}, "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x8E\xAC\n"},
        DocCase{"right_to_left", {unicode_piece(u"\u05E9\u05DC\u05D5\u05DD \u0645\u0631\u062D\u0628\u0627\r")},
                "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7\n"},
        DocCase{"mixed_pieces", {compressed_piece("Caf\xE9 "), unicode_piece(u"\u05E9\u05DC\u05D5\u05DD"), compressed_piece("!\r")},
                "Caf\xC3\xA9 \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D!\n"},
        DocCase{"surrogates_split_across_pieces", {unicode_piece(u"\xD83C"), unicode_piece(u"\xDFAC\r")}, "\xF0\x9F\x8E\xAC\n"},
        DocCase{"table_zero_stream", {compressed_piece("From 0Table\r")}, "From 0Table\n", table0()},
        DocCase{"no_property_block", {compressed_piece("Plain\r")}, "Plain\n", without_property_block()},
        DocCase{"footnotes_after_body_left_out", {compressed_piece("Body\rA footnote\r")}, "Body\n", body_of(5)},
        DocCase{"body_longer_than_pieces", {compressed_piece("Short\r")}, "Short\n", body_of(1000)}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Characters, DocText,
    testing::Values(
        DocCase{"breaks_and_controls",
                {compressed_piece("a\x0B" "b\x0C" "c\x0E" "d\x09" "e\x1E" "f\x1F" "g\x01" "h\x08" "i\x02" "j\r")},
                "a\nb\nc\nd\te-fghij\n"},
        DocCase{"field_result_kept", {compressed_piece("See \x13 HYPERLINK \"http://x\" \x14the site\x15.\r")},
                "See the site.\n"},
        DocCase{"nested_field_in_instruction",
                {compressed_piece("\x13IF \x13MERGEFIELD a\x14inner\x15 = 1 \x14outer\x15\r")}, "outer\n"},
        DocCase{"nested_field_in_result", {compressed_piece("\x13REF a\x14[\x13PAGE\x14" "7\x15]\x15\r")}, "[7]\n"},
        DocCase{"field_without_result", {compressed_piece("Page \x13PAGE\x15 end\r")}, "Page  end\n"},
        DocCase{"stray_field_marks", {compressed_piece("a\x15" "b\x14" "c\r")}, "abc\n"},
        DocCase{"table_cells_and_rows", {compressed_piece("A1\x07" "B1\x07\x07" "A2\x07" "B2\x07\x07" "After\r")},
                "A1\nB1\n\nA2\nB2\n\nAfter\n"}),
    case_name);

TEST(DocLarge, StreamsBeyondTheMiniStreamAndHeaderFatList) {
    // 5 KiB sits in ordinary sectors; 8 MiB needs more allocation-table
    // sectors than the header lists, so the extra list sectors are read.
    for (std::size_t const size : {std::size_t{5000}, std::size_t{8u << 20}}) {
        std::string text;
        while (text.size() < size) text += "The quick brown fox jumps over the lazy dog.\r";
        ExtractResult const r = extract_doc(make_word_document({compressed_piece(text)}).bytes);
        ASSERT_TRUE(r.ok) << size << ": " << r.error;
        EXPECT_EQ(r.text.size(), text.size()) << size;
        EXPECT_EQ(r.text.substr(0, 45), "The quick brown fox jumps over the lazy dog.\n");
    }
}

TEST(DocRefusals, ProtectedOldAndForeignFiles) {
    auto const with = [](auto change) {
        WordOptions o;
        change(o);
        return make_word_document({compressed_piece("Text\r")}, o).bytes;
    };
    struct Case {
        char const* what;
        std::string bytes;
        char const* error;
    } const cases[] = {
        {"empty file", "", messages::kNoText},
        {"not a compound file", "Just some text that is not a Word file", messages::kNotDoc},
        {"encrypted", with([](WordOptions& o) { o.encrypted = true; }), messages::kPasswordProtected},
        {"word 6 signature", with([](WordOptions& o) { o.ident = 0xA5DC; }), messages::kOldWordFormat},
        {"word 95 version", with([](WordOptions& o) { o.version = 0x68; }), messages::kOldWordFormat},
        {"unknown signature", with([](WordOptions& o) { o.ident = 0x1234; }), messages::kNotDoc},
        {"compound file without a Word stream", testkit::make_compound_file({{"Workbook", "cells"}}).bytes,
         messages::kNotDoc},
        {"encrypted .docx with a .doc name",
         testkit::make_compound_file({{"EncryptionInfo", "x"}, {"EncryptedPackage", "y"}}).bytes,
         messages::kPasswordProtected},
        {"no text", make_word_document({compressed_piece("\r\r\x07\x07")}).bytes, messages::kNoText},
    };
    for (auto const& c : cases) {
        ExtractResult const r = extract_doc(c.bytes);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_EQ(r.error, c.error) << c.what;
    }
}

TEST(DocRefusals, DocxContentWithDocNameIsRead) {
    ExtractResult const r = extract_doc(testkit::docx_from_paragraphs({"Saved as .docx"}));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, "Saved as .docx\n");
}

// Damage to the Word structures inside an otherwise sound compound file.
class DocDamage : public testing::Test {
protected:
    static std::string rebuilt(std::vector<testkit::CfbStream> streams) {
        return testkit::make_compound_file(streams).bytes;
    }
    static std::vector<testkit::CfbStream> streams() {
        return testkit::word_streams({compressed_piece("Some text\r")});
    }
    static testkit::CfbStream& stream(std::vector<testkit::CfbStream>& all, std::string const& name) {
        for (auto& s : all) {
            if (s.name == name) return s;
        }
        throw std::runtime_error("no stream " + name);
    }
    static void expect_damaged(std::vector<testkit::CfbStream> const& s, char const* what) {
        ExtractResult const r = extract_doc(rebuilt(s));
        EXPECT_FALSE(r.ok) << what;
        EXPECT_EQ(r.error, messages::kDamagedDoc) << what;
    }
    // The real piece table sits at the start of 1Table, after a 6-byte
    // property block: type 2, size, then character positions and pieces.
    static constexpr std::size_t kPlc = 6 + 5;
};

TEST_F(DocDamage, PieceTableProblems) {
    {
        auto s = streams();
        stream(s, "WordDocument").data.resize(0x100);
        expect_damaged(s, "FIB cut short");
    }
    {
        auto s = streams();
        stream(s, "1Table").data.resize(8);
        expect_damaged(s, "piece table past the end of the table stream");
    }
    {
        auto s = streams();
        std::erase_if(s, [](auto const& x) { return x.name == "1Table"; });
        expect_damaged(s, "table stream missing");
    }
    {
        auto s = streams();
        stream(s, "1Table").data[0] = '\x07';
        expect_damaged(s, "unknown block type");
    }
    {
        auto s = streams();
        stream(s, "1Table").data[2] = '\xFF';  // property block size becomes negative
        expect_damaged(s, "negative property block");
    }
    {
        auto s = streams();
        stream(s, "1Table").data[7] = '\x05';  // piece table size no longer 4 + 12n
        expect_damaged(s, "piece table size");
    }
    {
        auto s = streams();
        auto& t = stream(s, "1Table").data;
        t[kPlc] = '\x50';  // first position past the last
        expect_damaged(s, "positions out of order");
    }
    {
        auto s = streams();
        auto& t = stream(s, "1Table").data;
        t[kPlc + 8 + 2 + 3] = '\x3F';  // text offset far past the stream
        expect_damaged(s, "text past the end of WordDocument");
    }
}

}  // namespace
}  // namespace cw::documents
