// Real documents written by other people's software. They are not part of
// the project: the tests skip when the folder is absent.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <ostream>
#include <string>

#include "platform/linux/documents/documents.h"
#include "platform/linux/documents/messages.h"
#include "tests/documents/support/normalise.h"
#include "tests/documents/support/paths.h"

namespace cw::documents {
namespace {

using testkit::collapse_whitespace;
using testkit::corpus_dir;

bool is_document(std::filesystem::path const& p) {
    static std::set<std::string> const kExtensions = {".txt", ".rtf", ".docx", ".doc"};
    return kExtensions.contains(p.extension().string());
}

std::string const& known_refusal(std::string const& error) {
    static std::set<std::string> const kMessages = {
        messages::kNoText,      messages::kPasswordProtected, messages::kTooLarge,    messages::kNotRtf,
        messages::kNotDocx,     messages::kDamagedDocx,       messages::kNotWordDocx, messages::kNotDoc,
        messages::kDamagedDoc,  messages::kOldWordFormat,
    };
    static std::string const kUnknown = "<not one of the known refusals>";
    auto const found = kMessages.find(error);
    return found == kMessages.end() ? kUnknown : *found;
}

TEST(Corpus, EveryFileGivesTextOrAClearRefusal) {
    auto const dir = corpus_dir();
    if (!dir) GTEST_SKIP() << "sample documents not present";
    int seen = 0;
    for (auto const& entry : std::filesystem::directory_iterator(*dir)) {
        if (!is_document(entry.path())) continue;
        ++seen;
        ExtractResult const r = extract_file(entry.path().string());
        SCOPED_TRACE(entry.path().filename().string());
        if (r.ok) {
            EXPECT_FALSE(collapse_whitespace(r.text).empty());
            EXPECT_TRUE(r.error.empty());
        } else {
            EXPECT_EQ(known_refusal(r.error), r.error);
            EXPECT_TRUE(r.text.empty());
        }
    }
    EXPECT_GT(seen, 20);
}

struct Expectation {
    char const* file;
    char const* error;             // nullptr when text is expected
    std::string contains = {};     // whitespace-collapsed
    std::string absent = {};       // must not appear
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(Expectation const& c, std::ostream* os) { *os << c.file; }

class CorpusFile : public testing::TestWithParam<Expectation> {};

TEST_P(CorpusFile, MatchesWhatAReaderSees) {
    auto const dir = corpus_dir();
    if (!dir) GTEST_SKIP() << "sample documents not present";
    Expectation const& e = GetParam();
    ExtractResult const r = extract_file((*dir / e.file).string());
    if (e.error != nullptr) {
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, e.error);
        return;
    }
    ASSERT_TRUE(r.ok) << r.error;
    std::string const text = collapse_whitespace(r.text);
    EXPECT_NE(text.find(e.contains), std::string::npos) << text;
    if (!e.absent.empty()) {
        EXPECT_EQ(text.find(e.absent), std::string::npos) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Samples, CorpusFile,
    testing::Values(
        Expectation{"bug53475-password-is-pass.docx", messages::kPasswordProtected},
        Expectation{"password_password_cryptoapi.doc", messages::kPasswordProtected},
        Expectation{"Word6.doc", messages::kOldWordFormat},
        Expectation{"truncated62886.docx", messages::kDamagedDocx},
        Expectation{"clusterfuzz-testcase-minimized-POIXWPFFuzzer-5313273089884160.docx", messages::kDamagedDocx},
        Expectation{"clusterfuzz-testcase-minimized-POIHWPFFuzzer-5418937293340672.doc", messages::kDamagedDoc},
        Expectation{"empty.doc", messages::kNoText},
        Expectation{"zero-length.docx", messages::kNoText},
        Expectation{"Headers.docx", messages::kNoText},  // its only text is in the page header
        Expectation{"ExternalEntityInText.docx", nullptr, "Here should not be the POI web site: \"&testent;\"", "<html"},
        Expectation{"delins.docx", nullptr, "Tika can be: A Nepalese name for Tilaka", "Maang Tika"},
        Expectation{"bug56075-changeTracking_on.docx", nullptr, "Change Tracking ON"},
        Expectation{"HeaderFooterUnicode.docx", nullptr, "GBP - \xC2\xA3 EUR - \xE2\x82\xAC", "simple header"},
        Expectation{"FldSimple.docx", nullptr, "FldSimple.docx"},
        Expectation{"WithTabs.docx", nullptr, "a b"},
        Expectation{"footnotes.docx", nullptr, "Eto ochen prostoy text so snoskoy"},
        Expectation{"checkboxes.docx", nullptr, "Test a checkbox within a textbox: -> In Table:", "FORMCHECKBOX"},
        Expectation{"smarttag-snippet.docx", nullptr, "Alice's Adventures in Wonderland Lewis Carroll"},
        Expectation{"Numbering.docx", nullptr, "Level 1 Level 2 Level 3 Level 4"},
        Expectation{"simple.doc", nullptr, "This is a simple file created with Word 97-SR2."},
        Expectation{"simple-table.doc", nullptr, "Cell 1,1 Cell 1,2 Cell 1,3 Cell 2,1"},
        Expectation{"hyperlink.doc", nullptr, "Before text; Hyperlink text; after text", "HYPERLINK"},
        Expectation{"footnote.doc", nullptr, "Test text", "TestFootnote"},
        Expectation{"page-break.doc", nullptr, "Line 1 Line 2"},
        Expectation{"innertable.doc", nullptr, "A B C D E 1 2 3 4 F G H I J"},
        Expectation{"table-merges.doc", nullptr, "A B C D E F G H I J K"},
        Expectation{"capitalized.doc", nullptr, "The following word is: capitalized."}),
    [](testing::TestParamInfo<Expectation> const& info) {
        std::string name = info.param.file;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

// The sample's expected text starts with its document properties, then a
// blank gap, then the body.
TEST(Corpus, SampleDocMatchesItsExpectedText) {
    auto const dir = corpus_dir();
    if (!dir) GTEST_SKIP() << "sample documents not present";
    std::string const expected_file = testkit::read_file(*dir / "SampleDoc.txt");
    std::size_t const gap = expected_file.find("\n\n");
    ASSERT_NE(gap, std::string::npos);
    ExtractResult const r = extract_file((*dir / "SampleDoc.docx").string());
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(collapse_whitespace(r.text), collapse_whitespace(expected_file.substr(gap)));
}

}  // namespace
}  // namespace cw::documents
