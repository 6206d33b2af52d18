#pragma once

// Item records of the library list and the folder list, and the small
// look-ups every operation shares.

#include "platform/foundation/value.h"

#include <optional>
#include <string>

namespace cw {

Record make_script_record(std::string const& name, std::string const& unique_id);
Record make_folder_record(std::string const& name, List scripts = {});

bool is_script_record(Value const&);
bool is_folder_record(Value const&);
// The record's `name`, or an empty string.
std::string record_name(Value const&);
// A folder record's `scripts`, or an empty list.
List folder_scripts(Value const&);

// A record's `uniqueID`, or an empty string.
std::string record_unique_id(Value const&);

// Changed copies of a record; the original is left as it was.
Value with_name(Value record, std::string const& name);
Value with_scripts(Value record, List scripts);

// Record equality finds records in lists. The first element equal to `old`
// becomes `updated`; answers false when no element is equal.
bool replace_first_equal(List&, Value const& old, Value updated);
// Removes every element equal to `value`.
void remove_all_equal(List&, Value const& value);
// The position of the first record in `scripts` named `name`.
std::optional<size_t> find_record_named(List const& scripts, std::string const& name);

// The script index: the first position among the titles equal to the name.
std::optional<size_t> find_script_index(List const& titles, std::string const& name);

// The `uniqueID` of a new script record: "%@_%@" of the name and the time in
// seconds since 1970 written with "%f", e.g. "Intro_12.250000".
std::string generateUniqueIDForScriptName(std::string const& name, double seconds_since_1970);

// Strings of a list; elements that are not strings read as empty strings.
std::vector<std::string> string_list(List const&);
List to_list(std::vector<std::string> const&);

}
