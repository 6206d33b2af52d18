#include "platform/linux/documents/zip_archive.h"

#include <zip.h>

#include <algorithm>
#include <array>

namespace cw::documents {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

ZipArchive::OpenStatus open_status_for(zip_error_t& error, std::string_view bytes) {
    if (zip_error_code_zip(&error) == ZIP_ER_NOZIP && !bytes.starts_with("PK")) {
        return ZipArchive::OpenStatus::kNotZip;
    }
    return ZipArchive::OpenStatus::kDamaged;
}

ZipArchive::ReadStatus status_for_open_failure(zip_t* archive) {
    int const code = zip_error_code_zip(zip_get_error(archive));
    if (code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_ENCRNOTSUPP) {
        return ZipArchive::ReadStatus::kEncrypted;
    }
    return ZipArchive::ReadStatus::kDamaged;
}

}  // namespace

ZipArchive::ZipArchive(std::string_view bytes, std::size_t read_budget)
    : budget_left_(read_budget) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source != nullptr) {
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (archive_ == nullptr) zip_source_free(source);
    }
    status_ = archive_ != nullptr ? OpenStatus::kOk : open_status_for(error, bytes);
    zip_error_fini(&error);
}

ZipArchive::~ZipArchive() {
    if (archive_ != nullptr) zip_discard(archive_);
}

ZipArchive::ReadStatus ZipArchive::read(std::string const& name, std::string& out) {
    if (archive_ == nullptr) return ReadStatus::kDamaged;
    zip_int64_t const index = zip_name_locate(archive_, name.c_str(), ZIP_FL_NOCASE);
    if (index < 0) return ReadStatus::kMissing;
    return read_index(static_cast<std::uint64_t>(index), out);
}

// The sizes recorded in the archive are not trusted: the budget is charged
// for the bytes actually inflated.
ZipArchive::ReadStatus ZipArchive::read_index(std::uint64_t index, std::string& out) {
    zip_file_t* file = zip_fopen_index(archive_, index, 0);
    if (file == nullptr) return status_for_open_failure(archive_);
    out.clear();
    zip_stat_t stat;
    if (zip_stat_index(archive_, index, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) != 0) {
        out.reserve(static_cast<std::size_t>(std::min<zip_uint64_t>(stat.size, budget_left_)));
    }
    std::array<char, kChunk> chunk;
    ReadStatus status = ReadStatus::kOk;
    for (;;) {
        zip_int64_t const n = zip_fread(file, chunk.data(), chunk.size());
        if (n < 0) {
            status = ReadStatus::kDamaged;
            break;
        }
        if (n == 0) break;
        auto const count = static_cast<std::size_t>(n);
        if (count > budget_left_) {
            status = ReadStatus::kTooLarge;
            break;
        }
        budget_left_ -= count;
        out.append(chunk.data(), count);
    }
    zip_fclose(file);
    return status;
}

}  // namespace cw::documents
