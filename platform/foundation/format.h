#pragma once

// printf-style formatting for the formats the product's texts and keys use:
// "%@" (an object's description; here, a string), "%ld", "%lu", "%d", "%f",
// "%.f" and "%.0f". Numbers go through the C library, so rounding is exact:
// "%.f" of 10.5 is "10" and of 11.5 is "12" (halves round to even).
//
//     format("%@_%@", {name, "12.250000"})
//     format("Script-%ld-scriptSpeed", {std::int64_t {0}})

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cw {

using FormatArg = std::variant<std::string, std::int64_t, std::uint64_t, double>;

// Unknown directives and missing arguments are written through as they
// stand; a format string never crashes the program.
std::string format(std::string_view pattern, std::vector<FormatArg> const& args);

// Shortcuts for the common single-argument cases.
std::string format_double(std::string_view directive, double);

}
