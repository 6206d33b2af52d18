#include "value_json.h"

#include "value_codec.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <system_error>
#include <vector>

namespace cw {

namespace {

constexpr std::string_view kFormatName = "cuewright-store";
constexpr int kFormatVersion = 1;

// ---------------------------------------------------------------- base64 ---

constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void append_base64(std::string& out, std::string_view bytes)
{
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        std::uint32_t const n = std::uint32_t(static_cast<unsigned char>(bytes[i])) << 16
            | std::uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8
            | std::uint32_t(static_cast<unsigned char>(bytes[i + 2]));
        out.push_back(kBase64Alphabet[(n >> 18) & 63]);
        out.push_back(kBase64Alphabet[(n >> 12) & 63]);
        out.push_back(kBase64Alphabet[(n >> 6) & 63]);
        out.push_back(kBase64Alphabet[n & 63]);
    }
    std::size_t const rest = bytes.size() - i;
    if (rest == 0)
        return;
    std::uint32_t n = std::uint32_t(static_cast<unsigned char>(bytes[i])) << 16;
    if (rest == 2)
        n |= std::uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8;
    out.push_back(kBase64Alphabet[(n >> 18) & 63]);
    out.push_back(kBase64Alphabet[(n >> 12) & 63]);
    out.push_back(rest == 2 ? kBase64Alphabet[(n >> 6) & 63] : '=');
    out.push_back('=');
}

int base64_digit(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

// Strict: padded, no whitespace, no stray bits. Export writes exactly this
// form, and a looser reader would let two different texts mean one value.
std::optional<std::string> decode_base64(std::string_view text, std::string& why)
{
    if (text.size() % 4 != 0) {
        why = "base64 text length " + std::to_string(text.size()) + " is not a multiple of 4";
        return std::nullopt;
    }
    std::size_t padding = 0;
    if (!text.empty() && text.back() == '=')
        padding = text.size() >= 2 && text[text.size() - 2] == '=' ? 2 : 1;
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        bool const last = i + 4 == text.size();
        std::uint32_t n = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            char const c = text[i + j];
            int digit = base64_digit(c);
            if (digit < 0) {
                if (c == '=' && last && j >= 4 - padding) {
                    digit = 0;
                } else {
                    why = "base64 text has an unexpected character at offset " + std::to_string(i + j);
                    return std::nullopt;
                }
            }
            n = n << 6 | std::uint32_t(digit);
        }
        out.push_back(static_cast<char>((n >> 16) & 0xff));
        if (last && padding == 2) {
            if (n & 0xffff) {
                why = "base64 text has stray bits before its padding";
                return std::nullopt;
            }
            break;
        }
        out.push_back(static_cast<char>((n >> 8) & 0xff));
        if (last && padding == 1) {
            if (n & 0xff) {
                why = "base64 text has stray bits before its padding";
                return std::nullopt;
            }
            break;
        }
        out.push_back(static_cast<char>(n & 0xff));
    }
    return out;
}

// ------------------------------------------------------------------ UTF-8 ---

// Length of the well-formed UTF-8 sequence starting at `s[i]`, or 0 when the
// bytes there are not one (overlong forms, surrogates and code points past
// U+10FFFF are all refused).
std::size_t utf8_sequence_length(std::string_view s, std::size_t i)
{
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char const b0 = byte(i);
    if (b0 < 0x80)
        return 1;
    std::size_t length;
    unsigned char low = 0x80, high = 0xbf;
    if (b0 >= 0xc2 && b0 <= 0xdf) {
        length = 2;
    } else if (b0 >= 0xe0 && b0 <= 0xef) {
        length = 3;
        if (b0 == 0xe0)
            low = 0xa0;
        else if (b0 == 0xed)
            high = 0x9f;
    } else if (b0 >= 0xf0 && b0 <= 0xf4) {
        length = 4;
        if (b0 == 0xf0)
            low = 0x90;
        else if (b0 == 0xf4)
            high = 0x8f;
    } else {
        return 0;
    }
    if (s.size() - i < length)
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xbf)
            return 0;
    }
    return length;
}

