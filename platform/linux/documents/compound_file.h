#pragma once

// Reader for the compound file container that Word 97-2003 documents (and
// password-protected .docx packages) are stored in: a small file system of
// fixed-size sectors linked through an allocation table.
//
// Every sector number read from the file is checked: chains that leave the
// file, point at special values or loop back on themselves make the file
// invalid instead of hanging or reading out of bounds.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw::documents {

class CompoundFile {
public:
    enum class ReadStatus { kOk, kMissing, kDamaged };

    static bool has_signature(std::string_view bytes);

    // bytes must outlive the object.
    explicit CompoundFile(std::string_view bytes);

    // False when the header, allocation tables or directory are unusable.
    bool valid() const { return valid_; }

    // Streams are looked up in the root storage only, ignoring letter case.
    bool has_stream(std::string_view name) const;
    ReadStatus read_stream(std::string_view name, std::string& out) const;

private:
    struct Entry {
        std::string name;  // lower-cased; non-ASCII code units as '?'
        std::uint8_t type = 0;
        std::uint32_t left = 0;
        std::uint32_t right = 0;
        std::uint32_t child = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;
    };

    bool read_header();
    bool read_fat();
    std::optional<std::vector<std::uint32_t>> fat_sector_numbers() const;
    bool read_directory();
    bool read_mini_stream();
    std::string_view sector(std::uint32_t index) const;
    std::optional<std::vector<std::uint32_t>> chain(std::vector<std::uint32_t> const& table,
                                                    std::uint32_t start) const;
    bool read_regular(std::uint32_t start, std::uint64_t size, std::string& out) const;
    bool read_mini(std::uint32_t start, std::uint64_t size, std::string& out) const;
    bool read_whole_chain(std::uint32_t start, std::string& out) const;
    std::optional<std::size_t> find(std::string_view name) const;

    std::string_view bytes_;
    bool valid_ = false;
    std::uint16_t major_version_ = 0;
    std::uint32_t sector_size_ = 512;
    std::uint32_t fat_sector_count_ = 0;
    std::uint32_t first_directory_sector_ = 0;
    std::uint32_t first_mini_fat_sector_ = 0;
    std::uint32_t first_difat_sector_ = 0;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> mini_fat_;
    std::vector<Entry> entries_;
    std::string mini_stream_;
};

}  // namespace cw::documents
