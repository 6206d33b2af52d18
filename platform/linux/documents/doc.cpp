// Word 97-2003 (.doc): the WordDocument stream starts with the file
// information block (FIB), which says which table stream holds the piece
// table. The piece table maps character positions to runs of text that are
// either 8-bit Windows-1252 or UTF-16LE in the WordDocument stream.
//
// Only the main body (the first ccpText characters) is read: footnotes,
// headers, comments and text boxes follow it in character positions.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/documents/byte_reader.h"
#include "platform/linux/documents/compound_file.h"
#include "platform/linux/documents/cp1252.h"
#include "platform/linux/documents/doc_text.h"
#include "platform/linux/documents/documents.h"
#include "platform/linux/documents/messages.h"
#include "platform/linux/documents/result.h"

namespace cw::documents {
namespace {

constexpr std::uint16_t kWordIdent = 0xA5EC;
constexpr std::uint16_t kWord6Ident = 0xA5DC;
constexpr std::uint16_t kFirstWord97Version = 0xC0;  // Word 6 and 95 wrote 0x65-0x69
constexpr std::uint16_t kEncryptedFlag = 0x0100;
constexpr std::uint16_t kTable1Flag = 0x0200;
constexpr std::size_t kCcpTextIndex = 3;  // in the FIB's array of 32-bit counts
constexpr std::size_t kClxIndex = 33;     // in the FIB's array of offset/length pairs
constexpr std::uint32_t kCompressedFlag = 0x40000000;
constexpr std::uint32_t kFcMask = 0x3FFFFFFF;

struct Fib {
    bool table1 = false;
    std::uint32_t ccp_text = 0;
    std::uint32_t fc_clx = 0;
    std::uint32_t lcb_clx = 0;
};

struct Piece {
    std::uint32_t cp_start = 0;
    std::uint32_t cp_end = 0;
    std::uint32_t offset = 0;  // byte offset in the WordDocument stream
    bool compressed = false;   // one byte per character instead of two
};

// Reads the variable-length parts of the FIB: a count-prefixed array of
// 16-bit values, one of 32-bit values, then offset/length pairs.
std::optional<Fib> parse_fib_arrays(std::string_view word, std::uint16_t flags) {
    std::size_t pos = 0x20;
    if (!fits(word, pos, 2)) return std::nullopt;
    pos += 2 + std::size_t{read_u16(word, pos)} * 2;
    if (!fits(word, pos, 2)) return std::nullopt;
    std::size_t const counts = pos + 2;
    std::size_t const count_len = read_u16(word, pos);
    pos = counts + count_len * 4;
    if (count_len <= kCcpTextIndex || !fits(word, pos, 2)) return std::nullopt;
    std::size_t const pairs = pos + 2;
    std::size_t const pair_len = read_u16(word, pos);
    if (pair_len <= kClxIndex || !fits(word, pairs, pair_len * 8)) return std::nullopt;
    Fib fib;
    fib.table1 = (flags & kTable1Flag) != 0;
    fib.ccp_text = read_u32(word, counts + kCcpTextIndex * 4);
    fib.fc_clx = read_u32(word, pairs + kClxIndex * 8);
    fib.lcb_clx = read_u32(word, pairs + kClxIndex * 8 + 4);
    return fib;
}

std::optional<std::vector<Piece>> parse_pieces(std::string_view plc) {
    if (plc.size() < 4 || (plc.size() - 4) % 12 != 0) return std::nullopt;
    std::size_t const count = (plc.size() - 4) / 12;
    std::size_t const descriptors = (count + 1) * 4;
    std::vector<Piece> pieces(count);
    for (std::size_t i = 0; i < count; ++i) {
        Piece& p = pieces[i];
        p.cp_start = read_u32(plc, i * 4);
        p.cp_end = read_u32(plc, (i + 1) * 4);
        if (p.cp_end < p.cp_start) return std::nullopt;
        std::uint32_t const fc = read_u32(plc, descriptors + i * 8 + 2);
        p.compressed = (fc & kCompressedFlag) != 0;
        p.offset = p.compressed ? (fc & kFcMask) / 2 : (fc & kFcMask);
    }
    return pieces;
}

// The CLX is a run of property blocks (skipped) followed by the piece table.
std::optional<std::vector<Piece>> read_piece_table(std::string_view table, Fib const& fib) {
    if (!fits(table, fib.fc_clx, fib.lcb_clx)) return std::nullopt;
    std::string_view const clx = table.substr(fib.fc_clx, fib.lcb_clx);
    std::size_t pos = 0;
    while (pos < clx.size()) {
        if (clx[pos] == 0x01 && fits(clx, pos + 1, 2)) {
            auto const size = static_cast<std::int16_t>(read_u16(clx, pos + 1));
            if (size < 0) return std::nullopt;
            pos += 3 + static_cast<std::size_t>(size);
        } else if (clx[pos] == 0x02 && fits(clx, pos + 1, 4)) {
            std::uint32_t const size = read_u32(clx, pos + 1);
            if (!fits(clx, pos + 5, size)) return std::nullopt;
            return parse_pieces(clx.substr(pos + 5, size));
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// Appends the part of a piece that lies in the main body.
bool append_piece(std::string_view word, Piece const& p, std::uint32_t body_end, DocText& text) {
    std::uint32_t const end = std::min(p.cp_end, body_end);
    if (end <= p.cp_start) return true;
    std::size_t const count = end - p.cp_start;
    std::size_t const width = p.compressed ? 1 : 2;
    if (!fits(word, p.offset, std::uint64_t{count} * width)) return false;
    std::string_view const bytes = word.substr(p.offset, count * width);
    for (std::size_t i = 0; i < count; ++i) {
        text.add(p.compressed ? static_cast<char16_t>(cp1252_to_unicode(static_cast<unsigned char>(bytes[i])))
                              : static_cast<char16_t>(read_u16(bytes, i * 2)));
    }
    return true;
}

ExtractResult text_of(std::string_view word, std::string_view table, Fib const& fib) {
    auto const pieces = read_piece_table(table, fib);
    if (!pieces) return failure(messages::kDamagedDoc);
    std::string out;
    out.reserve(std::min<std::size_t>(fib.ccp_text, word.size()) + 16);
    DocText text(out);
    for (Piece const& p : *pieces) {
        if (!append_piece(word, p, fib.ccp_text, text)) return failure(messages::kDamagedDoc);
    }
    text.finish();
    return finish_paragraphs(std::move(out));
}

ExtractResult extract_word_streams(CompoundFile const& file) {
    std::string word;
    if (file.read_stream("WordDocument", word) != CompoundFile::ReadStatus::kOk) {
        return failure(messages::kDamagedDoc);
    }
    if (!fits(word, 0, 0x20)) return failure(messages::kNotDoc);
    std::uint16_t const ident = read_u16(word, 0);
    if (ident == kWord6Ident) return failure(messages::kOldWordFormat);
    if (ident != kWordIdent) return failure(messages::kNotDoc);
    if (read_u16(word, 2) < kFirstWord97Version) return failure(messages::kOldWordFormat);
    std::uint16_t const flags = read_u16(word, 0x0A);
    if ((flags & kEncryptedFlag) != 0) return failure(messages::kPasswordProtected);
    auto const fib = parse_fib_arrays(word, flags);
    if (!fib) return failure(messages::kDamagedDoc);
    std::string table;
    if (file.read_stream(fib->table1 ? "1Table" : "0Table", table) != CompoundFile::ReadStatus::kOk) {
        return failure(messages::kDamagedDoc);
    }
    return text_of(word, table, *fib);
}

}  // namespace

ExtractResult extract_doc(std::string_view bytes) {
    if (is_blank(bytes)) return failure(messages::kNoText);
    if (bytes.starts_with("PK\x03\x04")) return extract_docx(bytes);  // a .docx named .doc
    if (bytes.starts_with("{\\rtf")) return extract_rtf(bytes);        // rich text saved as .doc
    if (!CompoundFile::has_signature(bytes)) return failure(messages::kNotDoc);
    CompoundFile const file(bytes);
    if (!file.valid()) return failure(messages::kDamagedDoc);
    // An encrypted .docx is a compound file holding the encrypted package.
    if (file.has_stream("EncryptedPackage")) return failure(messages::kPasswordProtected);
    if (!file.has_stream("WordDocument")) return failure(messages::kNotDoc);
    return extract_word_streams(file);
}

}  // namespace cw::documents
