#pragma once

// Turns the characters of a Word 97-2003 document body into plain text:
// paragraph, line, page and column breaks and table cell marks become "\n",
// field instructions are dropped while their results are kept, and the
// remaining control characters (picture and footnote anchors and the like)
// are dropped.

#include <string>
#include <vector>

#include "platform/linux/documents/unicode.h"

namespace cw::documents {

class DocText {
public:
    explicit DocText(std::string& out) : decoder_(out) {}
    void add(char16_t c);
    void finish() { decoder_.flush(); }

private:
    void field_mark(char16_t c);

    Utf16Decoder decoder_;
    // One entry per open field: true once past its separator. Characters are
    // kept only when every open field is showing its result.
    std::vector<bool> fields_;
    int instruction_fields_ = 0;
};

}  // namespace cw::documents
