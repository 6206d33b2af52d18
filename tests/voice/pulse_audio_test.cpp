// The microphone through a real sound server. Each test that needs one
// starts a private PulseAudio daemon with a null sink; the test plays a
// tone into the sink and records the sink's monitor, as if the monitor
// were a microphone. Every wait is for data to arrive, bounded only so that
// a broken server fails the test instead of hanging it.

#include "tests/voice/wav_files.h"

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/linux/pulse_audio.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <gtest/gtest.h>

#include <mutex>
#include <cmath>
#include <functional>
#include <numbers>
#include <thread>

namespace cw::testing {
namespace {

constexpr double give_up_seconds = 20.0;

// Plays a sine tone into a sink until destroyed.
class TonePlayer {
public:
    TonePlayer(std::string const& server, char const* sink, float amplitude)
    {
        m_thread = std::jthread([=, this](std::stop_token stop) {
            pa_sample_spec format { PA_SAMPLE_FLOAT32NE, 44100, 1 };
            pa_buffer_attr attributes;
            attributes.maxlength = attributes.prebuf = attributes.minreq = static_cast<uint32_t>(-1);
            attributes.fragsize = static_cast<uint32_t>(-1);
            attributes.tlength = static_cast<uint32_t>(pa_usec_to_bytes(50000, &format));
            int error = 0;
            pa_simple* stream = pa_simple_new(server.c_str(), "cuewright-test", PA_STREAM_PLAYBACK, sink, "tone", &format, nullptr, &attributes, &error);
            if (!stream) {
                set_problem(pa_strerror(error));
                return;
            }
            std::vector<float> chunk(441);
            long n = 0;
            while (!stop.stop_requested()) {
                for (auto& sample : chunk)
                    sample = amplitude * static_cast<float>(std::sin(2 * std::numbers::pi * 440.0 * static_cast<double>(n++) / 44100.0));
                if (pa_simple_write(stream, chunk.data(), chunk.size() * sizeof(float), &error) < 0) {
                    set_problem(pa_strerror(error));
                    break;
                }
            }
            pa_simple_flush(stream, &error);
            pa_simple_free(stream);
        });
    }
    std::string problem() const
    {
        std::lock_guard lock(m_mutex);
        return m_problem;
    }

private:
    void set_problem(std::string text)
    {
        std::lock_guard lock(m_mutex);
        m_problem = std::move(text);
    }

    mutable std::mutex m_mutex;
    std::string m_problem;
    std::jthread m_thread;
};

class PulseServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!have_program("pulseaudio"))
            GTEST_SKIP() << "needs pulseaudio";
        ASSERT_FALSE(folder.path().empty());
        env = "env HOME=" + folder.path() + " XDG_RUNTIME_DIR=" + folder.path() + " PULSE_RUNTIME_PATH=" + folder.path() + " ";
        server = "unix:" + folder.file("native");
        // Daemonising returns once the server is ready for clients.
        bool started = run_quietly(env + "pulseaudio --daemonize=yes --exit-idle-time=-1 -n --system=no --use-pid-file=yes -F /dev/null"
            + " --load='module-native-protocol-unix socket=" + folder.file("native") + " auth-anonymous=1'"
            + " --load='module-null-sink sink_name=voice'"
            + " --log-target=file:" + folder.file("server.log"));
        if (!started)
            GTEST_SKIP() << "pulseaudio is installed but would not start here";
        running = true;
        log.add_sink(captured);
    }

    void TearDown() override
    {
        recorder.reset();
        if (running)
            run_quietly(env + "pulseaudio --kill");
    }

    std::unique_ptr<AudioRecorder> make_recorder(std::string const& source, std::string const& on_server)
    {
        service = std::make_unique<PulseAudioService>(loop, log, PulseAudioOptions { on_server, source });
        std::string error;
        auto made = service->make_recorder(null_device_url, { AudioFormat::Lossless, 44100.0, 1, 127 }, error);
        EXPECT_TRUE(made) << error;
        if (made)
            made->set_metering_enabled(true);
        return made;
    }

    // One thing to wait for: a reading that satisfies `wanted`, and what
    // to do once it came.
    struct Step {
        char const* waiting_for;
        std::function<bool(float)> wanted;
        std::function<void(float)> then;
    };

    // Runs the main loop once (a real loop cannot be run again after it
    // quits), reading the meter after every turn, and works through the
    // steps in order. Answers the steps that did not come about before the
    // server went quiet for good.
    std::vector<std::string> run_steps(std::vector<Step> steps)
    {
        size_t next = 0;
        auto reader = loop.add_turn_end_hook([&] {
            if (next >= steps.size())
                return;
            recorder->update_meters();
            float level = recorder->peak_power(0);
            if (!steps[next].wanted(level))
                return;
            if (steps[next].then)
                steps[next].then(level);
            if (++next == steps.size())
                loop.quit();
        });
        auto give_up = loop.schedule_timer(give_up_seconds, false, LoopMode::Common, [&] { loop.quit(); });
        loop.run();
        std::vector<std::string> missing;
        for (size_t i = next; i < steps.size(); ++i)
            missing.push_back(steps[i].waiting_for);
        return missing;
    }

    ScratchFolder folder;
    std::string env;
    std::string server;
    bool running { false };
    RunLoop loop { RunLoop::Time::Real };
    Log log;
    std::shared_ptr<CapturedLogSink> captured { std::make_shared<CapturedLogSink>() };
    std::unique_ptr<PulseAudioService> service;
    std::unique_ptr<AudioRecorder> recorder;
};

