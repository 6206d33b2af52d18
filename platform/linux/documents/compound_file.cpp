#include "platform/linux/documents/compound_file.h"

#include <algorithm>

#include "platform/linux/documents/byte_reader.h"

namespace cw::documents {
namespace {

constexpr std::string_view kSignature = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kHeaderDifatEntries = 109;
constexpr std::size_t kHeaderDifatOffset = 0x4C;
constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::uint32_t kMiniSectorSize = 64;
constexpr std::uint64_t kMiniStreamCutoff = 4096;
constexpr std::size_t kEntrySize = 128;
constexpr std::uint8_t kStreamType = 2;
constexpr std::uint8_t kRootType = 5;

bool is_sector_number(std::uint32_t n) { return n <= kMaxRegularSector; }

std::string folded_name(std::string_view raw, std::uint16_t length_in_bytes) {
    std::size_t const units = std::min<std::size_t>(length_in_bytes, 64) / 2;
    std::string name;
    for (std::size_t i = 0; i < units; ++i) {
        std::uint16_t const unit = read_u16(raw, i * 2);
        if (unit == 0) break;
        char c = unit < 0x80 ? static_cast<char>(unit) : '?';
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        name.push_back(c);
    }
    return name;
}

std::string folded(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::vector<std::uint32_t> as_u32(std::string_view bytes) {
    std::vector<std::uint32_t> values(bytes.size() / 4);
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = read_u32(bytes, i * 4);
    return values;
}

}  // namespace

bool CompoundFile::has_signature(std::string_view bytes) { return bytes.starts_with(kSignature); }

CompoundFile::CompoundFile(std::string_view bytes) : bytes_(bytes) {
    valid_ = read_header() && read_fat() && read_directory() && read_mini_stream();
}

bool CompoundFile::read_header() {
    if (!has_signature(bytes_) || bytes_.size() < kHeaderSize) return false;
    if (read_u16(bytes_, 0x1C) != 0xFFFE) return false;  // byte order mark
    major_version_ = read_u16(bytes_, 0x1A);
    std::uint16_t const shift = read_u16(bytes_, 0x1E);
    if (shift != 9 && shift != 12) return false;
    if (read_u16(bytes_, 0x20) != 6) return false;  // 64-byte mini sectors
    sector_size_ = 1u << shift;
    fat_sector_count_ = read_u32(bytes_, 0x2C);
    first_directory_sector_ = read_u32(bytes_, 0x30);
    first_mini_fat_sector_ = read_u32(bytes_, 0x3C);
    first_difat_sector_ = read_u32(bytes_, 0x44);
    return true;
}

// Sector n starts after the header sector. The last sector of a file is
// sometimes cut short; what is there is returned.
std::string_view CompoundFile::sector(std::uint32_t index) const {
    std::uint64_t const offset = (std::uint64_t{index} + 1) * sector_size_;
    if (offset >= bytes_.size()) return {};
    return bytes_.substr(offset, sector_size_);
}

// The allocation table's own sectors are listed in the header and, past the
// first 109, in a chain of further list sectors.
std::optional<std::vector<std::uint32_t>> CompoundFile::fat_sector_numbers() const {
    std::uint64_t const sectors_in_file = bytes_.size() / sector_size_;
    if (fat_sector_count_ == 0 || fat_sector_count_ > sectors_in_file) return std::nullopt;
    std::vector<std::uint32_t> numbers;
    for (std::size_t i = 0; i < kHeaderDifatEntries && numbers.size() < fat_sector_count_; ++i) {
        numbers.push_back(read_u32(bytes_, kHeaderDifatOffset + i * 4));
    }
    std::uint32_t next = first_difat_sector_;
    std::vector<bool> seen(sectors_in_file + 1, false);
    while (numbers.size() < fat_sector_count_) {
        if (!is_sector_number(next) || next >= seen.size() || seen[next]) return std::nullopt;
        seen[next] = true;
        std::vector<std::uint32_t> const entries = as_u32(sector(next));
        if (entries.size() != sector_size_ / 4) return std::nullopt;
        for (std::size_t i = 0; i + 1 < entries.size() && numbers.size() < fat_sector_count_; ++i) {
            numbers.push_back(entries[i]);
        }
        next = entries.back();
    }
    return numbers;
}

bool CompoundFile::read_fat() {
    auto const numbers = fat_sector_numbers();
    if (!numbers) return false;
    fat_.reserve(numbers->size() * (sector_size_ / 4));
    for (std::uint32_t const n : *numbers) {
        std::string_view const data = is_sector_number(n) ? sector(n) : std::string_view{};
        if (data.size() != sector_size_) return false;
        std::vector<std::uint32_t> const entries = as_u32(data);
        fat_.insert(fat_.end(), entries.begin(), entries.end());
    }
    return true;
}

// Follows a chain to its end mark. Returns nullopt for a chain that runs off
// the table, hits a special value or revisits a sector.
std::optional<std::vector<std::uint32_t>> CompoundFile::chain(
    std::vector<std::uint32_t> const& table, std::uint32_t start) const {
    std::vector<std::uint32_t> sectors;
    if (start == kEndOfChain) return sectors;
    std::vector<bool> seen(table.size(), false);
    for (std::uint32_t n = start; n != kEndOfChain; n = table[n]) {
        if (n >= table.size() || seen[n]) return std::nullopt;
        seen[n] = true;
        sectors.push_back(n);
    }
    return sectors;
}

bool CompoundFile::read_whole_chain(std::uint32_t start, std::string& out) const {
    auto const sectors = chain(fat_, start);
    if (!sectors) return false;
    out.clear();
    for (std::uint32_t const n : *sectors) {
        std::string_view const data = sector(n);
        if (data.size() != sector_size_) return false;
        out.append(data);
    }
    return true;
}

bool CompoundFile::read_regular(std::uint32_t start, std::uint64_t size, std::string& out) const {
    if (size > bytes_.size()) return false;
    auto const sectors = chain(fat_, start);
    if (!sectors || std::uint64_t{sectors->size()} * sector_size_ < size) return false;
    out.clear();
    out.reserve(static_cast<std::size_t>(size));
    for (std::uint32_t const n : *sectors) {
        std::size_t const wanted = std::min<std::uint64_t>(sector_size_, size - out.size());
        if (wanted == 0) break;
        std::string_view const data = sector(n);
        if (data.size() < wanted) return false;
        out.append(data.substr(0, wanted));
    }
    return true;
}

bool CompoundFile::read_mini(std::uint32_t start, std::uint64_t size, std::string& out) const {
    auto const sectors = chain(mini_fat_, start);
    if (!sectors || std::uint64_t{sectors->size()} * kMiniSectorSize < size) return false;
    out.clear();
    for (std::uint32_t const n : *sectors) {
        std::size_t const wanted = std::min<std::uint64_t>(kMiniSectorSize, size - out.size());
        if (wanted == 0) break;
        std::uint64_t const offset = std::uint64_t{n} * kMiniSectorSize;
        if (!fits(mini_stream_, offset, wanted)) return false;
        out.append(mini_stream_, offset, wanted);
    }
    return true;
}

bool CompoundFile::read_directory() {
    std::string directory;
    if (!read_whole_chain(first_directory_sector_, directory)) return false;
    std::string_view const all = directory;
    for (std::size_t offset = 0; offset + kEntrySize <= all.size(); offset += kEntrySize) {
        std::string_view const raw = all.substr(offset, kEntrySize);
        Entry e;
        e.name = folded_name(raw, read_u16(raw, 0x40));
        e.type = static_cast<std::uint8_t>(raw[0x42]);
        e.left = read_u32(raw, 0x44);
        e.right = read_u32(raw, 0x48);
        e.child = read_u32(raw, 0x4C);
        e.start = read_u32(raw, 0x74);
        // Version 3 files may leave junk in the size's high half.
        e.size = major_version_ == 3 ? read_u32(raw, 0x78) : read_u64(raw, 0x78);
        entries_.push_back(std::move(e));
    }
    return !entries_.empty() && entries_[0].type == kRootType;
}

// Streams under 4 KiB live in 64-byte pieces of the mini stream, which is
// itself the root entry's data.
bool CompoundFile::read_mini_stream() {
    Entry const& root = entries_[0];
    if (root.size == 0) return true;
    std::string table;
    if (!read_whole_chain(first_mini_fat_sector_, table)) return false;
    mini_fat_ = as_u32(table);
    return read_regular(root.start, root.size, mini_stream_);
}

// Root-level entries form a binary tree hanging from the root's child.
std::optional<std::size_t> CompoundFile::find(std::string_view name) const {
    std::string const wanted = folded(name);
    std::vector<bool> seen(entries_.size(), false);
    std::vector<std::uint32_t> pending{entries_[0].child};
    while (!pending.empty()) {
        std::uint32_t const i = pending.back();
        pending.pop_back();
        if (i == kNoStream || i >= entries_.size() || seen[i]) continue;
        seen[i] = true;
        if (entries_[i].name == wanted) return i;
        pending.push_back(entries_[i].left);
        pending.push_back(entries_[i].right);
    }
    return std::nullopt;
}

bool CompoundFile::has_stream(std::string_view name) const {
    if (!valid_) return false;
    auto const i = find(name);
    return i && entries_[*i].type == kStreamType;
}

CompoundFile::ReadStatus CompoundFile::read_stream(std::string_view name, std::string& out) const {
    if (!has_stream(name)) return ReadStatus::kMissing;
    Entry const& e = entries_[*find(name)];
    bool const ok = e.size < kMiniStreamCutoff ? read_mini(e.start, e.size, out)
                                               : read_regular(e.start, e.size, out);
    return ok ? ReadStatus::kOk : ReadStatus::kDamaged;
}

}  // namespace cw::documents
