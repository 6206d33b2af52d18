#include "platform/linux/documents/docx_text.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/linux/documents/messages.h"
#include "platform/linux/documents/result.h"

namespace cw::documents {
namespace {

constexpr std::string_view kWordNamespaces[] = {
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main",
    "http://purl.oclc.org/ooxml/wordprocessingml/main",  // strict documents
};
constexpr std::string_view kCompatibilityNamespace =
    "http://schemas.openxmlformats.org/markup-compatibility/2006";

enum class Tag : std::uint8_t {
    kOther,          // walked through: hyperlinks, content controls, smart tags...
    kProperties,     // formatting only; its w:tab children are tab stops, not tabs
    kParagraph,
    kRun,
    kText,
    kTab,
    kBreak,
    kNoBreakHyphen,
    kSkipped,        // deleted or moved-away text, field instructions, symbols
    kFieldChar,
    kTableRow,
    kChoice,         // mc:Choice
    kFallback,       // mc:Fallback
};

using TagTable = std::unordered_map<std::string_view, Tag>;

TagTable const& word_tags() {
    static TagTable const table = {
        {"p", Tag::kParagraph},       {"r", Tag::kRun},
        {"t", Tag::kText},            {"tab", Tag::kTab},
        {"ptab", Tag::kTab},          {"br", Tag::kBreak},
        {"cr", Tag::kBreak},          {"noBreakHyphen", Tag::kNoBreakHyphen},
        {"del", Tag::kSkipped},       {"moveFrom", Tag::kSkipped},
        {"delText", Tag::kSkipped},   {"instrText", Tag::kSkipped},
        {"delInstrText", Tag::kSkipped}, {"sym", Tag::kSkipped},
        {"rt", Tag::kSkipped},  // ruby pronunciation guide above the base text
        {"fldChar", Tag::kFieldChar}, {"tr", Tag::kTableRow},
        {"pPr", Tag::kProperties},    {"rPr", Tag::kProperties},
        {"sectPr", Tag::kProperties}, {"tblPr", Tag::kProperties},
        {"tblGrid", Tag::kProperties}, {"trPr", Tag::kProperties},
        {"tcPr", Tag::kProperties},   {"tblPrEx", Tag::kProperties},
        {"sdtPr", Tag::kProperties},  {"sdtEndPr", Tag::kProperties},
    };
    return table;
}

// Element names are compared with the prefixes the document binds to the
// Word and markup-compatibility namespaces on its root element, which is
// where every word processor declares them.
struct Prefixes {
    std::string word = "w";
    std::string compatibility = "mc";
};

Prefixes find_prefixes(pugi::xml_node root) {
    Prefixes prefixes;
    for (pugi::xml_attribute const a : root.attributes()) {
        std::string_view const name = a.name();
        if (!name.starts_with("xmlns")) continue;
        std::string const prefix(name == "xmlns" ? "" : name.substr(name.find(':') + 1));
        std::string_view const uri = a.value();
        for (auto const ns : kWordNamespaces) {
            if (uri == ns) prefixes.word = prefix;
        }
        if (uri == kCompatibilityNamespace) prefixes.compatibility = prefix;
    }
    return prefixes;
}

// Sets local to the part of qualified after prefix; false when qualified is
// in another namespace.
bool split_name(char const* qualified, std::string const& prefix, std::string_view& local) {
    std::string_view const name = qualified;
    if (prefix.empty()) {
        if (name.find(':') != std::string_view::npos) return false;
        local = name;
        return true;
    }
    if (name.size() <= prefix.size() || !name.starts_with(prefix) || name[prefix.size()] != ':') {
        return false;
    }
    local = name.substr(prefix.size() + 1);
    return true;
}

bool is_off(char const* value) {
    return std::strcmp(value, "0") == 0 || std::strcmp(value, "false") == 0 ||
           std::strcmp(value, "off") == 0;
}

class BodyText {
public:
    BodyText(Prefixes prefixes, std::string& out)
        : prefixes_(std::move(prefixes)),
          vanish_(qualify("vanish")),
          val_(qualify("val")),
          del_(qualify("del")),
          r_pr_(qualify("rPr")),
          p_pr_(qualify("pPr")),
          r_(qualify("r")),
          choice_(prefixes_.compatibility.empty() ? "Choice"
                                                  : prefixes_.compatibility + ":Choice"),
          fld_char_type_(qualify("fldCharType")),
          out_(out) {}

    void walk(pugi::xml_node root);

private:
    std::string qualify(char const* local) const {
        return prefixes_.word.empty() ? local : prefixes_.word + ":" + local;
    }
    Tag tag_of(pugi::xml_node node) const;
    bool enter(pugi::xml_node node);
    void leave(pugi::xml_node node);
    void add_text(pugi::xml_node text);
    void add(char c) {
        if (shown()) out_.push_back(c);
    }
    bool shown() const { return hidden_runs_ == 0 && instruction_fields_ == 0; }
    void field_char(pugi::xml_node node);
    bool vanished(pugi::xml_node run_properties) const;
    bool hidden(pugi::xml_node run) const;
    bool paragraph_mark_removed(pugi::xml_node paragraph) const;
    bool later_choice(pugi::xml_node choice) const;

