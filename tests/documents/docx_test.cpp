#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/linux/documents/documents.h"
#include "platform/linux/documents/messages.h"
#include "tests/documents/support/cfb_writer.h"
#include "tests/documents/support/docx_writer.h"

namespace cw::documents {
namespace {

using testkit::docx_entries;
using testkit::document_xml;
using testkit::make_docx;
using testkit::make_zip;

std::string run(std::string_view text) { return "<w:r><w:t xml:space=\"preserve\">" + std::string(text) + "</w:t></w:r>"; }
std::string para(std::string_view content) { return "<w:p>" + std::string(content) + "</w:p>"; }

struct DocxCase {
    char const* name;
    std::string body;
    std::string expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(DocxCase const& c, std::ostream* os) { *os << c.name; }

class DocxBody : public testing::TestWithParam<DocxCase> {};

TEST_P(DocxBody, ProducesExpectedText) {
    ExtractResult const r = extract_docx(make_docx(GetParam().body));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, GetParam().expected);
}

std::string case_name(testing::TestParamInfo<DocxCase> const& info) { return info.param.name; }

std::string const kField =
    R"(<w:r><w:fldChar w:fldCharType="begin"/></w:r>)"
    R"(<w:r><w:instrText xml:space="preserve"> HYPERLINK "http://example.com" </w:instrText></w:r>)"
    R"(<w:r><w:fldChar w:fldCharType="separate"/></w:r>)" +
    run("our site") + R"(<w:r><w:fldChar w:fldCharType="end"/></w:r>)";

// IF { MERGEFIELD x } = 1: the inner field sits in the outer one's
// instruction, so its result is not shown either.
std::string const kNestedField =
    R"(<w:r><w:fldChar w:fldCharType="begin"/></w:r><w:r><w:instrText>IF </w:instrText></w:r>)"
    R"(<w:r><w:fldChar w:fldCharType="begin"/></w:r><w:r><w:instrText>MERGEFIELD x</w:instrText></w:r>)"
    R"(<w:r><w:fldChar w:fldCharType="separate"/></w:r>)" + run("inner") +
    R"(<w:r><w:fldChar w:fldCharType="end"/></w:r><w:r><w:instrText> = 1</w:instrText></w:r>)"
    R"(<w:r><w:fldChar w:fldCharType="separate"/></w:r>)" + run("outer") +
    R"(<w:r><w:fldChar w:fldCharType="end"/></w:r>)";

std::string const kTextBox =
    R"(<w:r><mc:AlternateContent><mc:Choice Requires="wps"><w:drawing><wps:txbx><w:txbxContent>)" +
    para(run("Box text")) +
    R"(</w:txbxContent></wps:txbx></w:drawing></mc:Choice><mc:Fallback><w:pict><v:textbox><w:txbxContent>)" +
    para(run("Box text again")) + R"(</w:txbxContent></v:textbox></w:pict></mc:Fallback></mc:AlternateContent></w:r>)";

INSTANTIATE_TEST_SUITE_P(
    Text, DocxBody,
    testing::Values(
        DocxCase{"paragraphs", para(run("One")) + para(run("Two")), "One\nTwo\n"},
        DocxCase{"runs_join", para(run("Hello ") + "<w:r><w:t>world</w:t></w:r>"), "Hello world\n"},
        DocxCase{"space_only_run", para(run("A") + run(" ") + run("B")), "A B\n"},
        DocxCase{"empty_paragraphs_kept", para(run("a")) + "<w:p/>" + para(run("b")), "a\n\nb\n"},
        DocxCase{"tab_break_carriage_return",
                 para("<w:r><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br/><w:t>c</w:t><w:cr/><w:t>d</w:t>"
                      "<w:br w:type=\"page\"/><w:t>e</w:t></w:r>"),
                 "a\tb\nc\nd\ne\n"},
        DocxCase{"tab_stops_are_not_tabs",
                 para(R"(<w:pPr><w:tabs><w:tab w:val="left" w:pos="720"/></w:tabs></w:pPr>)" + run("x")), "x\n"},
        DocxCase{"hyphens",
                 para("<w:r><w:t>co</w:t><w:softHyphen/><w:t>op</w:t><w:noBreakHyphen/><w:t>x</w:t>"
                      "<w:sym w:font=\"Wingdings\" w:char=\"F04A\"/></w:r>"),
                 "coop-x\n"},
        // Word always writes UTF-8; other bytes are replaced, not passed on.
        DocxCase{"malformed_utf8_replaced", para(run("a\xFB" "b")), "a\xEF\xBF\xBD" "b\n"},
        DocxCase{"entities", para("<w:r><w:t>Fish &amp; chips &lt;3 &#x263A;</w:t></w:r>"),
                 "Fish & chips <3 \xE2\x98\xBA\n"},
        DocxCase{"accents_emoji_right_to_left",
                 para(run("Caf\xC3\xA9 d\xC3\xA9j\xC3\xA0 vu \xF0\x9F\x8E\xAC")) +
                     para("<w:pPr><w:bidi/></w:pPr><w:r><w:rPr><w:rtl/></w:rPr><w:t>\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D</w:t></w:r>"),
                 "Caf\xC3\xA9 d\xC3\xA9j\xC3\xA0 vu \xF0\x9F\x8E\xAC\n\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D\n"},
        DocxCase{"wrappers_are_transparent",
                 para(R"(<w:sdt><w:sdtPr><w:alias w:val="Name"/></w:sdtPr><w:sdtContent>)" + run("Jane") +
                      R"(</w:sdtContent></w:sdt><w:hyperlink r:id="rId5">)" + run(" link") +
                      R"(</w:hyperlink><w:smartTag w:element="place">)" + run(" Paris") + "</w:smartTag>"),
                 "Jane link Paris\n"},
        DocxCase{"list_numbers_not_shown",
                 para(R"(<w:pPr><w:numPr><w:ilvl w:val="0"/><w:numId w:val="1"/></w:numPr></w:pPr>)" + run("First")),
                 "First\n"},
        DocxCase{"footnote_reference_only", para(run("Claim") + "<w:r><w:footnoteReference w:id=\"1\"/></w:r>" + run(".")),
                 "Claim.\n"},
        DocxCase{"table_cells_and_rows",
                 "<w:tbl><w:tblPr/><w:tblGrid><w:gridCol/></w:tblGrid>"
                 "<w:tr><w:tc><w:tcPr/>" + para(run("A1")) + "</w:tc><w:tc>" + para(run("B1")) + "</w:tc></w:tr>"
                 "<w:tr><w:tc>" + para(run("A2")) + para(run("A2 more")) + "</w:tc><w:tc><w:p/></w:tc></w:tr></w:tbl>" +
                     para(run("After")),
                 "A1\nB1\n\nA2\nA2 more\n\n\nAfter\n"}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Skipped, DocxBody,
    testing::Values(
        DocxCase{"tracked_changes",
                 para(run("Keep ") + R"(<w:del w:id="1" w:author="A"><w:r><w:delText>gone </w:delText></w:r></w:del>)" +
                      R"(<w:ins w:id="2" w:author="A">)" + run("new") + "</w:ins>"),
                 "Keep new\n"},
        DocxCase{"moved_text",
                 para("<w:moveFrom>" + run("old place") + "</w:moveFrom>" + run("stay") + "<w:moveTo>" + run(" moved") +
                      "</w:moveTo>"),
                 "stay moved\n"},
        DocxCase{"deleted_paragraph_mark_joins",
                 para(R"(<w:pPr><w:rPr><w:del w:id="3" w:author="A"/></w:rPr></w:pPr>)" + run("first ")) +
                     para(run("second")),
                 "first second\n"},
        DocxCase{"field_instruction_dropped", para(run("Visit ") + kField + run(".")), "Visit our site.\n"},
        DocxCase{"nested_field", para(kNestedField), "outer\n"},
        DocxCase{"field_without_result",
                 para(run("Page ") + R"(<w:r><w:fldChar w:fldCharType="begin"/></w:r><w:r><w:instrText>PAGE</w:instrText></w:r>)"
                                     R"(<w:r><w:fldChar w:fldCharType="end"/></w:r>)" + run(" of")),
                 "Page  of\n"},
        DocxCase{"simple_field", para(R"(<w:fldSimple w:instr=" DATE ">)" + run("1 May") + "</w:fldSimple>"), "1 May\n"},
        DocxCase{"stray_field_end", para(R"(<w:r><w:fldChar w:fldCharType="end"/></w:r>)" + run("still shown")),
                 "still shown\n"},
        DocxCase{"hidden_runs",
                 para(run("shown ") + "<w:r><w:rPr><w:vanish/></w:rPr><w:t>secret </w:t></w:r>" +
                      "<w:r><w:rPr><w:vanish w:val=\"0\"/></w:rPr><w:t>back</w:t></w:r>"),
                 "shown back\n"},
        DocxCase{"hidden_paragraph_mark_joins",
                 para("<w:pPr><w:rPr><w:vanish/></w:rPr></w:pPr>" + run("one ")) + para(run("line")), "one line\n"},
        DocxCase{"alternate_content_uses_choice", para(run("Before ") + kTextBox + run("after")),
                 "Before Box text\nafter\n"}),
    case_name);

std::string without_declaration(std::string const& xml) { return xml.substr(xml.find("?>") + 2); }

ExtractResult extract_main(std::string const& main_xml) {
    return extract_docx(make_zip(docx_entries(main_xml)));
}

TEST(DocxNamespaces, PrefixesComeFromTheDocument) {
    std::string const transitional = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
    std::string const strict = "http://purl.oclc.org/ooxml/wordprocessingml/main";
    struct Case {
        std::string xml;
        std::string expected;
    } const cases[] = {
        {"<x:document xmlns:x=\"" + transitional + "\"><x:body><x:p><x:r><x:t>Prefixed</x:t></x:r></x:p></x:body></x:document>",
         "Prefixed\n"},
        {"<document xmlns=\"" + transitional + "\"><body><p><r><t>Default</t><tab/><t>ns</t></r></p></body></document>",
         "Default\tns\n"},
        {"<w:document xmlns:w=\"" + strict + "\"><w:body><w:p><w:r><w:t>Strict</w:t></w:r></w:p></w:body></w:document>",
         "Strict\n"},
        // Another vocabulary's t elements are not Word text.
        {"<w:document xmlns:w=\"" + transitional + "\" xmlns:a=\"urn:other\"><w:body><w:p><w:r><w:t>Yes</w:t>"
         "<a:t>no</a:t></w:r></w:p></w:body></w:document>",
         "Yes\n"},
    };
    for (auto const& c : cases) {
        ExtractResult const r = extract_main(c.xml);
        ASSERT_TRUE(r.ok) << r.error << "\n" << c.xml;
        EXPECT_EQ(r.text, c.expected);
    }
}

std::string package_rels(std::string const& target, std::string const& extra = "") {
    return R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)" +
           extra +
           R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target=")" +
           target + R"("/></Relationships>)";
}

TEST(DocxPackage, MainPartIsFoundThroughTheRelationship) {
    std::string const main = document_xml(para(run("Found")));
    struct Case {
        char const* what;
        std::string rels;
        std::string part;
    } const cases[] = {
        {"unusual part name", package_rels("content/script.xml"), "content/script.xml"},
        {"absolute target", package_rels("/word/document.xml"), "word/document.xml"},
        {"percent-escaped target", package_rels("word/my%20script.xml"), "word/my script.xml"},
        {"part names ignore case", package_rels("Word/Document.XML"), "word/document.xml"},
        {"external relationship skipped",
         package_rels("word/real.xml",
                      R"(<Relationship Id="rId0" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="http://example.com/x.xml" TargetMode="External"/>)"),
         "word/real.xml"},
    };
    for (auto const& c : cases) {
        ExtractResult const r = extract_docx(make_zip({{"_rels/.rels", c.rels}, {c.part, main}}));
        ASSERT_TRUE(r.ok) << c.what << ": " << r.error;
        EXPECT_EQ(r.text, "Found\n") << c.what;
    }
}

TEST(DocxPackage, BrokenPackagesAreRefusedClearly) {
    std::string const main = document_xml(para(run("text")));
    std::string const good = make_docx(para(run("text")));
    struct Case {
        char const* what;
        std::string bytes;
        char const* error;
    } const cases[] = {
        {"empty file", "", messages::kNoText},
        {"not a zip", "This is plain text, not a package.", messages::kNotDocx},
        {"truncated", good.substr(0, good.size() / 2), messages::kDamagedDocx},
        {"cut before the directory", good.substr(0, good.size() - 30), messages::kDamagedDocx},
        {"no package relationships", make_zip({{"word/document.xml", main}}), messages::kNotWordDocx},
        {"malformed relationships", make_zip({{"_rels/.rels", "<Relationships"}, {"word/document.xml", main}}),
         messages::kDamagedDocx},
        {"relationship to a missing part", make_zip({{"_rels/.rels", package_rels("word/gone.xml")}}),
         messages::kNotWordDocx},
        {"no officeDocument relationship",
         make_zip({{"_rels/.rels", R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"/>)"},
                   {"word/document.xml", main}}),
         messages::kNotWordDocx},
        {"main part is not a Word document",
         make_zip(docx_entries(R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"/>)")),
         messages::kNotWordDocx},
        {"malformed main part", make_zip(docx_entries(document_xml(para(run("text"))).substr(0, 200))),
         messages::kDamagedDocx},
        {"empty main part", make_zip(docx_entries("")), messages::kDamagedDocx},
        {"document without text", make_docx(para("") + "<w:sectPr/>"), messages::kNoText},
    };
    for (auto const& c : cases) {
        ExtractResult const r = extract_docx(c.bytes);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_EQ(r.error, c.error) << c.what;
    }
}

// Stored (uncompressed) so the flipped byte lands in the part's data and
// only the checksum can tell.
TEST(DocxPackage, CorruptedPartDataIsDamage) {
    auto entries = docx_entries(document_xml(para(run("Checksummed text"))));
    for (auto& e : entries) e.compress = false;
    std::string bytes = make_zip(entries);
    std::size_t const at = bytes.find("Checksummed");
    ASSERT_NE(at, std::string::npos);
    bytes[at] = 'X';
    ExtractResult const r = extract_docx(bytes);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, messages::kDamagedDocx);
}

// 65 MiB of spaces deflate to about 64 KiB.
TEST(DocxPackage, ZipBombIsRefused) {
    std::string xml = document_xml(para(run("bomb")));
    xml.insert(xml.find("<w:body>"), std::string(65u * 1024 * 1024, ' '));
    std::string const bytes = make_zip(docx_entries(std::move(xml)));
    ASSERT_LT(bytes.size(), 1024u * 1024);
    ExtractResult const r = extract_docx(bytes);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, messages::kTooLarge);
}