bool is_valid_utf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        std::size_t const n = utf8_sequence_length(s, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

void append_utf8(std::string& out, std::uint32_t code_point)
{
    if (code_point < 0x80) {
        out.push_back(static_cast<char>(code_point));
    } else if (code_point < 0x800) {
        out.push_back(static_cast<char>(0xc0 | (code_point >> 6)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3f)));
    } else if (code_point < 0x10000) {
        out.push_back(static_cast<char>(0xe0 | (code_point >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3f)));
    } else {
        out.push_back(static_cast<char>(0xf0 | (code_point >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3f)));
    }
}

// ----------------------------------------------------------------- writer ---

// Appends `s`, which must be valid UTF-8, as a JSON string. Non-ASCII text
// stays as it is so scripts remain readable in the file.
void append_json_string(std::string& out, std::string_view s)
{
    out.push_back('"');
    std::size_t run = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        auto const c = static_cast<unsigned char>(s[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(s.substr(run, i - run));
        run = i + 1;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default: {
            static constexpr char hex[] = "0123456789abcdef";
            out += "\\u00";
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 0xf]);
        }
        }
    }
    out.append(s.substr(run));
    out.push_back('"');
}

void append_double(std::string& out, double d)
{
    // Shortest text that reads back to the same double; "-0", "inf", "-inf"
    // and "nan" included.
    std::array<char, 64> buffer;
    auto const result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), d);
    out.push_back('"');
    out.append(buffer.data(), result.ptr);
    out.push_back('"');
}

class Writer {
public:
    std::string out;
    std::string error;

    bool write_value(Value const& value, int depth, std::string const& where)
    {
        if (depth > kMaxValueDepth) {
            error = where + ": values nest deeper than " + std::to_string(kMaxValueDepth) + " levels";
            return false;
        }
        switch (value.kind()) {
        case Kind::String:
            if (is_valid_utf8(value.as_string())) {
                out += "{\"string\": ";
                append_json_string(out, value.as_string());
            } else {
                out += "{\"string-base64\": \"";
                append_base64(out, value.as_string());
                out.push_back('"');
            }
            out.push_back('}');
            return true;
        case Kind::Integer:
            out += "{\"integer\": \"";
            out += std::to_string(value.as_integer());
            out += "\"}";
            return true;
        case Kind::Boolean:
            out += value.as_boolean() ? "{\"boolean\": true}" : "{\"boolean\": false}";
            return true;
        case Kind::Double:
            out += "{\"double\": ";
            append_double(out, value.as_double());
            out.push_back('}');
            return true;
        case Kind::Bytes:
            out += "{\"bytes\": \"";
            append_base64(out, value.as_bytes().data);
            out += "\"}";
            return true;
        case Kind::List: {
            auto const& list = value.as_list();
            if (list.empty()) {
                out += "{\"list\": []}";
                return true;
            }
            out += "{\"list\": [";
            bool first = true;
            std::size_t index = 0;
            for (auto const& element : list) {
                out += first ? "\n" : ",\n";
                first = false;
                indent(depth + 2);
                if (!write_value(element, depth + 1, where + "[" + std::to_string(index++) + "]"))
                    return false;
            }
            out.push_back('\n');
            indent(depth + 1);
            out += "]}";
            return true;
        }
        case Kind::Record: {
            auto const& record = value.as_record();
            if (record.empty()) {
                out += "{\"record\": {}}";
                return true;
            }
            out += "{\"record\": {";
            if (!write_members(record, depth + 1, where))
                return false;
            indent(depth + 1);
            out += "}}";
            return true;
        }
        }
        return false;
    }

    // Writes `"name": value` lines for each entry, each on its own line at
    // the indentation of `depth`, followed by a newline.
    bool write_members(std::map<std::string, Value> const& members, int depth, std::string const& where)
    {
        bool first = true;
        for (auto const& [name, element] : members) {
            out += first ? "\n" : ",\n";
            first = false;
            indent(depth + 1);
            std::string const here = where + "." + quoted_for_message(name);
            if (!is_valid_utf8(name)) {
                error = here + ": the name is not valid UTF-8 text";
                return false;
            }
            append_json_string(out, name);
            out += ": ";
            if (!write_value(element, depth, here))
                return false;
        }
        out.push_back('\n');
        return true;
    }

    void indent(int depth) { out.append(std::size_t(depth) * 2, ' '); }

