#pragma once

// Turns word-processor files into the plain text the prompter scrolls.
//
// Every extractor returns UTF-8 with paragraphs separated by "\n". Only the
// body of a document is returned: headers, footers, footnotes, comments and
// deleted (tracked) text are left out, because the presenter reads the
// script, not the page furniture. Field codes are dropped and their shown
// results kept. See docs/documents.md for the details of each format.

#include <string>
#include <string_view>

namespace cw::documents {

struct ExtractResult {
    bool ok = false;
    std::string text;   // UTF-8, paragraphs separated by "\n"
    std::string error;  // a reason to show the user when !ok
};

// Reads the file and picks the extractor from its extension (.txt, .rtf,
// .docx, .doc; any letter case). A Word file whose contents are of the other
// Word format (a .docx saved with a .doc name, say) is still read.
ExtractResult extract_file(std::string const& path);

ExtractResult extract_txt(std::string_view bytes);
ExtractResult extract_rtf(std::string_view bytes);
ExtractResult extract_docx(std::string_view bytes);
ExtractResult extract_doc(std::string_view bytes);

}  // namespace cw::documents
