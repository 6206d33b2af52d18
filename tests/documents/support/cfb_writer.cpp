#include "tests/documents/support/cfb_writer.h"

#include <algorithm>

namespace cw::documents::testkit {
namespace {

constexpr std::uint32_t kSector = 512;
constexpr std::uint32_t kMiniSector = 64;
constexpr std::uint32_t kCutoff = 4096;
constexpr std::uint32_t kPerFatSector = kSector / 4;
constexpr std::uint32_t kEnd = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kFatMark = 0xFFFFFFFD;
constexpr std::uint32_t kDifatMark = 0xFFFFFFFC;

void put16(std::string& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}
std::uint32_t get32(std::string const& b, std::size_t at) {
    auto const u = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])); };
    return u(0) | (u(1) << 8) | (u(2) << 16) | (u(3) << 24);
}
void append16(std::string& b, std::uint32_t v) { b.append(2, '\0'); put16(b, b.size() - 2, v); }
void append32(std::string& b, std::uint32_t v) { b.append(4, '\0'); put32(b, b.size() - 4, v); }

std::uint32_t sectors_for(std::size_t bytes, std::uint32_t size) {
    return static_cast<std::uint32_t>((bytes + size - 1) / size);
}

// Chains `count` consecutive units starting at `first` in table.
void link(std::vector<std::uint32_t>& table, std::uint32_t first, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) table[first + i] = i + 1 < count ? first + i + 1 : kEnd;
}

std::string directory_entry(std::string const& name, std::uint8_t type, std::uint32_t start,
                            std::uint32_t size, std::uint32_t child, std::uint32_t right) {
    std::string e(128, '\0');
    for (std::size_t i = 0; i < name.size(); ++i) put16(e, i * 2, static_cast<unsigned char>(name[i]));
    put16(e, 0x40, static_cast<std::uint32_t>((name.size() + 1) * 2));
    e[0x42] = static_cast<char>(type);
    e[0x43] = 1;  // black
    put32(e, 0x44, kFree);
    put32(e, 0x48, right);
    put32(e, 0x4C, child);
    put32(e, 0x74, start);
    put32(e, 0x78, size);
    return e;
}

struct Layout {
    std::string mini_stream;
    std::vector<std::uint32_t> mini_fat;
    std::vector<std::uint32_t> mini_start;  // per stream, for small ones
};

Layout pack_small_streams(std::vector<CfbStream> const& streams) {
    Layout l;
    for (CfbStream const& s : streams) {
        if (s.data.size() >= kCutoff) {
            l.mini_start.push_back(kEnd);
            continue;
        }
        std::uint32_t const first = static_cast<std::uint32_t>(l.mini_fat.size());
        std::uint32_t const count = sectors_for(s.data.size(), kMiniSector);
        l.mini_start.push_back(count == 0 ? kEnd : first);
        l.mini_fat.resize(l.mini_fat.size() + count, kFree);
        link(l.mini_fat, first, count);
        l.mini_stream += s.data;
        l.mini_stream.resize(std::size_t{l.mini_fat.size()} * kMiniSector, '\0');
    }
    return l;
}

std::string mini_fat_bytes(std::vector<std::uint32_t> const& mini_fat) {
    std::string b;
    for (std::uint32_t const v : mini_fat) append32(b, v);
    return b;
}

}  // namespace

