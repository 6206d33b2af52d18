#include "sim_audio.h"

#include "platform/foundation/run_loop.h"
#include "platform/services/metered_recorder.h"
#include "platform/sim/wav_playback.h"

#include <algorithm>

namespace cw::sim {

bool SimAudioSession::set_category(AudioCategory category, std::string*)
{
    m_category = category;
    return true;
}

bool SimAudioSession::set_active(bool active, std::string*)
{
    if (active && !m_active)
        ++m_activations;
    m_active = active;
    return true;
}

// What every recorder of one device listens to.
struct SimAudio::Microphone {
    RunLoop* clock { nullptr };
    std::deque<float> scripted;
    float level { AudioRecorder::silence_db };
    std::unique_ptr<WavPlayback> file;
    std::string refuse_input;
    int listening { 0 };
    int meter_updates { 0 };

    double now() const { return clock ? clock->now() : 0.0; }
};

namespace {

class SimLevelSource final : public LevelSource {
public:
    explicit SimLevelSource(std::shared_ptr<SimAudio::Microphone> microphone)
        : m_microphone(std::move(microphone))
    {
    }

    std::optional<std::string> start() override
    {
        auto& mic = *m_microphone;
        if (!mic.refuse_input.empty())
            return mic.refuse_input;
        if (mic.file)
            mic.file->start(mic.now());
        ++mic.listening;
        return std::nullopt;
    }

    void stop() override
    {
        auto& mic = *m_microphone;
        if (--mic.listening == 0 && mic.file)
            mic.file->stop(mic.now());
    }

    void read_peaks(std::span<float> peaks_db) override
    {
        auto& mic = *m_microphone;
        ++mic.meter_updates;
        if (mic.file) {
            mic.file->read_peaks(mic.now(), peaks_db);
            return;
        }
        if (!mic.scripted.empty()) {
            mic.level = mic.scripted.front();
            mic.scripted.pop_front();
        }
        std::fill(peaks_db.begin(), peaks_db.end(), mic.level);
    }

private:
    std::shared_ptr<SimAudio::Microphone> m_microphone;
};

}

SimAudio::SimAudio()
    : m_microphone(std::make_shared<Microphone>())
{
}

SimAudio::~SimAudio() = default;

std::unique_ptr<AudioRecorder> SimAudio::make_recorder(std::string const& url, AudioRecorderSettings const& settings, std::string& error)
{
    if (!m_refuse_recorders.empty()) {
        error = m_refuse_recorders;
        return nullptr;
    }
    if (auto problem = recorder_request_problem(url, settings)) {
        error = *problem;
        return nullptr;
    }
    ++m_recorders_made;
    return std::make_unique<MeteredRecorder>(settings, std::make_unique<SimLevelSource>(m_microphone));
}

void SimAudio::use_clock(RunLoop& loop)
{
    m_microphone->clock = &loop;
}

void SimAudio::set_level(float db)
{
    script_levels({ db });
}

void SimAudio::script_levels(std::vector<float> db)
{
    auto& mic = *m_microphone;
    mic.file.reset();
    mic.scripted.assign(db.begin(), db.end());
}

bool SimAudio::play_wav_file(std::string const& path, bool loop, std::string& error)
{
    auto reader = WavReader::open(path, error);
    if (!reader)
        return false;
    auto& mic = *m_microphone;
    mic.scripted.clear();
    mic.file = std::make_unique<WavPlayback>(std::move(reader), loop);
    // A file chosen while someone listens starts playing at once.
    if (mic.listening > 0)
        mic.file->start(mic.now());
    return true;
}

std::optional<double> SimAudio::wav_duration() const
{
    if (!m_microphone->file)
        return std::nullopt;
    return m_microphone->file->reader().duration();
}

void SimAudio::refuse_recorders(std::string reason)
{
    m_refuse_recorders = std::move(reason);
}

void SimAudio::refuse_input(std::string reason)
{
    m_microphone->refuse_input = std::move(reason);
}

int SimAudio::meter_updates() const
{
    return m_microphone->meter_updates;
}

bool SimAudio::listening() const
{
    return m_microphone->listening > 0;
}

}
