#pragma once

// Shared pieces of the store tests: a throw-away folder, a sample holding
// every kind and edge value, and an equality that compares doubles by their
// bits (so -0.0 and NaN are checked exactly, which == on Value cannot do).

#include "platform/foundation/value.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>

namespace cw::test {

class TempDir {
public:
    TempDir()
    {
        char const* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/cw-store-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(TempDir const&) = delete;
    TempDir& operator=(TempDir const&) = delete;

    std::filesystem::path const& path() const { return m_path; }
    std::filesystem::path operator/(std::string const& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

inline std::string read_file(std::filesystem::path const& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

inline void write_file(std::filesystem::path const& path, std::string const& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

inline bool same_bits(Value const& a, Value const& b)
{
    if (a.kind() != b.kind())
        return false;
    switch (a.kind()) {
    case Kind::Double:
        return std::bit_cast<std::uint64_t>(a.as_double()) == std::bit_cast<std::uint64_t>(b.as_double());
    case Kind::List: {
        auto const& x = a.as_list();
        auto const& y = b.as_list();
        if (x.size() != y.size())
            return false;
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (!same_bits(x[i], y[i]))
                return false;
        }
        return true;
    }
    case Kind::Record: {
        auto const& x = a.as_record();
        auto const& y = b.as_record();
        if (x.size() != y.size())
            return false;
        for (auto i = x.begin(), j = y.begin(); i != x.end(); ++i, ++j) {
            if (i->first != j->first || !same_bits(i->second, j->second))
                return false;
        }
        return true;
    }
    default:
        return a == b;
    }
}

inline bool same_bits(std::map<std::string, Value> const& a, std::map<std::string, Value> const& b)
{
    return same_bits(Value(Record(a.begin(), a.end())), Value(Record(b.begin(), b.end())));
}

// One entry per kind and per edge value worth keeping exact.
inline std::map<std::string, Value> every_kind_sample()
{
    using limits = std::numeric_limits<double>;
    return {
        { "string", "Once upon a time\n\t\"quoted\" \\ caf\xC3\xA9 \xE2\x9C\x93 \xF0\x9F\x8E\xAC \x01\x1f\x7f" },
        { "empty string", "" },
        { "int max", std::numeric_limits<std::int64_t>::max() },
        { "int min", std::numeric_limits<std::int64_t>::min() },
        { "small ints", List { 0, -1, 1, 63, -64, 64, 300, -300 } },
        { "true", true },
        { "false", false },
        { "doubles", List { 0.0, -0.0, 1.5, -2.25, 0.1, 1e300, -1e-300, limits::denorm_min(), -limits::denorm_min(),
                         limits::min(), limits::max(), limits::infinity(), -limits::infinity() } },
        { "nan", limits::quiet_NaN() },
        { "bytes", Bytes { std::string("\0\x01\xff\0tail", 8) } },
        { "empty bytes", Bytes {} },
        { "empty list", List {} },
        { "empty record", Record {} },
        { "nested", List { Record { { "a", List { 1, "x", List {} } }, { "", Record { { "deep", List { List { true, 2.0 } } } } } },
                        List { List { List {} } }, Bytes { "b" } } },
        { std::string("key\0with NUL", 12), "n" },
        { "ключ", "unicode key" },
    };
}

// A value nested `depth` levels deep: lists inside lists around an integer.
inline Value nested_lists(int depth)
{
    Value value = 1;
    for (int i = 1; i < depth; ++i)
        value = List { std::move(value) };
    return value;
}

}
