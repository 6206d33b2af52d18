#include "value.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace cw {

std::string_view kind_name(Kind kind)
{
    switch (kind) {
    case Kind::String: return "string";
    case Kind::Integer: return "integer";
    case Kind::Boolean: return "boolean";
    case Kind::Double: return "double";
    case Kind::Bytes: return "bytes";
    case Kind::List: return "list";
    case Kind::Record: return "record";
    }
    return "unknown";
}

std::int64_t Value::to_integer() const
{
    switch (kind()) {
    case Kind::Integer: return as_integer();
    case Kind::Boolean: return as_boolean() ? 1 : 0;
    case Kind::Double: {
        double d = as_double();
        if (!std::isfinite(d) || d >= 9.2e18 || d <= -9.2e18)
            return 0;
        return static_cast<std::int64_t>(d);
    }
    case Kind::String: return std::strtoll(as_string().c_str(), nullptr, 10);
    default: return 0;
    }
}

bool Value::to_boolean() const
{
    switch (kind()) {
    case Kind::Boolean: return as_boolean();
    case Kind::Integer: return as_integer() != 0;
    case Kind::Double: return as_double() != 0.0;
    case Kind::String: {
        auto const& s = as_string();
        if (s.empty())
            return false;
        char c = s[0];
        return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
    }
    default: return false;
    }
}

double Value::to_double() const
{
    switch (kind()) {
    case Kind::Double: return as_double();
    case Kind::Integer: return static_cast<double>(as_integer());
    case Kind::Boolean: return as_boolean() ? 1.0 : 0.0;
    case Kind::String: return std::strtod(as_string().c_str(), nullptr);
    default: return 0.0;
    }
}

Value const* Value::field(std::string const& key) const
{
    if (!is_record())
        return nullptr;
    auto const& record = as_record();
    auto it = record.find(key);
    return it == record.end() ? nullptr : &it->second;
}

static void describe_into(std::ostringstream& out, Value const& value)
{
    switch (value.kind()) {
    case Kind::String: out << "string \"" << value.as_string() << '"'; break;
    case Kind::Integer: out << "integer " << value.as_integer(); break;
    case Kind::Boolean: out << "boolean " << (value.as_boolean() ? "YES" : "NO"); break;
    case Kind::Double: out << "double " << value.as_double(); break;
    case Kind::Bytes: out << "bytes(" << value.as_bytes().data.size() << ")"; break;
    case Kind::List: {
        out << "list[";
        bool first = true;
        for (auto const& element : value.as_list()) {
            out << (first ? "" : ", ");
            describe_into(out, element);
            first = false;
        }
        out << ']';
        break;
    }
    case Kind::Record: {
        out << "record{";
        bool first = true;
        for (auto const& [key, element] : value.as_record()) {
            out << (first ? "" : ", ") << key << ": ";
            describe_into(out, element);
            first = false;
        }
        out << '}';
        break;
    }
    }
}

std::ostream& operator<<(std::ostream& out, Value const& value)
{
    return out << describe(value);
}

std::string describe(Value const& value)
{
    std::ostringstream out;
    describe_into(out, value);
    return out.str();
}

}
