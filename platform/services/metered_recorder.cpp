#include "metered_recorder.h"

#include <algorithm>
#include <cmath>

namespace cw {

// The platform's own limits are wider; these are what our sources can
// deliver.
static constexpr double max_sample_rate = 384000.0;
static constexpr int max_channels = 8;

std::optional<std::string> recorder_request_problem(std::string const& url, AudioRecorderSettings const& settings)
{
    if (url != null_device_url)
        return "recording is only possible to the null device (" + std::string(null_device_url) + "), not to \"" + url + "\"";
    if (!std::isfinite(settings.sample_rate) || settings.sample_rate < 1.0 || settings.sample_rate > max_sample_rate)
        return "the sample rate must be between 1 and 384000 Hz";
    if (settings.channels < 1 || settings.channels > max_channels)
        return "a recorder has 1 to 8 channels";
    if (settings.encoder_quality < 0 || settings.encoder_quality > max_encoder_quality)
        return "the encoder quality is between 0 and 127";
    return std::nullopt;
}

MeteredRecorder::MeteredRecorder(AudioRecorderSettings const& settings, std::unique_ptr<LevelSource> source)
    : m_settings(settings)
    , m_source(std::move(source))
    , m_peaks_db(static_cast<size_t>(std::max(settings.channels, 1)), silence_db)
{
}

MeteredRecorder::~MeteredRecorder()
{
    stop();
}

// Nothing to allocate: the sources open their input when recording starts.
bool MeteredRecorder::prepare_to_record()
{
    return true;
}

bool MeteredRecorder::record()
{
    if (m_recording)
        return true;
    if (auto problem = m_source->start()) {
        m_failure = *problem;
        return false;
    }
    m_failure.clear();
    m_recording = true;
    return true;
}

void MeteredRecorder::stop()
{
    if (!m_recording)
        return;
    m_source->stop();
    m_recording = false;
}

void MeteredRecorder::update_meters()
{
    if (m_metering && m_recording)
        m_source->read_peaks(m_peaks_db);
    else
        std::fill(m_peaks_db.begin(), m_peaks_db.end(), silence_db);
}

float MeteredRecorder::peak_power(int channel) const
{
    if (channel < 0 || static_cast<size_t>(channel) >= m_peaks_db.size())
        return silence_db;
    return m_peaks_db[static_cast<size_t>(channel)];
}

}