    static std::string quoted_for_message(std::string const& name)
    {
        std::string q;
        append_json_string(q, is_valid_utf8(name) ? name : std::string("?"));
        return q;
    }
};

// ----------------------------------------------------------------- reader ---

class Parser {
public:
    explicit Parser(std::string_view text)
        : m_text(text)
    {
        // A byte-order mark is harmless and some editors add one.
        if (m_text.starts_with("\xEF\xBB\xBF"))
            m_pos = 3;
    }

    std::optional<std::map<std::string, Value>> document()
    {
        skip_space();
        if (!expect('{', "the document to start with '{'"))
            return std::nullopt;
        bool have_format = false, have_version = false;
        std::optional<std::map<std::string, Value>> values;
        std::vector<std::string> seen;
        if (!members([&](std::string const& name, std::size_t name_pos) -> bool {
                if (!note_unique(seen, name, name_pos))
                    return false;
                if (name == "format") {
                    std::size_t const at = m_pos;
                    auto format = string_token("the format name");
                    if (!format)
                        return false;
                    if (*format != kFormatName)
                        return fail_at(at, "this is not a Cuewright store file (format is " + Writer::quoted_for_message(*format) + ")");
                    have_format = true;
                    return true;
                }
                if (name == "version") {
                    std::size_t const at = m_pos;
                    auto number = number_token();
                    if (!number)
                        return false;
                    if (*number != std::to_string(kFormatVersion))
                        return fail_at(at, "store file version " + std::string(*number) + " is not one this program reads (it reads version " + std::to_string(kFormatVersion) + ")");
                    have_version = true;
                    return true;
                }
                if (name == "values") {
                    m_path.push_back("values");
                    values = typed_members(1);
                    m_path.pop_back();
                    return values.has_value();
                }
                return fail_at(name_pos, "unknown member " + Writer::quoted_for_message(name) + " (expected \"format\", \"version\" and \"values\")");
            }))
            return std::nullopt;
        skip_space();
        if (m_pos != m_text.size()) {
            fail("unexpected text after the end of the document");
            return std::nullopt;
        }
        char const* missing = !have_format ? "format" : !have_version ? "version" : !values ? "values" : nullptr;
        if (missing) {
            fail(std::string("the document has no \"") + missing + "\" member");
            return std::nullopt;
        }
        return values;
    }

