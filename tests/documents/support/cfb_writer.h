#pragma once

// Builds compound files and Word 97-2003 documents in memory for tests and
// benchmarks, with enough layout information to damage them on purpose.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cw::documents::testkit {

struct CfbStream {
    std::string name;
    std::string data;
};

struct CompoundImage {
    std::string bytes;
    std::map<std::string, std::uint32_t> first_sector;  // regular-sector streams only
    std::uint32_t directory_sector = 0;
};

// A version-3 file with 512-byte sectors. Streams under 4096 bytes are put
// in the mini stream, as word processors do.
CompoundImage make_compound_file(std::vector<CfbStream> const& streams);

// Reads or changes an allocation-table entry of a file made above.
std::uint32_t fat_entry(std::string const& bytes, std::uint32_t sector);
void set_fat_entry(std::string& bytes, std::uint32_t sector, std::uint32_t value);

// One piece of a document's text: 8-bit Windows-1252 or UTF-16.
struct WordPiece {
    std::string bytes;  // as stored: one byte per character, or UTF-16LE
    bool compressed = true;
};

WordPiece compressed_piece(std::string const& cp1252);
WordPiece unicode_piece(std::u16string const& text);

struct WordOptions {
    bool table1 = true;                 // which table stream holds the piece table
    bool encrypted = false;
    std::uint16_t ident = 0xA5EC;
    std::uint16_t version = 0x00C1;
    std::optional<std::uint32_t> body_length;  // ccpText; all characters by default
    bool property_block = true;         // a Prc before the piece table, as Word writes
    std::vector<CfbStream> extra_streams;
};

// The streams of a Word document: WordDocument (FIB at 0, text from 1024)
// and both table streams, each starting with its piece table. The unused
// table stream gets a piece table of its own that reads "DECOY", so a reader
// that picks the wrong table stream shows it.
std::vector<CfbStream> word_streams(std::vector<WordPiece> const& pieces, WordOptions const& options = {});

CompoundImage make_word_document(std::vector<WordPiece> const& pieces, WordOptions const& options = {});

}  // namespace cw::documents::testkit
