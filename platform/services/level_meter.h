#pragma once

// The peak level meter behind every audio recorder we have.
//
// Samples come in as floats, 1.0 being full scale, interleaved when there
// is more than one channel. The meter keeps the largest magnitude of each
// channel until `update` ends the window; the window's reading is then
// 20 * log10(peak) in dBFS. There is no smoothing, no hold and no decay:
// each window stands alone, so one quiet window reads quiet.
//
// Digital silence has no logarithm; it and everything quieter than
// -160 dBFS (an amplitude of 1e-8, far below any real input's noise) reads
// as -160. Louder than full scale reads above 0. A window that held a
// sample that is not a number reads as not a number: the input is broken,
// and the caller decides what that means (voice scrolling treats it as
// quiet). A window with no samples at all reads as silence.

#include <cstdint>
#include <span>
#include <vector>

namespace cw {

class LevelMeter {
public:
    static constexpr float silence_db = -160.0f;

    explicit LevelMeter(int channels = 1);

    int channels() const { return static_cast<int>(m_peaks_db.size()); }

    // Whole frames of `channels()` interleaved samples; a trailing partial
    // frame is ignored.
    void take(std::span<float const> interleaved);
    // Ends the window.
    void update();
    // The reading of the last window ended; silence for a channel the
    // meter does not have.
    float peak_power(int channel) const;

    // The dBFS of a peak magnitude, floored at `silence_db`.
    static float decibels(float magnitude);

private:
    // Per channel, the bit pattern of the largest magnitude so far in the
    // window (see take()).
    std::vector<std::uint32_t> m_running;
    std::vector<float> m_peaks_db;
};

}
