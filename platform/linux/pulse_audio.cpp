#include "pulse_audio.h"

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/services/level_meter.h"
#include "platform/services/metered_recorder.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <cmath>
#include <future>
#include <limits>
#include <thread>
#include <vector>

namespace cw {

// A sound server has no session to claim: any client may capture at any
// time, so the category and the activation change nothing here.
class PulseAudioService::Session final : public AudioSession {
public:
    bool set_category(AudioCategory, std::string*) override { return true; }
    bool set_active(bool, std::string*) override { return true; }
};

namespace {

constexpr char client_name[] = "Cuewright";
constexpr char stream_name[] = "Voice scrolling";

// Where the capture thread's blocks land. Only the main thread touches it:
// the thread reaches it through tasks posted to the main queue.
//
// The thread delivers a block every tenth of a second and voice scrolling
// reads every tenth of a second. The two clocks drift against each other,
// so now and then a reading falls between two blocks. Such a reading
// repeats the previous one, once; a second empty reading in a row means
// the stream has stopped delivering, and reads as silence.
struct Inbox {
    explicit Inbox(int channels)
        : window(static_cast<size_t>(channels), LevelMeter::silence_db)
        , previous(window)
    {
    }

    void deliver(unsigned from_generation, std::vector<float> const& peaks)
    {
        if (from_generation != generation)
            return;
        for (size_t c = 0; c < window.size() && c < peaks.size(); ++c) {
            float a = window[c], b = peaks[c];
            window[c] = (std::isnan(a) || std::isnan(b)) ? std::numeric_limits<float>::quiet_NaN() : std::max(a, b);
        }
        ++blocks;
    }

    void read(std::span<float> out)
    {
        if (blocks > 0) {
            previous = window;
            held = false;
        } else if (!held) {
            held = true;
        } else {
            std::fill(previous.begin(), previous.end(), LevelMeter::silence_db);
        }
        for (size_t c = 0; c < out.size(); ++c)
            out[c] = c < previous.size() ? previous[c] : LevelMeter::silence_db;
        std::fill(window.begin(), window.end(), LevelMeter::silence_db);
        blocks = 0;
    }

    // A fresh start: nothing heard yet, and nothing late from an earlier
    // stream counts.
    void restart()
    {
        ++generation;
        std::fill(window.begin(), window.end(), LevelMeter::silence_db);
        std::fill(previous.begin(), previous.end(), LevelMeter::silence_db);
        blocks = 0;
        held = true;
    }

    std::vector<float> window;
    std::vector<float> previous;
    int blocks { 0 };
    bool held { true };
    unsigned generation { 0 };
};

struct StreamRequest {
    std::string server;
    std::string source;
    pa_sample_spec sample_format;
};

std::string pulse_problem(int error)
{
    return std::string("PulseAudio: ") + pa_strerror(error);
}

// The capture thread: opens the stream, says whether that worked, then
// meters block after block until asked to stop.
void capture(std::stop_token stop, StreamRequest request, std::promise<std::string> opened, RunLoop& loop, Log& log, std::shared_ptr<Inbox> inbox, unsigned generation)
{
    pa_buffer_attr attributes;
    attributes.maxlength = std::numeric_limits<uint32_t>::max();
    attributes.tlength = std::numeric_limits<uint32_t>::max();
    attributes.prebuf = std::numeric_limits<uint32_t>::max();
    attributes.minreq = std::numeric_limits<uint32_t>::max();
    attributes.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(static_cast<pa_usec_t>(PulseAudioService::block_seconds * 1e6), &request.sample_format));

    int error = 0;
    pa_simple* stream = pa_simple_new(request.server.empty() ? nullptr : request.server.c_str(), client_name, PA_STREAM_RECORD,
        request.source.empty() ? nullptr : request.source.c_str(), stream_name, &request.sample_format, nullptr, &attributes, &error);
    if (!stream) {
        opened.set_value(pulse_problem(error));
        return;
    }
    opened.set_value({});

    int channels = request.sample_format.channels;
    std::vector<float> block(static_cast<size_t>(attributes.fragsize) / sizeof(float));
    block.resize(block.size() - block.size() % static_cast<size_t>(channels));
    LevelMeter meter(channels);
    while (!stop.stop_requested()) {
        if (pa_simple_read(stream, block.data(), block.size() * sizeof(float), &error) < 0) {
            log.line("Voice scrolling lost the microphone: " + pulse_problem(error));
            break;
        }
        meter.take(block);
        meter.update();
        std::vector<float> peaks(static_cast<size_t>(channels));
        for (int c = 0; c < channels; ++c)
            peaks[static_cast<size_t>(c)] = meter.peak_power(c);
        loop.post([inbox, generation, peaks = std::move(peaks)] { inbox->deliver(generation, peaks); });
    }
    pa_simple_free(stream);
}

class PulseLevelSource final : public LevelSource {
public:
    PulseLevelSource(RunLoop& loop, Log& log, StreamRequest request)
        : m_loop(loop)
        , m_log(log)
        , m_request(std::move(request))
        , m_inbox(std::make_shared<Inbox>(m_request.sample_format.channels))
    {
    }

    // Blocks until the server has answered: a refusal belongs to this start.
    std::optional<std::string> start() override
    {
        m_finishing = {};
        m_inbox->restart();
        std::promise<std::string> opened;
        auto answer = opened.get_future();
        m_thread = std::jthread(capture, m_request, std::move(opened), std::ref(m_loop), std::ref(m_log), m_inbox, m_inbox->generation);
        auto problem = answer.get();
        if (problem.empty())
            return std::nullopt;
        m_thread = {};
        return problem;
    }

    // The thread sees the request after its current block, at most a tenth
    // of a second later; it is joined at the next start or at the end
    // rather than waited for here.
    void stop() override
    {
        m_thread.request_stop();
        m_finishing = std::move(m_thread);
        m_inbox->restart();
    }

    void read_peaks(std::span<float> peaks_db) override { m_inbox->read(peaks_db); }

private:
    RunLoop& m_loop;
    Log& m_log;
    StreamRequest m_request;
    std::shared_ptr<Inbox> m_inbox;
    std::jthread m_thread;
    std::jthread m_finishing;
};

}

PulseAudioService::PulseAudioService(RunLoop& loop, Log& log, PulseAudioOptions options)
    : m_loop(loop)
    , m_log(log)
    , m_options(std::move(options))
    , m_session(std::make_unique<Session>())
{
}

PulseAudioService::~PulseAudioService() = default;

AudioSession& PulseAudioService::shared_session()
{
    return *m_session;
}

std::unique_ptr<AudioRecorder> PulseAudioService::make_recorder(std::string const& url, AudioRecorderSettings const& settings, std::string& error)
{
    if (auto problem = recorder_request_problem(url, settings)) {
        error = *problem;
        return nullptr;
    }
    pa_sample_spec sample_format {};
    sample_format.format = PA_SAMPLE_FLOAT32NE;
    sample_format.rate = static_cast<uint32_t>(std::lround(settings.sample_rate));
    sample_format.channels = static_cast<uint8_t>(settings.channels);
    if (!pa_sample_spec_valid(&sample_format)) {
        error = "PulseAudio cannot capture " + std::to_string(sample_format.rate) + " Hz with " + std::to_string(settings.channels) + " channels";
        return nullptr;
    }
    StreamRequest request { m_options.server, m_options.source, sample_format };
    return std::make_unique<MeteredRecorder>(settings, std::make_unique<PulseLevelSource>(m_loop, m_log, std::move(request)));
}

}
