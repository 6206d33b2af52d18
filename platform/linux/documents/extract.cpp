// Choosing an extractor for a file on disk.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/linux/documents/documents.h"
#include "platform/linux/documents/messages.h"
#include "platform/linux/documents/result.h"

namespace cw::documents {
namespace {

// Far beyond any script; stops a mistaken pick of a disk image or video from
// being read into memory.
constexpr std::uintmax_t kMaxFileSize = 256u * 1024 * 1024;

std::string lower_extension(std::string const& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return ext;
}

using Extractor = ExtractResult (*)(std::string_view);

std::optional<Extractor> extractor_for(std::string const& ext) {
    if (ext == ".txt") return extract_txt;
    if (ext == ".rtf") return extract_rtf;
    if (ext == ".docx") return extract_docx;
    if (ext == ".doc") return extract_doc;
    return std::nullopt;
}

std::optional<std::string> read_whole_file(std::string const& path, ExtractResult& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = failure(messages::kCannotOpen);
        return std::nullopt;
    }
    std::uintmax_t const size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileSize) {
        error = failure(ec ? messages::kCannotOpen : messages::kFileTooLarge);
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        error = failure(messages::kCannotOpen);
        return std::nullopt;
    }
    return bytes;
}

// For a file whose name does not tell its kind ("mydocx", "notes"): the
// document formats by their signatures, and, for a name without any
// extension, text that holds no NUL bytes.
std::optional<Extractor> extractor_by_content(std::string_view bytes, bool has_extension) {
    if (bytes.starts_with("PK\x03\x04")) return extract_docx;
    if (bytes.starts_with("{\\rtf")) return extract_rtf;
    if (bytes.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) return extract_doc;
    if (!has_extension && bytes.substr(0, 8192).find('\0') == std::string_view::npos) return extract_txt;
    return std::nullopt;
}

}  // namespace

ExtractResult extract_file(std::string const& path) {
    auto const extension = lower_extension(path);
    auto extractor = extractor_for(extension);
    ExtractResult error;
    auto const bytes = read_whole_file(path, error);
    if (!bytes) return error;
    if (!extractor) extractor = extractor_by_content(*bytes, !extension.empty());
    if (!extractor) return failure(messages::kUnsupportedType);
    return (*extractor)(*bytes);
}

}  // namespace cw::documents