CompoundImage make_compound_file(std::vector<CfbStream> const& streams) {
    Layout const small = pack_small_streams(streams);
    std::string const mini_fat = mini_fat_bytes(small.mini_fat);
    std::size_t const entry_count = streams.size() + 1;

    // Everything except the allocation table itself, in file order.
    std::vector<std::string const*> blobs;
    std::string directory;  // filled in once sector numbers are known
    directory.resize(sectors_for(entry_count * 128, kSector) * std::size_t{kSector});
    blobs.push_back(&mini_fat);
    blobs.push_back(&directory);
    blobs.push_back(&small.mini_stream);
    for (CfbStream const& s : streams) {
        if (s.data.size() >= kCutoff) blobs.push_back(&s.data);
    }
    std::uint32_t data_sectors = 0;
    for (auto const* b : blobs) data_sectors += sectors_for(b->size(), kSector);

    std::uint32_t fat_count = 1, difat_count = 0;
    for (;;) {
        std::uint32_t const need = sectors_for(std::size_t{data_sectors + fat_count + difat_count} * 4, kSector);
        std::uint32_t const difat_need = need > 109 ? (need - 109 + 126) / 127 : 0;
        if (need == fat_count && difat_need == difat_count) break;
        fat_count = need;
        difat_count = difat_need;
    }
    std::vector<std::uint32_t> fat(std::size_t{fat_count} * kPerFatSector, kFree);
    for (std::uint32_t i = 0; i < fat_count; ++i) fat[i] = kFatMark;
    for (std::uint32_t i = 0; i < difat_count; ++i) fat[fat_count + i] = kDifatMark;

    std::vector<std::uint32_t> starts;
    std::uint32_t next = fat_count + difat_count;
    for (auto const* b : blobs) {
        std::uint32_t const count = sectors_for(b->size(), kSector);
        starts.push_back(count == 0 ? kEnd : next);
        link(fat, next, count);
        next += count;
    }

    CompoundImage image;
    image.directory_sector = starts[1];
    // Directory: root, then the streams chained as right siblings.
    directory = directory_entry("Root Entry", 5, starts[2], static_cast<std::uint32_t>(small.mini_stream.size()),
                                streams.empty() ? kFree : 1, kFree);
    std::size_t big = 3;
    for (std::size_t i = 0; i < streams.size(); ++i) {
        CfbStream const& s = streams[i];
        bool const regular = s.data.size() >= kCutoff;
        std::uint32_t const start = regular ? starts[big++] : small.mini_start[i];
        if (regular) image.first_sector[s.name] = start;
        std::uint32_t const right = i + 1 < streams.size() ? static_cast<std::uint32_t>(i + 2) : kFree;
        directory += directory_entry(s.name, 2, start, static_cast<std::uint32_t>(s.data.size()), kFree, right);
    }
    directory.resize(sectors_for(entry_count * 128, kSector) * std::size_t{kSector}, '\0');
    for (std::size_t i = entry_count; i < directory.size() / 128; ++i) {
        put32(directory, i * 128 + 0x44, kFree);
        put32(directory, i * 128 + 0x48, kFree);
        put32(directory, i * 128 + 0x4C, kFree);
    }

    std::string& out = image.bytes;
    out.assign(kSector, '\0');
    out.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    put16(out, 0x18, 0x3E);
    put16(out, 0x1A, 3);
    put16(out, 0x1C, 0xFFFE);
    put16(out, 0x1E, 9);
    put16(out, 0x20, 6);
    put32(out, 0x2C, fat_count);
    put32(out, 0x30, starts[1]);
    put32(out, 0x38, kCutoff);
    put32(out, 0x3C, small.mini_fat.empty() ? kEnd : starts[0]);
    put32(out, 0x40, sectors_for(mini_fat.size(), kSector));
    put32(out, 0x44, difat_count == 0 ? kEnd : fat_count);
    put32(out, 0x48, difat_count);
    for (std::uint32_t i = 0; i < 109; ++i) put32(out, 0x4C + i * 4, i < fat_count ? i : kFree);

    std::string fat_bytes;
    for (std::uint32_t const v : fat) append32(fat_bytes, v);
    out += fat_bytes;
    for (std::uint32_t d = 0; d < difat_count; ++d) {
        std::string sector(kSector, '\0');
        for (std::uint32_t i = 0; i < 127; ++i) {
            std::uint32_t const k = 109 + d * 127 + i;
            put32(sector, i * 4, k < fat_count ? k : kFree);
        }
        put32(sector, 127 * 4, d + 1 < difat_count ? fat_count + d + 1 : kEnd);
        out += sector;
    }
    for (auto const* b : blobs) {
        out += *b;
        out.resize(out.size() + (kSector - b->size() % kSector) % kSector, '\0');
    }
    return image;
}

std::uint32_t fat_entry(std::string const& bytes, std::uint32_t sector) {
    std::uint32_t const fat_sector = get32(bytes, 0x4C + (sector / kPerFatSector) * 4);
    return get32(bytes, (fat_sector + 1) * std::size_t{kSector} + (sector % kPerFatSector) * 4);
}

