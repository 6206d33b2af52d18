#include "tests/documents/support/docx_writer.h"

#include <zip.h>

#include <stdexcept>

namespace cw::documents::testkit {
namespace {

void check(bool ok, char const* what) {
    if (!ok) throw std::runtime_error(std::string("zip writer: ") + what);
}

void add_entry(zip_t* archive, ZipEntry const& e) {
    zip_source_t* source = zip_source_buffer(archive, e.data.data(), e.data.size(), 0);
    check(source != nullptr, "source");
    zip_int64_t const index = zip_file_add(archive, e.name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) zip_source_free(source);
    check(index >= 0, "add");
    check(zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                   e.compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0) == 0,
          "compression");
}

std::string read_all(zip_source_t* source) {
    check(zip_source_open(source) == 0, "reopen");
    std::string bytes;
    char chunk[65536];
    zip_int64_t n;
    while ((n = zip_source_read(source, chunk, sizeof chunk)) > 0) {
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    zip_source_close(source);
    return bytes;
}

std::string escape_xml(std::string_view text) {
    std::string out;
    for (char const c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out.push_back(c);
        }
    }
    return out;
}

}  // namespace

std::string make_zip(std::vector<ZipEntry> const& entries) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
    check(source != nullptr, "buffer");
    zip_t* archive = zip_open_from_source(source, ZIP_TRUNCATE, &error);
    check(archive != nullptr, "open");
    zip_source_keep(source);
    for (ZipEntry const& e : entries) add_entry(archive, e);
    check(zip_close(archive) == 0, "close");
    std::string bytes = read_all(source);
    zip_source_free(source);
    return bytes;
}

std::string document_xml(std::string_view body_xml) {
    return std::string(
               R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
               R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
               R"( xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006")"
               R"( xmlns:wps="http://schemas.microsoft.com/office/word/2010/wordprocessingShape")"
               R"( xmlns:v="urn:schemas-microsoft-com:vml")"
               R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")"
               R"( mc:Ignorable="wps"><w:body>)") +
           std::string(body_xml) + "</w:body></w:document>";
}

std::vector<ZipEntry> docx_entries(std::string main_xml, std::string const& main_part) {
    std::string const content_types =
        R"(<?xml version="1.0" encoding="UTF-8"?>)"
        R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
        R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
        R"(<Default Extension="xml" ContentType="application/xml"/>)"
        R"(<Override PartName="/)" + main_part +
        R"(" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
        R"(</Types>)";
    std::string const rels =
        R"(<?xml version="1.0" encoding="UTF-8"?>)"
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target=")" +
        main_part + R"("/></Relationships>)";
    return {{"[Content_Types].xml", content_types}, {"_rels/.rels", rels}, {main_part, std::move(main_xml)}};
}

std::string make_docx(std::string_view body_xml) {
    return make_zip(docx_entries(document_xml(body_xml)));
}

std::string docx_from_paragraphs(std::vector<std::string> const& paragraphs) {
    std::string body;
    for (auto const& p : paragraphs) {
        body += R"(<w:p><w:r><w:t xml:space="preserve">)" + escape_xml(p) + "</w:t></w:r></w:p>";
    }
    return make_docx(body);
}

}  // namespace cw::documents::testkit
