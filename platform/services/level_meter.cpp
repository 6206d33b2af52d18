#include "level_meter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <limits>

namespace cw {

LevelMeter::LevelMeter(int channels)
    : m_running(static_cast<size_t>(std::max(channels, 1)))
    , m_peaks_db(m_running.size(), silence_db)
{
}

// The largest magnitude is found on the samples' bit patterns. With the
// sign bit cleared, the patterns of floats order as unsigned integers the
// same way as their magnitudes, infinity included, and every pattern that
// is not a number sorts above infinity. So one integer maximum, which the
// compiler vectorises, finds both the peak and any broken sample.
static constexpr std::uint32_t magnitude_mask = 0x7fffffffu;
static constexpr std::uint32_t infinity_bits = 0x7f800000u;

static inline std::uint32_t largest_magnitude_bits(float const* samples, size_t count, size_t stride, std::uint32_t largest)
{
    for (size_t i = 0; i < count; i += stride) {
        std::uint32_t bits = std::bit_cast<std::uint32_t>(samples[i]) & magnitude_mask;
        largest = bits > largest ? bits : largest;
    }
    return largest;
}

void LevelMeter::take(std::span<float const> interleaved)
{
    size_t stride = m_running.size();
    size_t usable = interleaved.size() - interleaved.size() % stride;
    if (stride == 1) {
        m_running[0] = largest_magnitude_bits(interleaved.data(), usable, 1, m_running[0]);
        return;
    }
    for (size_t channel = 0; channel < stride && channel < usable; ++channel)
        m_running[channel] = largest_magnitude_bits(interleaved.data() + channel, usable - channel, stride, m_running[channel]);
}

void LevelMeter::update()
{
    for (size_t channel = 0; channel < m_running.size(); ++channel) {
        auto bits = m_running[channel];
        m_peaks_db[channel] = bits > infinity_bits ? std::numeric_limits<float>::quiet_NaN() : decibels(std::bit_cast<float>(bits));
        m_running[channel] = 0;
    }
}

float LevelMeter::peak_power(int channel) const
{
    if (channel < 0 || static_cast<size_t>(channel) >= m_peaks_db.size())
        return silence_db;
    return m_peaks_db[static_cast<size_t>(channel)];
}

float LevelMeter::decibels(float magnitude)
{
    if (std::isnan(magnitude))
        return magnitude;
    // Worked out in double so that exact powers of ten land on whole
    // decibels once narrowed.
    double db = 20.0 * std::log10(static_cast<double>(magnitude));
    if (!(db > silence_db))
        return silence_db;
    return static_cast<float>(db);
}

}