void set_fat_entry(std::string& bytes, std::uint32_t sector, std::uint32_t value) {
    std::uint32_t const fat_sector = get32(bytes, 0x4C + (sector / kPerFatSector) * 4);
    put32(bytes, (fat_sector + 1) * std::size_t{kSector} + (sector % kPerFatSector) * 4, value);
}

WordPiece compressed_piece(std::string const& cp1252) { return {cp1252, true}; }

WordPiece unicode_piece(std::u16string const& text) {
    std::string bytes;
    for (char16_t const c : text) append16(bytes, c);
    return {bytes, false};
}

namespace {

constexpr std::size_t kFibSize = 0x384;  // FibBase, counts and 93 offset/length pairs
constexpr std::size_t kPairs = 0x9A;     // where the offset/length pairs start
constexpr std::size_t kClxPair = 33;

std::string fib(WordOptions const& o, std::uint32_t body_length, std::uint32_t clx_size) {
    std::string f(kFibSize, '\0');
    put16(f, 0x00, o.ident);
    put16(f, 0x02, o.version);
    std::uint32_t flags = 0x0004;  // complex
    if (o.table1) flags |= 0x0200;
    if (o.encrypted) flags |= 0x0100;
    put16(f, 0x0A, flags);
    put16(f, 0x20, 14);                      // 16-bit values
    put16(f, 0x3E, 22);                      // 32-bit counts
    put32(f, 0x40 + 3 * 4, body_length);     // ccpText
    put16(f, 0x98, 93);                      // offset/length pairs
    put32(f, kPairs + kClxPair * 8, 0);      // the CLX starts each table stream
    put32(f, kPairs + kClxPair * 8 + 4, clx_size);
    return f;
}

struct PlacedPiece {
    std::uint32_t cp_start;
    std::uint32_t cp_end;
    std::uint32_t fc;
};

std::string clx(std::vector<PlacedPiece> const& pieces, bool property_block) {
    std::string c;
    if (property_block) {
        c.push_back('\x01');
        append16(c, 3);
        c += std::string("\x03\x08\x01", 3);  // a paragraph property that readers skip
    }
    c.push_back('\x02');
    append32(c, static_cast<std::uint32_t>(4 + pieces.size() * 12));
    for (auto const& p : pieces) append32(c, p.cp_start);
    append32(c, pieces.empty() ? 0 : pieces.back().cp_end);
    for (auto const& p : pieces) {
        append16(c, 0);
        append32(c, p.fc);
        append16(c, 0);
    }
    return c;
}

}  // namespace

std::vector<CfbStream> word_streams(std::vector<WordPiece> const& pieces, WordOptions const& options) {
    std::string word(1024, '\0');  // the FIB, then text from offset 1024
    std::vector<PlacedPiece> placed;
    std::uint32_t cp = 0;
    for (WordPiece const& p : pieces) {
        auto const offset = static_cast<std::uint32_t>(word.size());
        auto const chars = static_cast<std::uint32_t>(p.compressed ? p.bytes.size() : p.bytes.size() / 2);
        placed.push_back({cp, cp + chars, p.compressed ? (offset * 2) | 0x40000000u : offset});
        cp += chars;
        word += p.bytes;
    }
    auto const decoy_offset = static_cast<std::uint32_t>(word.size());
    word += "DECOY\r";
    std::uint32_t const body = options.body_length.value_or(cp);
    std::string const real = clx(placed, options.property_block);
    std::string decoy = clx({{0, 6, (decoy_offset * 2) | 0x40000000u}}, false);
    decoy.resize(std::max(decoy.size(), real.size()), '\0');
    word.replace(0, kFibSize, fib(options, body, static_cast<std::uint32_t>(real.size())));

    std::vector<CfbStream> streams{{"WordDocument", word},
                                   {"1Table", options.table1 ? real : decoy},
                                   {"0Table", options.table1 ? decoy : real}};
    streams.insert(streams.end(), options.extra_streams.begin(), options.extra_streams.end());
    return streams;
}

CompoundImage make_word_document(std::vector<WordPiece> const& pieces, WordOptions const& options) {
    return make_compound_file(word_streams(pieces, options));
}

}  // namespace cw::documents::testkit