TEST(DocxPackage, PasswordProtectedPackageIsRefused) {
    // Word stores an encrypted .docx as a compound file with these streams.
    auto const image = testkit::make_compound_file(
        {{"EncryptionInfo", std::string(200, '\x04')}, {"EncryptedPackage", std::string(5000, '\x5A')}});
    ExtractResult const r = extract_docx(image.bytes);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, messages::kPasswordProtected);
}

TEST(DocxXml, ExternalEntitiesAreNeverResolved) {
    std::string const xml =
        R"(<?xml version="1.0"?><!DOCTYPE w:document [<!ENTITY xxe SYSTEM "file:///etc/passwd">)"
        R"(<!ENTITY % remote SYSTEM "http://127.0.0.1:9/evil.dtd"> %remote;]>)" +
        without_declaration(document_xml(para(run("Secret: &xxe;"))));
    ExtractResult const r = extract_main(xml);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, "Secret: &xxe;\n");
}

TEST(DocxXml, InternalEntityExpansionDoesNotBlowUp) {
    std::string dtd = R"(<!DOCTYPE w:document [<!ENTITY a0 "laugh">)";
    for (int i = 1; i < 10; ++i) {
        std::string const prev = "&a" + std::to_string(i - 1) + ";";
        dtd += "<!ENTITY a" + std::to_string(i) + " \"" + prev + prev + prev + prev + prev + prev + prev + prev + "\">";
    }
    dtd += "]>";
    ExtractResult const r = extract_main(dtd + without_declaration(document_xml(para(run("&a9;")))));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_LT(r.text.size(), 100u);
}

TEST(DocxXml, DeepNestingDoesNotOverflow) {
    constexpr int kDepth = 100'000;
    std::string body;
    for (int i = 0; i < kDepth; ++i) body += "<w:sdt><w:sdtContent>";
    body += para(run("deep"));
    for (int i = 0; i < kDepth; ++i) body += "</w:sdtContent></w:sdt>";
    ExtractResult const r = extract_docx(make_docx(body));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, "deep\n");
}

}  // namespace
}  // namespace cw::documents
