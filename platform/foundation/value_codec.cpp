#include "value_codec.h"

#include <bit>
#include <cstdint>

namespace cw {

namespace {

enum Tag : unsigned char {
    TagString = 0x01,
    TagInteger = 0x02,
    TagBoolean = 0x03,
    TagDouble = 0x04,
    TagBytes = 0x05,
    TagList = 0x06,
    TagRecord = 0x07,
};

void put_varint(std::string& out, std::uint64_t v)
{
    while (v >= 0x80) {
        out.push_back(static_cast<char>((v & 0x7f) | 0x80));
        v >>= 7;
    }
    out.push_back(static_cast<char>(v));
}

void put_blob(std::string& out, std::string const& bytes)
{
    put_varint(out, bytes.size());
    out.append(bytes);
}

std::size_t varint_size(std::uint64_t v)
{
    std::size_t n = 1;
    for (; v >= 0x80; v >>= 7)
        ++n;
    return n;
}

// The exact size of the encoding, so the big script lists are written into
// one allocation instead of a series of growing copies. None when the value
// nests too deeply.
std::optional<std::size_t> encoded_size(Value const& value, int depth)
{
    if (depth > kMaxValueDepth)
        return std::nullopt;
    switch (value.kind()) {
    case Kind::String:
        return 1 + varint_size(value.as_string().size()) + value.as_string().size();
    case Kind::Integer: {
        auto v = static_cast<std::uint64_t>(value.as_integer());
        return 1 + varint_size((v << 1) ^ (0 - (v >> 63)));
    }
    case Kind::Boolean:
        return 2;
    case Kind::Double:
        return 9;
    case Kind::Bytes:
        return 1 + varint_size(value.as_bytes().data.size()) + value.as_bytes().data.size();
    case Kind::List: {
        std::size_t total = 1 + varint_size(value.as_list().size());
        for (auto const& element : value.as_list()) {
            auto size = encoded_size(element, depth + 1);
            if (!size)
                return std::nullopt;
            total += *size;
        }
        return total;
    }
    case Kind::Record: {
        std::size_t total = 1 + varint_size(value.as_record().size());
        for (auto const& [key, element] : value.as_record()) {
            auto size = encoded_size(element, depth + 1);
            if (!size)
                return std::nullopt;
            total += varint_size(key.size()) + key.size() + *size;
        }
        return total;
    }
    }
    return std::nullopt;
}

bool encode_into(Value const& value, std::string& out, int depth)
{
    if (depth > kMaxValueDepth)
        return false;
    switch (value.kind()) {
    case Kind::String:
        out.push_back(static_cast<char>(TagString));
        put_blob(out, value.as_string());
        return true;
    case Kind::Integer: {
        auto v = static_cast<std::uint64_t>(value.as_integer());
        out.push_back(static_cast<char>(TagInteger));
        // Zigzag: 0, -1, 1, -2, ... map to 0, 1, 2, 3, ... so small negative
        // numbers stay short too.
        put_varint(out, (v << 1) ^ (0 - (v >> 63)));
        return true;
    }
    case Kind::Boolean:
        out.push_back(static_cast<char>(TagBoolean));
        out.push_back(value.as_boolean() ? 1 : 0);
        return true;
    case Kind::Double: {
        auto bits = std::bit_cast<std::uint64_t>(value.as_double());
        out.push_back(static_cast<char>(TagDouble));
        for (int i = 0; i < 8; ++i)
            out.push_back(static_cast<char>((bits >> (8 * i)) & 0xff));
        return true;
    }
    case Kind::Bytes:
        out.push_back(static_cast<char>(TagBytes));
        put_blob(out, value.as_bytes().data);
        return true;
    case Kind::List: {
        auto const& list = value.as_list();
        out.push_back(static_cast<char>(TagList));
        put_varint(out, list.size());
        for (auto const& element : list) {
            if (!encode_into(element, out, depth + 1))
                return false;
        }
        return true;
    }
    case Kind::Record: {
        auto const& record = value.as_record();
        out.push_back(static_cast<char>(TagRecord));
        put_varint(out, record.size());
        for (auto const& [key, element] : record) {
            put_blob(out, key);
            if (!encode_into(element, out, depth + 1))
                return false;
        }
        return true;
    }
    }
    return false;
}

class Reader {
public:
    explicit Reader(std::string_view bytes)
        : m_bytes(bytes)
    {
    }