    Prefixes prefixes_;
    std::string vanish_, val_, del_, r_pr_, p_pr_, r_, choice_, fld_char_type_;
    std::string& out_;
    int hidden_runs_ = 0;
    // One entry per open field: true once its result part has begun. Text is
    // shown only when every open field is in its result.
    std::vector<bool> fields_;
    int instruction_fields_ = 0;
};

// Depth-first walk without recursion: documents nest tables and text boxes
// arbitrarily deep.
void BodyText::walk(pugi::xml_node root) {
    pugi::xml_node node = root.first_child();
    while (node) {
        bool const descend = enter(node);
        if (descend && node.first_child()) {
            node = node.first_child();
            continue;
        }
        if (descend) leave(node);
        while (!node.next_sibling()) {
            node = node.parent();
            if (node == root) return;
            leave(node);
        }
        node = node.next_sibling();
    }
}

Tag BodyText::tag_of(pugi::xml_node node) const {
    std::string_view local;
    if (split_name(node.name(), prefixes_.word, local)) {
        auto const& table = word_tags();
        auto const found = table.find(local);
        return found == table.end() ? Tag::kOther : found->second;
    }
    if (split_name(node.name(), prefixes_.compatibility, local)) {
        if (local == "Choice") return Tag::kChoice;
        if (local == "Fallback") return Tag::kFallback;
    }
    return Tag::kOther;
}

// Handles an element on the way down; returns whether to walk its children.
// Every element for which it returns true is later passed to leave().
bool BodyText::enter(pugi::xml_node node) {
    if (node.type() != pugi::node_element) return false;
    switch (tag_of(node)) {
        case Tag::kProperties:
        case Tag::kSkipped:
        case Tag::kFallback: return false;
        case Tag::kChoice: return !later_choice(node);
        case Tag::kRun:
            if (hidden(node)) ++hidden_runs_;
            return true;
        case Tag::kText: add_text(node); return false;
        case Tag::kTab:
            if (std::strcmp(node.parent().name(), r_.c_str()) == 0) add('\t');
            return false;
        case Tag::kBreak: add('\n'); return false;
        case Tag::kNoBreakHyphen: add('-'); return false;
        case Tag::kFieldChar: field_char(node); return false;
        case Tag::kParagraph:
        case Tag::kTableRow:
        case Tag::kOther: return true;
    }
    return true;
}

void BodyText::leave(pugi::xml_node node) {
    switch (tag_of(node)) {
        case Tag::kRun:
            if (hidden(node)) --hidden_runs_;
            break;
        case Tag::kParagraph:
            // A deleted or hidden paragraph mark joins the paragraph to the next.
            if (!paragraph_mark_removed(node)) out_.push_back('\n');
            break;
        case Tag::kTableRow: out_.push_back('\n'); break;  // a blank line after each row
        default: break;
    }
}

void BodyText::add_text(pugi::xml_node text) {
    if (!shown()) return;
    for (pugi::xml_node const part : text.children()) {
        if (part.type() == pugi::node_pcdata || part.type() == pugi::node_cdata) {
            out_.append(part.value());
        }
    }
}

void BodyText::field_char(pugi::xml_node node) {
    std::string_view const type = node.attribute(fld_char_type_.c_str()).value();
    if (type == "begin") {
        fields_.push_back(false);
        ++instruction_fields_;
    } else if (type == "separate") {
        if (!fields_.empty() && !fields_.back()) {
            fields_.back() = true;
            --instruction_fields_;
        }
    } else if (type == "end" && !fields_.empty()) {
        if (!fields_.back()) --instruction_fields_;
        fields_.pop_back();
    }
}

// w:vanish in a run's own properties; hiding through a style is not seen.
bool BodyText::vanished(pugi::xml_node run_properties) const {
    pugi::xml_node const vanish = run_properties.child(vanish_.c_str());
    if (!vanish) return false;
    pugi::xml_attribute const val = vanish.attribute(val_.c_str());
    return !val || !is_off(val.value());
}

bool BodyText::hidden(pugi::xml_node run) const { return vanished(run.child(r_pr_.c_str())); }

bool BodyText::paragraph_mark_removed(pugi::xml_node paragraph) const {
    pugi::xml_node const mark = paragraph.child(p_pr_.c_str()).child(r_pr_.c_str());
    return mark && (mark.child(del_.c_str()) || vanished(mark));
}

// Of several mc:Choice branches only the first is read; they are alternative
// renderings of the same content.
bool BodyText::later_choice(pugi::xml_node choice) const {
    for (pugi::xml_node n = choice.previous_sibling(); n; n = n.previous_sibling()) {
        if (std::strcmp(n.name(), choice_.c_str()) == 0) return true;
    }
    return false;
}

}  // namespace

ExtractResult docx_text_from_xml(std::string& xml) {
    pugi::xml_document document;
    if (!document.load_buffer_inplace(xml.data(), xml.size(), kDocxParseOptions)) {
        return failure(messages::kDamagedDocx);
    }
    pugi::xml_node const root = document.document_element();
    Prefixes prefixes = find_prefixes(root);
    std::string_view local;
    if (!split_name(root.name(), prefixes.word, local) || local != "document") {
        return failure(messages::kNotWordDocx);
    }
    std::string text;
    text.reserve(xml.size() / 4);
    BodyText(std::move(prefixes), text).walk(root);
    return finish_paragraphs(std::move(text));
}

}  // namespace cw::documents
