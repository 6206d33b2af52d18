#include "library_records.h"

#include "library/store_keys.h"
#include "platform/foundation/format.h"

#include <algorithm>

namespace cw {

Record make_script_record(std::string const& name, std::string const& unique_id)
{
    return Record { { records::type, records::Script }, { records::name, name }, { records::uniqueID, unique_id } };
}

Record make_folder_record(std::string const& name, List scripts)
{
    return Record { { records::type, records::Folder }, { records::name, name }, { records::scripts, std::move(scripts) } };
}

static bool has_type(Value const& value, char const* type)
{
    auto const* field = value.field(records::type);
    return field && field->is_string() && field->as_string() == type;
}

bool is_script_record(Value const& value)
{
    return has_type(value, records::Script);
}

bool is_folder_record(Value const& value)
{
    return has_type(value, records::Folder);
}

std::string record_name(Value const& value)
{
    auto const* field = value.field(records::name);
    return field && field->is_string() ? field->as_string() : std::string {};
}

List folder_scripts(Value const& value)
{
    auto const* field = value.field(records::scripts);
    return field && field->is_list() ? field->as_list() : List {};
}

std::string record_unique_id(Value const& value)
{
    auto const* field = value.field(records::uniqueID);
    return field && field->is_string() ? field->as_string() : std::string {};
}

Value with_name(Value record, std::string const& name)
{
    if (record.is_record())
        record.as_record()[records::name] = name;
    return record;
}

Value with_scripts(Value record, List scripts)
{
    if (record.is_record())
        record.as_record()[records::scripts] = std::move(scripts);
    return record;
}

bool replace_first_equal(List& list, Value const& old, Value updated)
{
    auto it = std::find(list.begin(), list.end(), old);
    if (it == list.end())
        return false;
    *it = std::move(updated);
    return true;
}

void remove_all_equal(List& list, Value const& value)
{
    std::erase(list, value);
}

std::optional<size_t> find_record_named(List const& scripts, std::string const& name)
{
    for (size_t i = 0; i < scripts.size(); ++i) {
        auto const* field = scripts[i].field(records::name);
        if (field && field->is_string() && field->as_string() == name)
            return i;
    }
    return std::nullopt;
}

std::optional<size_t> find_script_index(List const& titles, std::string const& name)
{
    for (size_t i = 0; i < titles.size(); ++i) {
        if (titles[i].is_string() && titles[i].as_string() == name)
            return i;
    }
    return std::nullopt;
}

std::string generateUniqueIDForScriptName(std::string const& name, double seconds_since_1970)
{
    return format("%@_%@", { name, format("%f", { seconds_since_1970 }) });
}

std::vector<std::string> string_list(List const& list)
{
    std::vector<std::string> strings;
    strings.reserve(list.size());
    for (auto const& element : list)
        strings.push_back(element.is_string() ? element.as_string() : std::string {});
    return strings;
}

List to_list(std::vector<std::string> const& strings)
{
    List list;
    list.reserve(strings.size());
    for (auto const& s : strings)
        list.emplace_back(s);
    return list;
}

}
