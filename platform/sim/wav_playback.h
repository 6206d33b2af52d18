#pragma once

// A sound file as a microphone. The file plays while a recorder records,
// paced by a clock (the run loop's: virtual in tests, so what the meter
// hears at a given moment is always the same): each reading meters the
// samples that fall between the previous reading and now, and no others.
// Stopping pauses the file; the next start resumes where it paused. After
// the end the microphone hears silence, or the file again from the start
// when it loops.
//
// The meter sees the recorder's channels: a mono recorder hears the mix of
// the file's channels, as a mono input device would deliver it; a recorder
// with more channels than the file hears the file's last channel on the
// extra ones.

#include "platform/services/level_meter.h"
#include "platform/sim/wav_reader.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace cw::sim {

class WavPlayback {
public:
    WavPlayback(std::unique_ptr<WavReader>, bool loop);

    WavReader const& reader() const { return *m_reader; }

    void start(double now);
    void stop(double now);
    void read_peaks(double now, std::span<float> peaks_db);

private:
    std::int64_t due_frame(double now) const;
    // Plays the file up to frame `until`, through the meter when there is
    // one.
    void play_to(std::int64_t until, LevelMeter*);
    void feed(std::span<float const> frames, std::size_t count, LevelMeter&);

    std::unique_ptr<WavReader> m_reader;
    bool m_loop;
    bool m_running { false };
    // Frames played so far, across loops and pauses.
    std::int64_t m_played { 0 };
    // Where the current stretch of playing began, on the clock and on the
    // tape.
    double m_started_at { 0 };
    std::int64_t m_started_from { 0 };
    std::vector<float> m_buffer;
    std::vector<float> m_mixed;
    LevelMeter m_meter;
};

}
