#include "wav_playback.h"

#include <algorithm>
#include <cmath>

namespace cw::sim {

static constexpr std::size_t chunk_frames = 4096;

WavPlayback::WavPlayback(std::unique_ptr<WavReader> reader, bool loop)
    : m_reader(std::move(reader))
    , m_loop(loop)
{
}

void WavPlayback::start(double now)
{
    if (m_running)
        return;
    m_running = true;
    m_started_at = now;
    m_started_from = m_played;
}

// What played while nobody read the meter is skipped, not saved for later.
void WavPlayback::stop(double now)
{
    if (!m_running)
        return;
    play_to(due_frame(now), nullptr);
    m_running = false;
}

std::int64_t WavPlayback::due_frame(double now) const
{
    double elapsed = std::max(now - m_started_at, 0.0);
    return m_started_from + std::llround(elapsed * m_reader->sample_rate());
}

void WavPlayback::read_peaks(double now, std::span<float> peaks_db)
{
    if (m_meter.channels() != static_cast<int>(peaks_db.size()))
        m_meter = LevelMeter(static_cast<int>(peaks_db.size()));
    if (m_running)
        play_to(due_frame(now), &m_meter);
    m_meter.update();
    for (std::size_t channel = 0; channel < peaks_db.size(); ++channel)
        peaks_db[channel] = m_meter.peak_power(static_cast<int>(channel));
}

void WavPlayback::play_to(std::int64_t until, LevelMeter* meter)
{
    auto channels = static_cast<std::size_t>(m_reader->channels());
    m_buffer.resize(chunk_frames * channels);
    while (m_played < until) {
        auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(until - m_played, chunk_frames));
        std::size_t got = m_reader->read(std::span(m_buffer).first(wanted * channels));
        if (got == 0) {
            if (!m_loop || m_reader->frames() == 0) {
                // Silence from here on: nothing more to meter.
                m_played = until;
                return;
            }
            m_reader->rewind();
            continue;
        }
        if (meter)
            feed(m_buffer, got, *meter);
        m_played += static_cast<std::int64_t>(got);
    }
}

void WavPlayback::feed(std::span<float const> frames, std::size_t count, LevelMeter& meter)
{
    auto in_channels = static_cast<std::size_t>(m_reader->channels());
    auto out_channels = static_cast<std::size_t>(meter.channels());
    if (in_channels == out_channels) {
        meter.take(frames.first(count * in_channels));
        return;
    }
    m_mixed.resize(count * out_channels);
    for (std::size_t frame = 0; frame < count; ++frame) {
        float const* in = frames.data() + frame * in_channels;
        float* out = m_mixed.data() + frame * out_channels;
        if (out_channels == 1) {
            float sum = 0;
            for (std::size_t c = 0; c < in_channels; ++c)
                sum += in[c];
            out[0] = sum / static_cast<float>(in_channels);
        } else {
            for (std::size_t c = 0; c < out_channels; ++c)
                out[c] = in[std::min(c, in_channels - 1)];
        }
    }
    meter.take(m_mixed);
}

}