    std::string message() const
    {
        std::size_t line = 1, column = 1;
        for (std::size_t i = 0; i < m_error_pos && i < m_text.size(); ++i) {
            if (m_text[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        std::string where;
        for (auto const& part : m_error_path)
            where += part;
        return "line " + std::to_string(line) + ", column " + std::to_string(column)
            + (where.empty() ? "" : " (in " + where + ")") + ": " + m_error;
    }

private:
    bool fail_at(std::size_t pos, std::string message)
    {
        if (m_error.empty()) {
            m_error = std::move(message);
            m_error_pos = pos;
            m_error_path = m_path;
        }
        return false;
    }

    bool fail(std::string message) { return fail_at(m_pos, std::move(message)); }

    bool note_unique(std::vector<std::string>& seen, std::string const& name, std::size_t name_pos)
    {
        for (auto const& other : seen) {
            if (other == name)
                return fail_at(name_pos, "member " + Writer::quoted_for_message(name) + " appears twice");
        }
        seen.push_back(name);
        return true;
    }

    void skip_space()
    {
        while (m_pos < m_text.size()) {
            char const c = m_text[m_pos];
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                return;
            ++m_pos;
        }
    }

    std::string describe_here() const
    {
        if (m_pos >= m_text.size())
            return "the end of the text";
        char const c = m_text[m_pos];
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f)
            return "a byte of value " + std::to_string(static_cast<unsigned char>(c));
        return std::string("'") + c + "'";
    }

    bool expect(char c, char const* what)
    {
        skip_space();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return fail(std::string("expected ") + what + ", found " + describe_here());
    }

    // Reads the members of an object whose '{' has been consumed, through
    // the closing '}'. `on_member` is called with the cursor on the member's
    // value and must consume it.
    template<typename F>
    bool members(F&& on_member)
    {
        skip_space();
        if (m_pos < m_text.size() && m_text[m_pos] == '}') {
            ++m_pos;
            return true;
        }
        while (true) {
            skip_space();
            std::size_t const name_pos = m_pos;
            auto name = string_token("a member name in quotes");
            if (!name)
                return false;
            if (!expect(':', "':' after the member name"))
                return false;
            skip_space();
            if (!on_member(*name, name_pos))
                return false;
            skip_space();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            return expect('}', "',' or '}' after the member");
        }
    }

    // An object of name -> typed value: the store itself or a record.
    std::optional<std::map<std::string, Value>> typed_members(int depth)
    {
        if (!expect('{', "'{' opening the set of named values"))
            return std::nullopt;
        std::map<std::string, Value> result;
        bool ok = members([&](std::string const& name, std::size_t name_pos) -> bool {
            if (result.contains(name))
                return fail_at(name_pos, "name " + Writer::quoted_for_message(name) + " appears twice");
            m_path.push_back("." + Writer::quoted_for_message(name));
            auto value = typed_value(depth);
            m_path.pop_back();
            if (!value)
                return false;
            result.emplace(name, std::move(*value));
            return true;
        });
        if (!ok)
            return std::nullopt;
        return result;
    }

    // {"<kind>": <payload>}
    std::optional<Value> typed_value(int depth)
    {
        if (depth > kMaxValueDepth) {
            fail("values nest deeper than " + std::to_string(kMaxValueDepth) + " levels");
            return std::nullopt;
        }
        if (!expect('{', "'{' opening a typed value such as {\"string\": \"...\"}"))
            return std::nullopt;
        skip_space();
        if (m_pos < m_text.size() && m_text[m_pos] == '}') {
            fail("a typed value needs exactly one member naming its kind, e.g. {\"integer\": \"3\"}");
            return std::nullopt;
        }
        std::size_t const kind_pos = m_pos;
        auto kind = string_token("a kind name in quotes");
        if (!kind || !expect(':', "':' after the kind name"))
            return std::nullopt;
        skip_space();
        std::optional<Value> value;
        if (*kind == "string") {
            if (auto text = string_token("the text of a \"string\" in quotes"))
                value = Value(std::move(*text));
        } else if (*kind == "string-base64") {
            if (auto data = base64_token("string-base64"))
                value = Value(std::move(*data));
        } else if (*kind == "integer") {
            value = integer_payload();
        } else if (*kind == "boolean") {
            if (m_text.substr(m_pos).starts_with("true")) {
                m_pos += 4;
                value = Value(true);
            } else if (m_text.substr(m_pos).starts_with("false")) {
                m_pos += 5;
                value = Value(false);
            } else {
                fail("a \"boolean\" is written true or false, found " + describe_here());
            }
        } else if (*kind == "double") {
            value = double_payload();
        } else if (*kind == "bytes") {
            if (auto data = base64_token("bytes"))
                value = Value(Bytes { std::move(*data) });
        } else if (*kind == "list") {
            value = list_payload(depth);
        } else if (*kind == "record") {
            if (auto record = typed_members(depth + 1))
                value = Value(std::move(*record));
        } else {
            fail_at(kind_pos, "unknown kind " + Writer::quoted_for_message(*kind)
                    + " (expected string, integer, boolean, double, bytes, list or record)");
            return std::nullopt;
        }
        if (!value)
            return std::nullopt;
        skip_space();
        if (m_pos < m_text.size() && m_text[m_pos] == ',') {
            fail("a typed value holds exactly one member; found more after " + Writer::quoted_for_message(*kind));
            return std::nullopt;
        }
        if (!expect('}', "'}' closing the typed value"))
            return std::nullopt;
        return value;
    }

    std::optional<Value> list_payload(int depth)
    {
        if (!expect('[', "'[' opening the items of a \"list\""))
            return std::nullopt;
        List list;
        skip_space();
        if (m_pos < m_text.size() && m_text[m_pos] == ']') {
            ++m_pos;
            return Value(std::move(list));
        }
        while (true) {
            m_path.push_back("[" + std::to_string(list.size()) + "]");
            auto element = typed_value(depth + 1);
            m_path.pop_back();
            if (!element)
                return std::nullopt;
            list.push_back(std::move(*element));
            skip_space();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (!expect(']', "',' or ']' after a list item"))
                return std::nullopt;
            return Value(std::move(list));
        }
    }

    std::optional<Value> integer_payload()
    {
        std::size_t const at = m_pos;
        auto text = string_token("the digits of an \"integer\" in quotes, e.g. \"42\"");
        if (!text)
            return std::nullopt;
        std::int64_t v = 0;
        char const* first = text->data();
        char const* last = first + text->size();
        auto const result = std::from_chars(first, last, v);
        if (result.ec == std::errc::result_out_of_range) {
            fail_at(at, "integer " + *text + " does not fit in 64 bits");
            return std::nullopt;
        }
        if (result.ec != std::errc() || result.ptr != last) {
            fail_at(at, "an \"integer\" must be decimal digits with an optional '-', found " + Writer::quoted_for_message(*text));
            return std::nullopt;
        }
        return Value(v);
    }

    std::optional<Value> double_payload()
    {
        std::size_t const at = m_pos;
        auto text = string_token("a \"double\" in quotes, e.g. \"2.5\"");
        if (!text)
            return std::nullopt;
        std::string_view digits = *text;
        bool negative = false;
        auto format = std::chars_format::general;
        // Hexadecimal floats ("0x1.8p+1") are accepted too: they are exact by
        // construction, which some people prefer when editing by hand.
        if (digits.starts_with("-0x") || digits.starts_with("-0X")) {
            negative = true;
            digits.remove_prefix(3);
            format = std::chars_format::hex;
        } else if (digits.starts_with("0x") || digits.starts_with("0X")) {
            digits.remove_prefix(2);
            format = std::chars_format::hex;
        }
        double d = 0;
        char const* first = digits.data();
        char const* last = first + digits.size();
        std::from_chars_result result { first, std::errc::invalid_argument };
        // In hex mode from_chars would take a second sign after "0x"; the
        // sign belongs in front of the prefix only.
        bool const signed_twice = format == std::chars_format::hex && !digits.empty() && (digits.front() == '-' || digits.front() == '+');
        if (!signed_twice)
            result = std::from_chars(first, last, d, format);
        if (result.ec == std::errc::result_out_of_range) {
            fail_at(at, "double " + *text + " is out of range (write \"inf\" for infinity)");
            return std::nullopt;
        }
        if (result.ec != std::errc() || result.ptr != last) {
            fail_at(at, "a \"double\" must be a number such as \"2.5\", \"-0\", \"1e-300\", \"0x1.8p+1\", \"inf\" or \"nan\", found "
                    + Writer::quoted_for_message(*text));
            return std::nullopt;
        }
        return Value(negative ? -d : d);
    }

    std::optional<std::string> base64_token(char const* kind)
    {
        std::size_t const at = m_pos;
        auto text = string_token((std::string("the base64 text of \"") + kind + "\" in quotes").c_str());
        if (!text)
            return std::nullopt;
        std::string why;
        auto data = decode_base64(*text, why);
        if (!data)
            fail_at(at, why);
        return data;
    }

    // A JSON number, returned as its text; only "version" uses one.
    std::optional<std::string_view> number_token()
    {
        std::size_t const start = m_pos;
        auto digit_at = [&](std::size_t i) { return i < m_text.size() && m_text[i] >= '0' && m_text[i] <= '9'; };
        if (m_pos < m_text.size() && m_text[m_pos] == '-')
            ++m_pos;
        if (!digit_at(m_pos)) {
            fail("expected a number, found " + describe_here());
            return std::nullopt;
        }
        if (m_text[m_pos] == '0') {
            ++m_pos;
        } else {
            while (digit_at(m_pos))
                ++m_pos;
        }
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            ++m_pos;
            if (!digit_at(m_pos)) {
                fail("expected a digit after the decimal point");
                return std::nullopt;
            }
            while (digit_at(m_pos))
                ++m_pos;
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-'))
                ++m_pos;
            if (!digit_at(m_pos)) {
                fail("expected a digit in the exponent");
                return std::nullopt;
            }
            while (digit_at(m_pos))
                ++m_pos;
        }
        return m_text.substr(start, m_pos - start);
    }

    std::optional<std::string> string_token(char const* what)
    {
        skip_space();
        if (m_pos >= m_text.size() || m_text[m_pos] != '"') {
            fail(std::string("expected ") + what + ", found " + describe_here());
            return std::nullopt;
        }
        ++m_pos;
        std::string out;
        std::size_t run = m_pos;
        while (true) {
            if (m_pos >= m_text.size()) {
                fail("the text ends inside a string");
                return std::nullopt;
            }
            auto const c = static_cast<unsigned char>(m_text[m_pos]);
            if (c == '"') {
                out.append(m_text.substr(run, m_pos - run));
                ++m_pos;
                return out;
            }
            if (c < 0x20) {
                fail("a control character (byte " + std::to_string(c) + ") must be escaped inside a string");
                return std::nullopt;
            }
            if (c >= 0x80) {
                std::size_t const n = utf8_sequence_length(m_text, m_pos);
                if (n == 0) {
                    fail("the text is not valid UTF-8 here");
                    return std::nullopt;
                }
                m_pos += n;
                continue;
            }
            if (c != '\\') {
                ++m_pos;
                continue;
            }
            out.append(m_text.substr(run, m_pos - run));
            if (!escape(out))
                return std::nullopt;
            run = m_pos;
        }
    }

    // Decodes the escape at the cursor (on the backslash) into `out`.
    bool escape(std::string& out)
    {
        std::size_t const start = m_pos;
        ++m_pos;
        if (m_pos >= m_text.size())
            return fail("the text ends inside a string");
        char const c = m_text[m_pos++];
        switch (c) {
        case '"': out.push_back('"'); return true;
        case '\\': out.push_back('\\'); return true;
        case '/': out.push_back('/'); return true;
        case 'b': out.push_back('\b'); return true;
        case 'f': out.push_back('\f'); return true;
        case 'n': out.push_back('\n'); return true;
        case 'r': out.push_back('\r'); return true;
        case 't': out.push_back('\t'); return true;
        case 'u': break;
        default: return fail_at(start, std::string("unknown escape \\") + (static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : "?"));
        }
        auto unit = hex4();
        if (!unit)
            return false;
        std::uint32_t code_point = *unit;
        if (code_point >= 0xdc00 && code_point <= 0xdfff)
            return fail_at(start, "a \\u escape holds a lone low surrogate");
        if (code_point >= 0xd800 && code_point <= 0xdbff) {
            if (!m_text.substr(m_pos).starts_with("\\u"))
                return fail_at(start, "a \\u escape holds a high surrogate that no low surrogate follows");
            m_pos += 2;
            auto low = hex4();
            if (!low)
                return false;
            if (*low < 0xdc00 || *low > 0xdfff)
                return fail_at(start, "a \\u escape holds a high surrogate that no low surrogate follows");
            code_point = 0x10000 + ((code_point - 0xd800) << 10) + (*low - 0xdc00);
        }
        append_utf8(out, code_point);
        return true;
    }

    std::optional<std::uint32_t> hex4()
    {
        if (m_text.size() - m_pos < 4) {
            fail("a \\u escape needs four hex digits");
            return std::nullopt;
        }
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            char const c = m_text[m_pos + i];
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else {
                fail("a \\u escape needs four hex digits");
                return std::nullopt;
            }
            v = v << 4 | std::uint32_t(digit);
        }
        m_pos += 4;
        return v;
    }

    std::string_view m_text;
    std::size_t m_pos { 0 };
    std::vector<std::string> m_path;
    std::string m_error;
    std::size_t m_error_pos { 0 };
    std::vector<std::string> m_error_path;
};

}

std::optional<std::string> store_to_json(std::map<std::string, Value> const& store, std::string* error)
{
    Writer writer;
    writer.out += "{\n  \"format\": ";
    append_json_string(writer.out, kFormatName);
    writer.out += ",\n  \"version\": " + std::to_string(kFormatVersion) + ",\n  \"values\": ";
    if (store.empty()) {
        writer.out += "{}";
    } else {
        writer.out += "{";
        if (!writer.write_members(store, 1, "values")) {
            if (error)
                *error = writer.error;
            return std::nullopt;
        }
        writer.out += "  }";
    }
    writer.out += "\n}\n";
    return std::move(writer.out);
}

std::optional<std::map<std::string, Value>> store_from_json(std::string_view text, std::string* error)
{
    Parser parser(text);
    auto store = parser.document();
    if (!store && error)
        *error = parser.message();
    return store;
}

}
