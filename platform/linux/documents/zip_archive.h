#pragma once

// Read-only access to the parts of a zip package held in memory, with one
// budget for everything read from it so a small file that inflates to
// gigabytes (a zip bomb) is refused instead of exhausting memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct zip;

namespace cw::documents {

class ZipArchive {
public:
    enum class OpenStatus { kOk, kNotZip, kDamaged };
    enum class ReadStatus { kOk, kMissing, kTooLarge, kDamaged, kEncrypted };

    // bytes must outlive the archive.
    ZipArchive(std::string_view bytes, std::size_t read_budget);
    ~ZipArchive();
    ZipArchive(ZipArchive const&) = delete;
    ZipArchive& operator=(ZipArchive const&) = delete;

    OpenStatus status() const { return status_; }

    // Reads a whole entry; the name is matched without regard to letter case,
    // as package part names are.
    ReadStatus read(std::string const& name, std::string& out);

private:
    ReadStatus read_index(std::uint64_t index, std::string& out);

    zip* archive_ = nullptr;
    OpenStatus status_ = OpenStatus::kNotZip;
    std::size_t budget_left_;
};

}  // namespace cw::documents
