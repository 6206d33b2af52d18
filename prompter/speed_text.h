#pragma once

// The speed as the prompter keeps it: a whole number written in the hidden
// speed field, which the scroll engine reads back on every step, and the
// last speed set, stored as an integer under a key made from
// "CurrentlyViewing".

#include <cstdint>
#include <string>
#include <string_view>

namespace cw {

// The leading decimal number of a text as a 32-bit float: optional blanks,
// an optional sign, digits with an optional fraction and exponent. Text
// that does not begin with a number reads as 0; a number beyond the float
// range reads as the largest float (or 0 when it is too small to tell
// apart from 0). Reads the text in place and allocates nothing, because the
// engine calls it on every display refresh.
float leading_speed(std::string_view text);

// The speed field's text for a speed: the nearest whole number, an exact
// half going to the even neighbour ("%.f"; 10.5 -> "10", 11.5 -> "12").
std::string speed_field_text(double speed);

// The stored form of a speed: truncated toward zero (10.7 -> 10). A value
// beyond the 64-bit range stores the nearest end of the range, and one that
// is not a number stores 0.
std::int64_t stored_speed(double speed);

// "Script-%ld-scriptSpeed" with `viewing`.
std::string speed_key(std::int64_t viewing);

}
