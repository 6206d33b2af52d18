#include "speed_text.h"

#include "library/store_keys.h"
#include "platform/foundation/format.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace cw {

namespace {

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Whether a decimal number that overflowed a float was too big (rather than
// too small): its first significant digit sits at or above the units.
bool overflows_upwards(std::string_view number)
{
    std::size_t i = 0;
    std::int64_t magnitude = 0;
    bool significant = false;
    for (; i < number.size() && is_digit(number[i]); ++i) {
        if (significant)
            ++magnitude;
        else if (number[i] != '0')
            significant = true;
    }
    if (i < number.size() && number[i] == '.')
        ++i;
    for (; !significant && i < number.size() && is_digit(number[i]); ++i) {
        --magnitude;
        if (number[i] != '0')
            significant = true;
    }
    auto e = number.find_first_of("eE");
    if (e != std::string_view::npos) {
        std::int64_t exponent = 0;
        bool negative = number[e + 1] == '-';
        for (std::size_t j = e + 1; j < number.size(); ++j) {
            if (is_digit(number[j]) && exponent < 1'000'000)
                exponent = exponent * 10 + (number[j] - '0');
        }
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude >= 0;
}

}

float leading_speed(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && is_blank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::size_t start = i;
    std::size_t digits = 0;
    for (; i < text.size() && is_digit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && is_digit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return 0;
    // An exponent counts only when digits follow it.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && is_digit(text[j])) {
            while (j < text.size() && is_digit(text[j]))
                ++j;
            i = j;
        }
    }
    std::string_view number = text.substr(start, i - start);
    float value = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range)
        value = overflows_upwards(number) ? std::numeric_limits<float>::max() : 0.0f;
    else if (error != std::errc {})
        value = 0;
    return negative ? -value : value;
}

std::string speed_field_text(double speed)
{
    return format("%.f", { speed });
}

std::int64_t stored_speed(double speed)
{
    if (std::isnan(speed))
        return 0;
    double truncated = std::trunc(speed);
    // 2^63 is exactly representable; everything at or beyond it saturates.
    if (truncated >= 9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::max();
    if (truncated < -9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(truncated);
}

std::string speed_key(std::int64_t viewing)
{
    return format(keys::scriptSpeedFormat, { viewing });
}

}
