// .docx: a zip package whose main part is found through the officeDocument
// relationship in _rels/.rels. Only the relationships and the main part are
// read, and at most 64 MiB is inflated from the package in all.

#include <pugixml.hpp>

#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/documents/compound_file.h"
#include "platform/linux/documents/documents.h"
#include "platform/linux/documents/docx_text.h"
#include "platform/linux/documents/messages.h"
#include "platform/linux/documents/result.h"
#include "platform/linux/documents/zip_archive.h"

namespace cw::documents {
namespace {

constexpr std::size_t kReadBudget = 64u * 1024 * 1024;
constexpr std::string_view kOfficeDocumentType = "/relationships/officeDocument";


int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Relationship targets are URIs: percent-escapes stand for the bytes of the
// UTF-8 part name.
std::string percent_decode(std::string_view uri) {
    std::string out;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && hex_digit(uri[i + 1]) >= 0 &&
            hex_digit(uri[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hex_digit(uri[i + 1]) * 16 + hex_digit(uri[i + 2])));
            i += 2;
        } else {
            out.push_back(uri[i]);
        }
    }
    return out;
}

// Targets in _rels/.rels are relative to the package root.
std::string part_name(std::string_view target) {
    std::string name = percent_decode(target);
    while (name.starts_with('/')) name.erase(0, 1);
    while (name.starts_with("./")) name.erase(0, 2);
    return name;
}

// The main part named by the package relationships, or nullopt when there
// is none. The caller has checked that rels parses.
std::optional<std::string> main_part_from(pugi::xml_document const& rels) {
    for (pugi::xml_node const r : rels.document_element().children()) {
        std::string_view const type = r.attribute("Type").value();
        std::string_view const mode = r.attribute("TargetMode").value();
        if (type.ends_with(kOfficeDocumentType) && mode != "External") {
            return part_name(r.attribute("Target").value());
        }
    }
    return std::nullopt;
}

ExtractResult failure_for(ZipArchive::ReadStatus status) {
    switch (status) {
        case ZipArchive::ReadStatus::kTooLarge: return failure(messages::kTooLarge);
        case ZipArchive::ReadStatus::kEncrypted: return failure(messages::kPasswordProtected);
        case ZipArchive::ReadStatus::kMissing: return failure(messages::kNotWordDocx);
        case ZipArchive::ReadStatus::kDamaged:
        case ZipArchive::ReadStatus::kOk: break;
    }
    return failure(messages::kDamagedDocx);
}

ExtractResult extract_package(ZipArchive& archive) {
    std::string rels_xml;
    auto status = archive.read("_rels/.rels", rels_xml);
    if (status != ZipArchive::ReadStatus::kOk) return failure_for(status);
    pugi::xml_document rels;
    if (!rels.load_buffer_inplace(rels_xml.data(), rels_xml.size(), kDocxParseOptions)) {
        return failure(messages::kDamagedDocx);
    }
    std::optional<std::string> const main = main_part_from(rels);
    if (!main) return failure(messages::kNotWordDocx);
    std::string xml;
    status = archive.read(*main, xml);
    if (status != ZipArchive::ReadStatus::kOk) return failure_for(status);
    return docx_text_from_xml(xml);
}

}  // namespace

ExtractResult extract_docx(std::string_view bytes) {
    if (is_blank(bytes)) return failure(messages::kNoText);
    // A password-protected .docx is not a zip at all but an encrypted
    // package inside a compound file, as is a .doc saved under a .docx name.
    if (CompoundFile::has_signature(bytes)) return extract_doc(bytes);
    ZipArchive archive(bytes, kReadBudget);
    switch (archive.status()) {
        case ZipArchive::OpenStatus::kOk: return extract_package(archive);
        case ZipArchive::OpenStatus::kNotZip: return failure(messages::kNotDocx);
        case ZipArchive::OpenStatus::kDamaged: break;
    }
    return failure(messages::kDamagedDocx);
}

}  // namespace cw::documents
