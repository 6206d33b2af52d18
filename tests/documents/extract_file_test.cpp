#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/linux/documents/documents.h"
#include "platform/linux/documents/messages.h"
#include "tests/documents/support/cfb_writer.h"
#include "tests/documents/support/docx_writer.h"

namespace cw::documents {
namespace {

namespace fs = std::filesystem;

class ExtractFile : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(testing::TempDir()) /
               ("cw_documents_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(std::string const& name, std::string const& bytes) {
        fs::path const p = dir_ / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }

    fs::path dir_;
};

std::string const kDocx = testkit::docx_from_paragraphs({"From docx"});
std::string doc_bytes() { return testkit::make_word_document({testkit::compressed_piece("From doc\r")}).bytes; }

TEST_F(ExtractFile, PicksTheExtractorByExtensionIgnoringCase) {
    struct Case {
        char const* name;
        std::string bytes;
        char const* expected;
    } const cases[] = {
        {"script.txt", "From txt", "From txt"},
        {"SCRIPT.TXT", "Upper", "Upper"},
        {"script.Rtf", "{\\rtf1 From rtf}", "From rtf\n"},
        {"script.DOCX", kDocx, "From docx\n"},
        {"script.doc", doc_bytes(), "From doc\n"},
        {"script.v2.DoC", doc_bytes(), "From doc\n"},
        // Word files whose contents are the other Word format.
        {"mislabelled.doc", kDocx, "From docx\n"},
        {"mislabelled.docx", doc_bytes(), "From doc\n"},
        // RTF in a .txt file is plain text to the user who named it so.
        {"notes.txt", "{\\rtf1 x}", "{\\rtf1 x}"},
        // Word saves rich text under a .doc name on request.
        {"rich.doc", "{\\rtf1 From rtf}", "From rtf\n"},
        // Names that do not tell the kind: the content does.
        {"mydocx", kDocx, "From docx\n"},
        {"archive.docx.zip", kDocx, "From docx\n"},
        {"old-notes.bak", doc_bytes(), "From doc\n"},
        {"README", "text", "text"},
    };
    for (auto const& c : cases) {
        ExtractResult const r = extract_file(write(c.name, c.bytes));
        ASSERT_TRUE(r.ok) << c.name << ": " << r.error;
        EXPECT_EQ(r.text, c.expected) << c.name;
    }
}

TEST_F(ExtractFile, UnusableFilesAreRefused) {
    fs::create_directories(dir_ / "folder.txt");
    struct Case {
        std::string path;
        char const* error;
    } const cases[] = {
        {write("slides.pdf", "%PDF-1.4"), messages::kUnsupportedType},
        {write("notes.bak", "plain words"), messages::kUnsupportedType},
        {write("blob", std::string("\x01\x00\x02", 3)), messages::kUnsupportedType},
        {(dir_ / "missing.txt").string(), messages::kCannotOpen},
        {(dir_ / "folder.txt").string(), messages::kCannotOpen},
        {write("empty.docx", ""), messages::kNoText},
        {write("empty.doc", ""), messages::kNoText},
        {write("empty.rtf", ""), messages::kNoText},
        {write("empty.txt", ""), messages::kNoText},
    };
    for (auto const& c : cases) {
        ExtractResult const r = extract_file(c.path);
        EXPECT_FALSE(r.ok) << c.path;
        EXPECT_EQ(r.error, c.error) << c.path;
    }
}

}  // namespace
}  // namespace cw::documents
