// The container reader on its own: sector chains, the mini stream and the
// directory, and the damage a hostile or broken file can carry.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/linux/documents/compound_file.h"
#include "platform/linux/documents/documents.h"
#include "platform/linux/documents/messages.h"
#include "tests/documents/support/cfb_writer.h"

namespace cw::documents {
namespace {

using testkit::fat_entry;
using testkit::make_compound_file;
using testkit::set_fat_entry;

constexpr std::uint32_t kEnd = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;

std::string pattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>('A' + (i * 7 + i / 251) % 26);
    return s;
}

void put32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

TEST(CompoundFile, ReadsSmallAndLargeStreams) {
    std::string const small = pattern(100);
    std::string const exactly_cutoff = pattern(4096);
    std::string const large = pattern(70'000);
    auto const image = make_compound_file({{"Small", small}, {"Edge", exactly_cutoff}, {"Large", large}, {"Empty", ""}});
    CompoundFile const file(image.bytes);
    ASSERT_TRUE(file.valid());
    std::string out;
    ASSERT_EQ(file.read_stream("Small", out), CompoundFile::ReadStatus::kOk);
    EXPECT_EQ(out, small);
    ASSERT_EQ(file.read_stream("edge", out), CompoundFile::ReadStatus::kOk);  // names ignore case
    EXPECT_EQ(out, exactly_cutoff);
    ASSERT_EQ(file.read_stream("LARGE", out), CompoundFile::ReadStatus::kOk);
    EXPECT_EQ(out, large);
    ASSERT_EQ(file.read_stream("Empty", out), CompoundFile::ReadStatus::kOk);
    EXPECT_EQ(out, "");
    EXPECT_EQ(file.read_stream("Missing", out), CompoundFile::ReadStatus::kMissing);
    EXPECT_FALSE(file.has_stream("Root Entry"));  // the root is a storage, not a stream
}

TEST(CompoundFile, BadHeadersAreInvalid) {
    std::string const good = make_compound_file({{"Data", "x"}}).bytes;
    auto const changed = [&](std::size_t at, char value) {
        std::string b = good;
        b[at] = value;
        return b;
    };
    struct Case {
        char const* what;
        std::string bytes;
    } const cases[] = {
        {"shorter than a header", good.substr(0, 300)},
        {"byte order", changed(0x1C, '\x00')},
        {"sector size", changed(0x1E, '\x0A')},
        {"mini sector size", changed(0x20, '\x07')},
        {"no allocation table", changed(0x2C, '\x00')},
        {"more allocation-table sectors than the file has", changed(0x2F, '\x10')},
    };
    for (auto const& c : cases) EXPECT_FALSE(CompoundFile(c.bytes).valid()) << c.what;
}

class DamagedChains : public testing::Test {
protected:
    void SetUp() override {
        image_ = make_compound_file({{"Large", pattern(20'000)}, {"Small", pattern(300)}});
        first_ = image_.first_sector.at("Large");
        ASSERT_EQ(fat_entry(image_.bytes, first_), first_ + 1);
    }
    CompoundFile::ReadStatus read_large(std::string const& bytes) {
        CompoundFile const file(bytes);
        if (!file.valid()) return CompoundFile::ReadStatus::kDamaged;
        std::string out;
        return file.read_stream("Large", out);
    }

    testkit::CompoundImage image_;
    std::uint32_t first_ = 0;
};

TEST_F(DamagedChains, StreamChainsThatLoopOrLeaveTheFileAreDamage) {
    struct Case {
        char const* what;
        std::uint32_t sector;
        std::uint32_t value;
    } const cases[] = {
        {"loops back to the start", first_ + 3, first_},
        {"points at itself", first_ + 1, first_ + 1},
        {"past the table", first_ + 1, 0x00FFFFFF},
        {"into a free sector", first_ + 1, kFree},
        {"ends early", first_ + 1, kEnd},
    };
    for (auto const& c : cases) {
        std::string bytes = image_.bytes;
        set_fat_entry(bytes, c.sector, c.value);
        EXPECT_EQ(read_large(bytes), CompoundFile::ReadStatus::kDamaged) << c.what;
    }
}

TEST_F(DamagedChains, DirectoryLoopMakesTheFileInvalid) {
    std::string bytes = image_.bytes;
    set_fat_entry(bytes, image_.directory_sector, image_.directory_sector);
    EXPECT_FALSE(CompoundFile(bytes).valid());
}

TEST_F(DamagedChains, TruncatedFileIsDamage) {
    std::string const cut = image_.bytes.substr(0, image_.bytes.size() - 5000);
    EXPECT_EQ(read_large(cut), CompoundFile::ReadStatus::kDamaged);
}

TEST_F(DamagedChains, StreamSizeBeyondItsChainIsDamage) {
    std::string bytes = image_.bytes;
    std::size_t const entry = (image_.directory_sector + 1) * 512u + 128;  // "Large"
    put32(bytes, entry + 0x78, 40'000);
    EXPECT_EQ(read_large(bytes), CompoundFile::ReadStatus::kDamaged);
    put32(bytes, entry + 0x78, 0x7FFFFFFF);
    EXPECT_EQ(read_large(bytes), CompoundFile::ReadStatus::kDamaged);
}

TEST_F(DamagedChains, MiniStreamLoopIsDamage) {
    std::string bytes = image_.bytes;
    std::uint32_t const mini_fat_sector =
        static_cast<unsigned char>(bytes[0x3C]) | (static_cast<unsigned char>(bytes[0x3D]) << 8);
    put32(bytes, (mini_fat_sector + 1) * 512u + 4, 0);  // mini sector 1 -> 0
    CompoundFile const file(bytes);
    ASSERT_TRUE(file.valid());
    std::string out;
    EXPECT_EQ(file.read_stream("Small", out), CompoundFile::ReadStatus::kDamaged);
}

// A directory whose sibling links form a loop must not hang the lookup.
TEST_F(DamagedChains, DirectoryTreeLoopEndsTheSearch) {
    std::string bytes = image_.bytes;
    std::size_t const entry = (image_.directory_sector + 1) * 512u + 2 * 128;  // "Small"
    put32(bytes, entry + 0x48, 1);  // right sibling back to "Large"
    CompoundFile const file(bytes);
    ASSERT_TRUE(file.valid());
    EXPECT_FALSE(file.has_stream("Nowhere"));
    EXPECT_TRUE(file.has_stream("Small"));
}

TEST(CompoundFileDifat, LoopInTheExtraTableListIsInvalid) {
    // Big enough that the allocation table needs more sectors than the 109
    // the header can list.
    auto image = make_compound_file({{"Big", std::string(8u << 20, 'z')}});
    ASSERT_TRUE(CompoundFile(image.bytes).valid());
    std::uint32_t const first_list = static_cast<unsigned char>(image.bytes[0x44]) |
                                     (static_cast<unsigned char>(image.bytes[0x45]) << 8);
    std::string bytes = image.bytes;
    put32(bytes, 0x48, 3);  // claim more list sectors than exist...
    put32(bytes, 0x2C, 109 + 3 * 127);
    put32(bytes, (first_list + 1) * 512u + 127 * 4, first_list);  // ...and loop the chain
    EXPECT_FALSE(CompoundFile(bytes).valid());
}

TEST(CompoundFileDoc, DamagedContainerGivesDamageMessage) {
    std::string text;
    while (text.size() < 10'000) text += "Sentence.\r";
    auto image = testkit::make_word_document({testkit::compressed_piece(text)});
    std::uint32_t const first = image.first_sector.at("WordDocument");
    set_fat_entry(image.bytes, first + 2, first);
    ExtractResult const r = extract_doc(image.bytes);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, messages::kDamagedDoc);
}

}  // namespace
}  // namespace cw::documents
