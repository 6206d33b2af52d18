// Compares the extractors with the command-line converters found on many
// Linux systems: docx2txt for .docx, catdoc and antiword for .doc, unrtf for
// .rtf. Runs only where a tool is installed; each file and tool pair whose
// output is known to differ from ours says why (docs/documents.md explains
// the differences in full). Files we refuse (encrypted, damaged, Word 6) are
// not compared.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <ostream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "platform/linux/documents/documents.h"
#include "tests/documents/support/cfb_writer.h"
#include "tests/documents/support/docx_writer.h"
#include "tests/documents/support/normalise.h"
#include "tests/documents/support/paths.h"

namespace cw::documents {
namespace {

namespace fs = std::filesystem;

bool on_path(std::string const& program) {
    char const* path = std::getenv("PATH");
    std::stringstream dirs(path != nullptr ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        std::error_code ec;
        if (!dir.empty() && fs::is_regular_file(fs::path(dir) / program, ec)) return true;
    }
    return false;
}

std::string quoted(fs::path const& p) {
    std::string out = "'";
    for (char const c : p.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// The tool's standard output, or nullopt when it fails.
std::optional<std::string> run(std::string const& command) {
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string out;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    int const status = pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
}

void replace_all(std::string& s, std::string const& from, std::string const& to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) {
        s.replace(at, from.size(), to);
    }
}

// Layout-free comparison. The tools print typographic quotes and dashes as
// ASCII and antiword draws table borders, none of which is text.
std::string comparable(std::string text) {
    for (auto const& [from, to] : std::map<std::string, std::string>{
             {"\u2018", "'"}, {"\u2019", "'"}, {"\u201C", "\""}, {"\u201D", "\""},
             {"\u2013", "-"}, {"\u2014", "-"}, {"\u2026", "..."}, {"|", " "}}) {
        replace_all(text, from, to);
    }
    return testkit::collapse_whitespace(text);
}

// Runs of letters and digits; punctuation and spacing around it vary
// between tools.
std::vector<std::string> words(std::string const& text) {
    std::vector<std::string> out;
    std::string word;
    for (char const c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80) {
            word.push_back(c);
        } else if (!word.empty()) {
            out.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty()) out.push_back(word);
    return out;
}

// Every word of ours appears in theirs, in the same order.
bool in_order_within(std::string const& ours, std::string const& theirs) {
    auto const mine = words(ours);
    auto const all = words(theirs);
    std::size_t j = 0;
    for (auto const& w : mine) {
        while (j < all.size() && all[j] != w) ++j;
        if (j == all.size()) return false;
        ++j;
    }
    return true;
}

// unrtf puts a commented banner and the document information before a line
// of dashes.
std::string unrtf_body(std::string const& out) {
    std::size_t const rule = out.find("-----------------\n");
    std::string body = rule == std::string::npos ? out : out.substr(rule + 18);
    std::string kept;
    std::stringstream lines(body);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("###")) kept += line + "\n";
    }
    return kept;
}

enum class Expect {
    kSame,         // identical once layout is ignored
    kOursWithin,   // the tool adds text we leave out; ours is in it, in order
    kDifferent,    // documented only
};

struct Tool {
    char const* name;
    char const* extension;
    std::string (*command)(fs::path const& file, fs::path const& scratch);
    std::string (*body)(std::string const& output);
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(Tool const& c, std::ostream* os) { *os << c.name; }

std::string identity(std::string const& s) { return s; }

Tool const kTools[] = {
    {"docx2txt", ".docx", [](fs::path const& f, fs::path const&) { return "docx2txt < " + quoted(f); }, identity},
    {"catdoc", ".doc", [](fs::path const& f, fs::path const&) { return "catdoc -d utf-8 -w " + quoted(f); }, identity},
    {"antiword", ".doc", [](fs::path const& f, fs::path const&) { return "antiword -m UTF-8.txt " + quoted(f); },
     identity},
    // unrtf writes pictures to the working directory.
    {"unrtf", ".rtf",
     [](fs::path const& f, fs::path const& scratch) { return "cd " + quoted(scratch) + " && unrtf --text " + quoted(f); },
     unrtf_body},
};

struct KnownDifference {
    Expect expect;
    char const* why;
};

// Keyed by "tool:file".
std::map<std::string, KnownDifference> const kKnown = {
    {"docx2txt:ExternalEntityInText.docx", {Expect::kOursWithin, "docx2txt prints the document type declaration"}},
    {"docx2txt:Numbering.docx", {Expect::kOursWithin, "docx2txt draws list bullets and numbers"}},
    {"docx2txt:delins.docx", {Expect::kOursWithin, "docx2txt draws bullets and shows field instructions"}},
    {"docx2txt:checkboxes.docx", {Expect::kOursWithin, "docx2txt draws bullets and paragraph borders"}},
    {"docx2txt:unicode-path.docx",
     {Expect::kOursWithin, "the package has two parts named word/document.xml; we honour the Unicode name record"}},
    {"docx2txt:HeaderFooterUnicode.docx", {Expect::kDifferent, "docx2txt spells out \xC2\xA3 and \xE2\x82\xAC as words"}},
    {"catdoc:footnote.doc", {Expect::kOursWithin, "catdoc adds footnotes, comments and endnotes"}},
    {"catdoc:hyperlink.doc", {Expect::kOursWithin, "catdoc shows field instructions"}},
    {"antiword:innertable.doc", {Expect::kDifferent, "antiword lays nested tables out as a grid"}},
    {"antiword:table-merges.doc", {Expect::kDifferent, "antiword lays merged cells out as a grid"}},
    {"unrtf:script.rtf",
     {Expect::kDifferent, "unrtf shows hidden text, footnotes and list bullets and cannot print \\u characters"}},
};

std::vector<fs::path> inputs_for(char const* extension) {
    std::vector<fs::path> files;
    if (auto const dir = testkit::corpus_dir()) {
        for (auto const& e : fs::directory_iterator(*dir)) {
            if (e.path().extension() == extension) files.push_back(e.path());
        }
    }
    for (auto const& e : fs::directory_iterator(testkit::project_root() / "tests" / "documents" / "fixtures")) {
        if (e.path().extension() == extension) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Documents written here from our own text, so every tool has something to
// read without the shared corpus: accents, emoji, right-to-left text and a
// table.
std::vector<fs::path> generated_inputs(char const* extension, fs::path const& folder) {
    std::vector<std::pair<std::string, std::string>> documents;
    if (std::string_view(extension) == ".docx") {
        // Paragraphs carry an attribute, as a word processor writes them:
        // docx2txt only breaks lines at paragraphs that have one.
        auto paragraph = [](std::string const& text) { return "<w:p w:rsidR=\"00A1B2C3\"><w:r><w:t>" + text + "</w:t></w:r></w:p>"; };
        auto cell = [&](std::string const& text) { return "<w:tc>" + paragraph(text) + "</w:tc>"; };
        documents.emplace_back("generated-text.docx", testkit::make_docx(
            paragraph("Caf\u00e9 cr\u00e8me, na\u00efve fa\u00e7ade.") + paragraph("A microphone \U0001F3A4 on stage.")
            + paragraph("\u05e9\u05dc\u05d5\u05dd \u05e2\u05d5\u05dc\u05dd") + paragraph("The last line.")));
        documents.emplace_back("generated-table.docx", testkit::make_docx(
            paragraph("Before the table") + "<w:tbl><w:tr>" + cell("Speaker") + cell("Minutes") + "</w:tr><w:tr>" + cell("Ana")
            + cell("Ten") + "</w:tr></w:tbl>" + paragraph("After the table")));
    } else if (std::string_view(extension) == ".doc") {
        documents.emplace_back("generated.doc", testkit::make_word_document({
            testkit::compressed_piece("Good evening, everyone.\rThank you for coming tonight.\r"),
            testkit::unicode_piece(u"Caf\u00e9 cr\u00e8me and \u05e9\u05dc\u05d5\u05dd.\r")}).bytes);
    }
    std::vector<fs::path> files;
    for (auto const& [name, bytes] : documents) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        files.push_back(folder / name);
    }
    return files;
}

class ReferenceTool : public testing::TestWithParam<Tool> {
protected:
    void SetUp() override {
        scratch_ = fs::path(testing::TempDir()) / (std::string("cw_reference_") + GetParam().name);
        fs::create_directories(scratch_ / "in");
    }
    void TearDown() override { fs::remove_all(scratch_); }
    fs::path scratch_;
};

TEST_P(ReferenceTool, AgreesExceptForKnownDifferences) {
    Tool const& tool = GetParam();
    if (!on_path(tool.name)) GTEST_SKIP() << tool.name << " is not installed";
    int compared = 0;
    auto inputs = inputs_for(tool.extension);
    for (auto const& generated : generated_inputs(tool.extension, scratch_ / "in")) inputs.push_back(generated);
    for (fs::path const& file : inputs) {
        ExtractResult const ours = extract_file(file.string());
        if (!ours.ok) continue;
        auto const output = run(tool.command(file, scratch_));
        if (!output) continue;  // the tool cannot read it (antiword and small files, say)
        std::string const name = file.filename().string();
        auto const known = kKnown.find(std::string(tool.name) + ":" + name);
        Expect const expect = known == kKnown.end() ? Expect::kSame : known->second.expect;
        std::string const mine = comparable(ours.text);
        std::string const theirs = comparable(tool.body(*output));
        if (theirs.empty()) continue;
        ++compared;
        SCOPED_TRACE(name + (known == kKnown.end() ? "" : std::string(" (") + known->second.why + ")"));
        if (expect == Expect::kSame) {
            EXPECT_EQ(mine, theirs);
        } else if (expect == Expect::kOursWithin) {
            EXPECT_TRUE(in_order_within(mine, theirs)) << "ours:   " << mine << "\ntheirs: " << theirs;
        }
    }
    // The written .doc files are too bare for catdoc and antiword; their
    // comparisons need the real documents of the shared corpus.
    if (compared == 0 && !testkit::corpus_dir()) GTEST_SKIP() << "no document " << tool.name << " can read without the shared corpus";
    EXPECT_GT(compared, 0);
}

INSTANTIATE_TEST_SUITE_P(Tools, ReferenceTool, testing::ValuesIn(kTools),
                         [](testing::TestParamInfo<Tool> const& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace cw::documents
