// RTF reader. Groups are tracked with an explicit stack rather than by
// recursion, so a file nested a hundred thousand groups deep costs memory in
// proportion to its size and never the call stack.
//
// 8-bit text (\'hh and raw bytes) is decoded as Windows-1252 whatever
// \ansicpg says. Writers that matter for scripts put every non-ASCII
// character in \uN form as well, which is read exactly.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/linux/documents/cp1252.h"
#include "platform/linux/documents/documents.h"
#include "platform/linux/documents/messages.h"
#include "platform/linux/documents/result.h"
#include "platform/linux/documents/unicode.h"

namespace cw::documents {
namespace {

enum class Action : std::uint8_t {
    kSkipGroup,         // a destination whose text is not part of the script
    kNewline,           // paragraph, line, page, cell and row ends
    kChar,              // a named character such as \emdash
    kUnicode,           // \uN
    kFallbackCount,     // \ucN
    kBinary,            // \binN
    kHidden,            // \v
    kDeleted,           // \deleted (tracked deletion)
    kPlain,             // \plain resets character formatting
    kUnicodeAlternate,  // \upr: the group holds an 8-bit and a \ud version
    kUnicodeVersion,    // \ud: the Unicode version inside \upr
};

struct ControlWord {
    Action action;
    char32_t ch = 0;
};

using ControlWordTable = std::unordered_map<std::string_view, ControlWord>;

void add_skipped_destinations(ControlWordTable& table) {
    // Tables and metadata, page furniture (headers, footers, footnotes,
    // comments), pictures and embedded data, field instructions, bookmark and
    // index entry names, and list numbers (which .docx and .doc do not show
    // either).
    static constexpr std::string_view kWords[] = {
        "fonttbl", "colortbl", "stylesheet", "info", "revtbl", "listtable",
        "listoverridetable", "rsidtbl", "filetbl", "generator", "xmlnstbl", "pgdsctbl",
        "latentstyles", "themedata", "colorschememapping", "datastore", "docvar",
        "userprops", "private", "template", "header", "headerl", "headerr", "headerf",
        "footer", "footerl", "footerr", "footerf", "footnote", "ftnsep", "ftnsepc",
        "ftncn", "aftnsep", "aftnsepc", "aftncn", "annotation", "atnid", "atnauthor",
        "atndate", "atnref", "atnparent", "pict", "nonshppict", "objdata", "objclass",
        "fldinst", "datafield", "bkmkstart", "bkmkend", "xe", "tc", "txe", "listtext",
        "pntext", "pntxta", "pntxtb",
    };
    for (auto const word : kWords) table.emplace(word, ControlWord{Action::kSkipGroup});
}

void add_characters(ControlWordTable& table) {
    static constexpr std::pair<std::string_view, char32_t> kChars[] = {
        {"tab", U'\t'},         {"emdash", 0x2014},    {"endash", 0x2013},
        {"emspace", 0x2003},    {"enspace", 0x2002},   {"qmspace", 0x2005},
        {"bullet", 0x2022},     {"lquote", 0x2018},    {"rquote", 0x2019},
        {"ldblquote", 0x201C},  {"rdblquote", 0x201D}, {"zwj", 0x200D},
        {"zwnj", 0x200C},       {"ltrmark", 0x200E},   {"rtlmark", 0x200F},
    };
    for (auto const& [word, ch] : kChars) table.emplace(word, ControlWord{Action::kChar, ch});
}

ControlWordTable const& control_words() {
    static ControlWordTable const table = [] {
        ControlWordTable t;
        add_skipped_destinations(t);
        add_characters(t);
        for (auto const word : {"par", "line", "page", "sect", "column", "cell", "row",
                                "nestcell", "nestrow"})
            t.emplace(word, ControlWord{Action::kNewline});
        t.emplace("u", ControlWord{Action::kUnicode});
        t.emplace("uc", ControlWord{Action::kFallbackCount});
        t.emplace("bin", ControlWord{Action::kBinary});
        t.emplace("v", ControlWord{Action::kHidden});
        t.emplace("deleted", ControlWord{Action::kDeleted});
        t.emplace("plain", ControlWord{Action::kPlain});
        t.emplace("upr", ControlWord{Action::kUnicodeAlternate});
        t.emplace("ud", ControlWord{Action::kUnicodeVersion});
        return t;
    }();
    return table;
}

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

int hex_value(char c) {
    if (is_digit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct Group {
    bool skip = false;  // inside a destination that is not shown
    bool hidden = false;
    bool deleted = false;
    int fallback_count = 1;  // characters that follow each \uN for old readers
};

struct Parameter {
    bool present = false;
    int value = 0;
};

class RtfReader {
public:
    explicit RtfReader(std::string_view in) : in_(in) {}
    ExtractResult read();

private:
    void open_group();
    void close_group();
    void read_control();
    void read_control_word();
    Parameter read_parameter();
    void read_control_symbol(char c);
    void read_hex_byte();
    void apply(std::string_view word, Parameter param);
    void apply_known(ControlWord const& word, Parameter param);
    void skip_binary(Parameter param);
    void text_byte(unsigned char b);
    bool swallowed_as_fallback();
    bool visible() const;
    void emit(char32_t cp);
    Group& group() { return groups_.back(); }

    std::string_view in_;
    std::size_t pos_ = 0;
    std::vector<Group> groups_;
    std::string out_;
    Utf16Decoder text_{out_};
    int fallback_left_ = 0;   // characters still to drop after a \uN
    bool ignorable_ = false;  // the last control was \*
    bool done_ = false;       // the outermost group has closed
};

bool looks_like_rtf(std::string_view in) {
    std::size_t const start = in.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && in.substr(start).starts_with("{\\rtf");
}

ExtractResult RtfReader::read() {
    pos_ = in_.find('{');
    out_.reserve(in_.size() / 2);
    while (pos_ < in_.size() && !done_) {
        char const c = in_[pos_++];
        switch (c) {
            case '{': open_group(); break;
            case '}': close_group(); break;
            case '\\': read_control(); break;
            default: text_byte(static_cast<unsigned char>(c)); break;
        }
    }
    text_.flush();
    return finish_paragraphs(std::move(out_));
}

void RtfReader::open_group() {
    groups_.push_back(groups_.empty() ? Group{} : groups_.back());
    fallback_left_ = 0;
    ignorable_ = false;
}

void RtfReader::close_group() {
    fallback_left_ = 0;
    ignorable_ = false;
    if (groups_.size() <= 1) {
        done_ = true;  // anything after the document's closing brace is not RTF
        return;
    }
    groups_.pop_back();
}

void RtfReader::read_control() {
    if (pos_ >= in_.size()) return;
    if (is_letter(in_[pos_])) {
        read_control_word();
    } else {
        read_control_symbol(in_[pos_++]);
    }
}

void RtfReader::read_control_word() {
    std::size_t const start = pos_;
    while (pos_ < in_.size() && is_letter(in_[pos_])) ++pos_;
    std::string_view const word = in_.substr(start, pos_ - start);
    Parameter const param = read_parameter();
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
    apply(word, param);
}

Parameter RtfReader::read_parameter() {
    bool const negative =
        pos_ + 1 < in_.size() && in_[pos_] == '-' && is_digit(in_[pos_ + 1]);
    if (negative) ++pos_;
    Parameter param;
    std::int64_t value = 0;
    while (pos_ < in_.size() && is_digit(in_[pos_])) {
        // Clamp instead of overflowing; no meaningful parameter is this big.
        value = std::min<std::int64_t>(value * 10 + (in_[pos_] - '0'),
                                       std::numeric_limits<int>::max());
        param.present = true;
        ++pos_;
    }
    param.value = static_cast<int>(negative ? -value : value);
    return param;
}

void RtfReader::read_control_symbol(char c) {
    if (c == '*') {
        ignorable_ = true;
        return;
    }
    if (c == '\'') {
        read_hex_byte();
        return;
    }
    if (swallowed_as_fallback() || !visible()) return;
    switch (c) {
        case '\\':
        case '{':
        case '}': emit(static_cast<unsigned char>(c)); break;
        case '~': emit(0x00A0); break;  // no-break space
        case '_': emit(U'-'); break;    // no-break hyphen
        case '\r':
        case '\n': emit(U'\n'); break;  // a backslash before a line break is \par
        case '\t': emit(U'\t'); break;
        default: break;  // \- optional hyphen, \| \: index marks
    }
}

void RtfReader::read_hex_byte() {
    int value = 0;
    for (int i = 0; i < 2; ++i) {
        int const digit = pos_ < in_.size() ? hex_value(in_[pos_]) : -1;
        if (digit < 0) return;
        value = value * 16 + digit;
        ++pos_;
    }
    if (swallowed_as_fallback() || !visible()) return;
    emit(cp1252_to_unicode(static_cast<unsigned char>(value)));
}

void RtfReader::apply(std::string_view word, Parameter param) {
    bool const ignorable = std::exchange(ignorable_, false);
    auto const& table = control_words();
    auto const found = table.find(word);
    bool const known = found != table.end();
    if (known && found->second.action == Action::kBinary) {
        skip_binary(param);
        swallowed_as_fallback();
        return;
    }
    if (swallowed_as_fallback()) return;
    bool const unicode_version = known && found->second.action == Action::kUnicodeVersion;
    if (ignorable && !unicode_version) {
        group().skip = true;  // {\*\name ...}: a destination this reader need not know
        return;
    }
    if (!known || (group().skip && !unicode_version)) return;
    apply_known(found->second, param);
}

void RtfReader::apply_known(ControlWord const& word, Parameter param) {
    bool const on = !param.present || param.value != 0;
    switch (word.action) {
        case Action::kSkipGroup:
        case Action::kUnicodeAlternate: group().skip = true; break;
        case Action::kUnicodeVersion:
            // {\upr{8-bit text}{\*\ud{Unicode text}}}: show the \ud group when
            // the group around \upr is shown.
            group().skip = groups_.size() >= 3 && groups_[groups_.size() - 3].skip;
            break;
        case Action::kNewline:
        case Action::kChar:
            if (visible()) emit(word.action == Action::kNewline ? U'\n' : word.ch);
            break;
        case Action::kUnicode:
            if (!param.present) break;
            if (visible()) text_.push(static_cast<char16_t>(param.value & 0xFFFF));
            fallback_left_ = group().fallback_count;
            break;
        case Action::kFallbackCount:
            if (param.present) group().fallback_count = std::clamp(param.value, 0, 64);
            break;
        case Action::kHidden: group().hidden = on; break;
        case Action::kDeleted: group().deleted = on; break;
        case Action::kPlain: group().hidden = group().deleted = false; break;
        case Action::kBinary: break;  // handled before the fallback check
    }
}

void RtfReader::skip_binary(Parameter param) {
    if (!param.present || param.value <= 0) return;
    std::size_t const left = in_.size() - pos_;
    pos_ += std::min<std::size_t>(static_cast<std::size_t>(param.value), left);
}

void RtfReader::text_byte(unsigned char b) {
    if (b == '\r' || b == '\n') return;  // line breaks in the file are layout, not text
    if (swallowed_as_fallback() || !visible()) return;
    if (b == '\t') {
        emit(U'\t');
    } else if (b >= 0x20) {
        emit(b < 0x80 ? b : cp1252_to_unicode(b));
    }
}

// After \uN the next \ucN characters are the substitute for readers without
// Unicode; they are dropped.
bool RtfReader::swallowed_as_fallback() {
    if (fallback_left_ == 0) return false;
    --fallback_left_;
    return true;
}

bool RtfReader::visible() const {
    if (groups_.empty()) return false;
    Group const& g = groups_.back();
    return !g.skip && !g.hidden && !g.deleted;
}

void RtfReader::emit(char32_t cp) { text_.push_code_point(cp); }

}  // namespace

ExtractResult extract_rtf(std::string_view bytes) {
    if (is_blank(bytes)) return failure(messages::kNoText);
    if (!looks_like_rtf(bytes)) return failure(messages::kNotRtf);
    return RtfReader(bytes).read();
}

}  // namespace cw::documents