TEST_F(PulseServer, MetersWhatTheSourceHearsAndSilenceAfterIt)
{
    recorder = make_recorder("voice.monitor", server);
    ASSERT_TRUE(recorder);
    ASSERT_TRUE(recorder->record()) << recorder->failure();
    EXPECT_TRUE(recorder->is_recording());

    auto tone = std::make_unique<TonePlayer>(server, "voice", 0.5f);
    auto loud = [](float db) { return db > -25.0f; };
    auto missing = run_steps({
        { "the tone at half of full scale", loud, [&](float db) {
             EXPECT_NEAR(db, -6.02f, 0.5f);
             tone.reset();
         } },
        { "silence once the tone stopped", [](float db) { return db == -160.0f; }, [&](float) {
             // Stopped and started again, the same recorder hears again.
             recorder->stop();
             EXPECT_FALSE(recorder->is_recording());
             recorder->update_meters();
             EXPECT_EQ(recorder->peak_power(0), -160.0f);
             EXPECT_TRUE(recorder->record()) << recorder->failure();
             tone = std::make_unique<TonePlayer>(server, "voice", 0.1f);
         } },
        { "a quieter tone after a restart", loud, [&](float db) { EXPECT_NEAR(db, -20.0f, 0.5f); } },
    });
    EXPECT_TRUE(missing.empty()) << "never came: " << missing.front() << (tone ? "; " + tone->problem() : std::string());
}

TEST_F(PulseServer, ASourceThatIsNotThereIsRefusedWithAReason)
{
    recorder = make_recorder("no-such-microphone", server);
    ASSERT_TRUE(recorder);
    EXPECT_FALSE(recorder->record());
    EXPECT_FALSE(recorder->is_recording());
    EXPECT_NE(recorder->failure().find("PulseAudio: "), std::string::npos) << recorder->failure();
    recorder->update_meters();
    EXPECT_EQ(recorder->peak_power(0), -160.0f);
}

// No daemon needed: there is none at this address.
TEST(PulseAudio, NoServerIsRefusedWithAReason)
{
    ScratchFolder folder;
    RunLoop loop;
    Log log;
    PulseAudioService service(loop, log, { "unix:" + folder.file("nobody-listens"), "" });
    std::string error;
    auto recorder = service.make_recorder(null_device_url, { AudioFormat::Lossless, 44100.0, 1, 127 }, error);
    ASSERT_TRUE(recorder) << error;
    recorder->set_metering_enabled(true);
    EXPECT_FALSE(recorder->record());
    EXPECT_EQ(recorder->failure(), "PulseAudio: Connection refused");
    recorder->update_meters();
    EXPECT_EQ(recorder->peak_power(0), -160.0f);
}

TEST(PulseAudio, RecordsOnlyToTheNullDevice)
{
    RunLoop loop;
    Log log;
    PulseAudioService service(loop, log);
    std::string error;
    EXPECT_FALSE(service.make_recorder("file:///tmp/take.caf", {}, error));
    EXPECT_NE(error.find("only possible to the null device"), std::string::npos) << error;
    EXPECT_FALSE(service.make_recorder(null_device_url, { AudioFormat::Lossless, 44100.0, 0, 127 }, error));
    EXPECT_FALSE(service.make_recorder(null_device_url, { AudioFormat::Lossless, NAN, 1, 127 }, error));
    EXPECT_TRUE(service.make_recorder(null_device_url, {}, error));
}

}
}