    std::optional<Value> read_value(int depth)
    {
        if (depth > kMaxValueDepth)
            return fail("values nest deeper than " + std::to_string(kMaxValueDepth) + " levels");
        std::size_t const tag_offset = m_pos;
        if (m_pos >= m_bytes.size())
            return fail("value ends before its tag");
        auto const tag = static_cast<unsigned char>(m_bytes[m_pos++]);
        switch (tag) {
        case TagString: {
            auto text = read_blob();
            if (!text)
                return std::nullopt;
            return Value(std::string(*text));
        }
        case TagInteger: {
            auto zigzag = read_varint();
            if (!zigzag)
                return std::nullopt;
            auto v = (*zigzag >> 1) ^ (0 - (*zigzag & 1));
            return Value(static_cast<std::int64_t>(v));
        }
        case TagBoolean: {
            if (m_pos >= m_bytes.size())
                return fail("boolean ends before its byte");
            auto const b = static_cast<unsigned char>(m_bytes[m_pos]);
            if (b > 1)
                return fail("boolean byte is " + std::to_string(b) + ", not 0 or 1");
            ++m_pos;
            return Value(b == 1);
        }
        case TagDouble: {
            if (m_bytes.size() - m_pos < 8)
                return fail("double ends before its 8 bytes");
            std::uint64_t bits = 0;
            for (int i = 0; i < 8; ++i)
                bits |= std::uint64_t(static_cast<unsigned char>(m_bytes[m_pos + i])) << (8 * i);
            m_pos += 8;
            return Value(std::bit_cast<double>(bits));
        }
        case TagBytes: {
            auto data = read_blob();
            if (!data)
                return std::nullopt;
            return Value(Bytes { std::string(*data) });
        }
        case TagList: {
            auto count = read_count();
            if (!count)
                return std::nullopt;
            List list;
            list.reserve(*count);
            for (std::uint64_t i = 0; i < *count; ++i) {
                auto element = read_value(depth + 1);
                if (!element)
                    return std::nullopt;
                list.push_back(std::move(*element));
            }
            return Value(std::move(list));
        }
        case TagRecord: {
            auto count = read_count();
            if (!count)
                return std::nullopt;
            Record record;
            for (std::uint64_t i = 0; i < *count; ++i) {
                std::size_t const key_offset = m_pos;
                auto key = read_blob();
                if (!key)
                    return std::nullopt;
                // Ascending keys let each field go straight to the end of the
                // map, and make a repeated key detectable as damage.
                if (!record.empty() && !(std::string_view(record.rbegin()->first) < *key)) {
                    m_pos = key_offset;
                    return fail("record keys are not in strictly ascending order");
                }
                auto element = read_value(depth + 1);
                if (!element)
                    return std::nullopt;
                record.emplace_hint(record.end(), std::string(*key), std::move(*element));
            }
            return Value(std::move(record));
        }
        default:
            m_pos = tag_offset;
            return fail("unknown tag " + std::to_string(tag));
        }
    }

    bool at_end() const { return m_pos == m_bytes.size(); }
    std::size_t position() const { return m_pos; }
    std::string const& error() const { return m_error; }

    std::nullopt_t fail(std::string message)
    {
        if (m_error.empty())
            m_error = std::move(message) + " (at byte " + std::to_string(m_pos) + ")";
        return std::nullopt;
    }

private:
    std::optional<std::uint64_t> read_varint()
    {
        std::uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (m_pos >= m_bytes.size())
                return fail("number ends early");
            auto const b = static_cast<unsigned char>(m_bytes[m_pos++]);
            std::uint64_t const group = b & 0x7f;
            // The tenth byte may only carry the single top bit.
            if (shift == 63 && group > 1)
                return fail("number does not fit in 64 bits");
            v |= group << shift;
            if (!(b & 0x80)) {
                // Only the shortest form is valid, so every value has exactly
                // one encoding.
                if (group == 0 && shift > 0)
                    return fail("number is not in its shortest form");
                return v;
            }
        }
        return fail("number does not fit in 64 bits");
    }

    std::optional<std::string_view> read_blob()
    {
        auto length = read_varint();
        if (!length)
            return std::nullopt;
        if (*length > m_bytes.size() - m_pos)
            return fail("length " + std::to_string(*length) + " runs past the end");
        auto view = m_bytes.substr(m_pos, *length);
        m_pos += *length;
        return view;
    }

    // An element count, checked against what is left so that a damaged count
    // cannot make us reserve gigabytes: every element takes at least one byte.
    std::optional<std::uint64_t> read_count()
    {
        auto count = read_varint();
        if (!count)
            return std::nullopt;
        if (*count > m_bytes.size() - m_pos)
            return fail("count " + std::to_string(*count) + " exceeds the bytes left");
        return count;
    }

    std::string_view m_bytes;
    std::size_t m_pos { 0 };
    std::string m_error;
};

}

bool encode_value(Value const& value, std::string& out)
{
    auto size = encoded_size(value, 1);
    if (!size)
        return false;
    out.reserve(out.size() + *size);
    return encode_into(value, out, 1);
}

std::optional<std::string> encode_value(Value const& value)
{
    std::string out;
    if (!encode_value(value, out))
        return std::nullopt;
    return out;
}

std::optional<Value> decode_value(std::string_view bytes, std::string* error)
{
    Reader reader(bytes);
    auto value = reader.read_value(1);
    if (value && !reader.at_end()) {
        reader.fail(std::to_string(bytes.size() - reader.position()) + " stray bytes after the value");
        value.reset();
    }
    if (!value && error)
        *error = reader.error();
    return value;
}

}
