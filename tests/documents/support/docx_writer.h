#pragma once

// Builds .docx packages in memory for tests and benchmarks.

#include <string>
#include <string_view>
#include <vector>

namespace cw::documents::testkit {

struct ZipEntry {
    std::string name;
    std::string data;
    bool compress = true;
};

std::string make_zip(std::vector<ZipEntry> const& entries);

// A complete w:document whose w:body holds body_xml. The usual prefixes are
// bound: w, mc, wps, v, r.
std::string document_xml(std::string_view body_xml);

// The three parts a word processor needs: content types, the package
// relationships (pointing at main_part) and the main part itself.
std::vector<ZipEntry> docx_entries(std::string main_xml,
                                   std::string const& main_part = "word/document.xml");

std::string make_docx(std::string_view body_xml);

// One w:p per paragraph, text escaped for XML.
std::string docx_from_paragraphs(std::vector<std::string> const& paragraphs);

}  // namespace cw::documents::testkit
