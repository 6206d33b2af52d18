#pragma once

// A Value is one typed entry of the defaults store: a string, a signed 64-bit
// integer, a boolean, a double, a byte string, a list or a record. Lists and
// records nest. Kinds never blur: a boolean true is not the integer 1, and the
// integer 2 is not the double 2.0. Equality is structural ("record equality"):
// lists compare element by element, records key by key, strings exactly.
//
// Values are plain C++ values. Copying a Value copies its content, so whatever
// the store hands back can be changed freely without touching the store.

#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace cw {

class Value;

using List = std::vector<Value>;
using Record = std::map<std::string, Value>;

// A byte string, kept apart from text so that the two kinds never mix.
struct Bytes {
    std::string data;
    bool operator==(Bytes const&) const = default;
};

enum class Kind { String, Integer, Boolean, Double, Bytes, List, Record };

std::string_view kind_name(Kind);

class Value {
public:
    Value() : m_data(std::string {}) { }
    Value(std::string s) : m_data(std::move(s)) { }
    Value(char const* s) : m_data(std::string(s)) { }
    Value(std::string_view s) : m_data(std::string(s)) { }
    Value(std::int64_t i) : m_data(i) { }
    Value(int i) : m_data(std::int64_t { i }) { }
    Value(bool b) : m_data(b) { }
    Value(double d) : m_data(d) { }
    Value(Bytes b) : m_data(std::move(b)) { }
    Value(List l) : m_data(std::move(l)) { }
    Value(Record r) : m_data(std::move(r)) { }

    Kind kind() const { return static_cast<Kind>(m_data.index()); }

    bool is_string() const { return kind() == Kind::String; }
    bool is_integer() const { return kind() == Kind::Integer; }
    bool is_boolean() const { return kind() == Kind::Boolean; }
    bool is_double() const { return kind() == Kind::Double; }
    bool is_bytes() const { return kind() == Kind::Bytes; }
    bool is_list() const { return kind() == Kind::List; }
    bool is_record() const { return kind() == Kind::Record; }

    // Checked accessors: calling the wrong one is a programming error and
    // throws std::bad_variant_access.
    std::string const& as_string() const { return std::get<std::string>(m_data); }
    std::int64_t as_integer() const { return std::get<std::int64_t>(m_data); }
    bool as_boolean() const { return std::get<bool>(m_data); }
    double as_double() const { return std::get<double>(m_data); }
    Bytes const& as_bytes() const { return std::get<Bytes>(m_data); }
    List const& as_list() const { return std::get<List>(m_data); }
    Record const& as_record() const { return std::get<Record>(m_data); }
    List& as_list() { return std::get<List>(m_data); }
    Record& as_record() { return std::get<Record>(m_data); }

    // Lenient readers used where the store's callers want "a number" or
    // "a flag" the way the platform store hands them out.
    std::int64_t to_integer() const;
    bool to_boolean() const;
    double to_double() const;

    // Record field lookup; none when this is not a record or lacks the key.
    Value const* field(std::string const& key) const;

    bool operator==(Value const& other) const { return m_data == other.m_data; }

private:
    std::variant<std::string, std::int64_t, bool, double, Bytes, List, Record> m_data;
};

// A short typed description, e.g. `list[string "a", integer 3]`, for logs and
// test failure messages.
std::string describe(Value const&);
std::ostream& operator<<(std::ostream&, Value const&);

}
