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

}  // namespace

ExtractResult extract_file(std::string const& path) {
    auto const extractor = extractor_for(lower_extension(path));
    if (!extractor) return failure(messages::kUnsupportedType);
    ExtractResult error;
    auto const bytes = read_whole_file(path, error);
    if (!bytes) return error;
    return (*extractor)(*bytes);
}

}  // namespace cw::documents
