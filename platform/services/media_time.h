#pragma once

// A media time: a rational number of seconds, value / timescale, as the
// capture and media services count time. An invalid time (from a file that
// is not a movie, say) compares greater than every valid one, so "shorter
// than" tests on it fail.

#include <cmath>
#include <cstdint>

namespace cw {

struct MediaTime {
    std::int64_t value { 0 };
    std::int32_t timescale { 0 };

    bool valid() const { return timescale > 0; }
    double seconds() const { return valid() ? static_cast<double>(value) / timescale : NAN; }

    // The nearest time to `seconds` that `timescale` can express.
    static MediaTime with_seconds(double seconds, std::int32_t timescale)
    {
        return { static_cast<std::int64_t>(std::llround(seconds * timescale)), timescale };
    }
    static constexpr MediaTime make(std::int64_t value, std::int32_t timescale) { return { value, timescale }; }
    static MediaTime invalid() { return {}; }

    // Exact comparison of two valid times; invalid is the greatest.
    friend int compare(MediaTime a, MediaTime b)
    {
        if (!a.valid() || !b.valid())
            return a.valid() == b.valid() ? 0 : (a.valid() ? -1 : 1);
        auto left = static_cast<long double>(a.value) * b.timescale;
        auto right = static_cast<long double>(b.value) * a.timescale;
        return left < right ? -1 : (left > right ? 1 : 0);
    }
    friend bool operator<(MediaTime a, MediaTime b) { return compare(a, b) < 0; }
    friend bool operator==(MediaTime a, MediaTime b) { return compare(a, b) == 0; }
};

}
