#include "platform/linux/documents/doc_text.h"

namespace cw::documents {
namespace {

constexpr char16_t kCellMark = 0x07;
constexpr char16_t kTab = 0x09;
constexpr char16_t kLineBreak = 0x0B;
constexpr char16_t kPageBreak = 0x0C;  // also ends a section
constexpr char16_t kParagraphMark = 0x0D;
constexpr char16_t kColumnBreak = 0x0E;
constexpr char16_t kFieldBegin = 0x13;
constexpr char16_t kFieldSeparator = 0x14;
constexpr char16_t kFieldEnd = 0x15;
constexpr char16_t kNoBreakHyphen = 0x1E;

}  // namespace

void DocText::add(char16_t c) {
    if (c == kFieldBegin || c == kFieldSeparator || c == kFieldEnd) {
        field_mark(c);
        return;
    }
    if (instruction_fields_ > 0) return;
    switch (c) {
        case kParagraphMark:
        case kLineBreak:
        case kPageBreak:
        case kColumnBreak:
        case kCellMark: decoder_.push_code_point(U'\n'); return;
        case kTab: decoder_.push_code_point(U'\t'); return;
        case kNoBreakHyphen: decoder_.push_code_point(U'-'); return;
        default: break;
    }
    if (c >= 0x20) decoder_.push(c);
}

void DocText::field_mark(char16_t c) {
    if (c == kFieldBegin) {
        fields_.push_back(false);
        ++instruction_fields_;
    } else if (c == kFieldSeparator) {
        if (!fields_.empty() && !fields_.back()) {
            fields_.back() = true;
            --instruction_fields_;
        }
    } else if (!fields_.empty()) {
        if (!fields_.back()) --instruction_fields_;
        fields_.pop_back();
    }
}

}  // namespace cw::documents
