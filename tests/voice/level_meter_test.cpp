// The level meter, the WAV reader and a WAV file played as a microphone.

#include "tests/voice/wav_files.h"

#include "platform/services/level_meter.h"
#include "platform/sim/wav_playback.h"
#include "platform/sim/wav_reader.h"

#include <gtest/gtest.h>

#include <limits>
#include <numbers>

namespace cw::testing {
namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

struct MeterCase {
    char const* name;
    std::vector<float> samples;
    float expected_db;
};

TEST(LevelMeter, ReadsThePeakMagnitudeOfAWindowInDecibels)
{
    MeterCase const cases[] = {
        { "full scale", { 0.2f, 1.0f, -0.3f }, 0.0f },
        { "a negative peak counts by its size", { 0.1f, -0.5f, 0.25f }, -6.0206f },
        { "one tenth", { 0.1f }, -20.0f },
        { "one hundredth", { -0.01f, 0.005f }, -40.0f },
        { "digital silence", { 0.0f, -0.0f, 0.0f }, -160.0f },
        { "below the floor", { 1e-9f }, -160.0f },
        { "just above the floor", { 1e-7f }, -140.0f },
        { "an empty window", {}, -160.0f },
        { "louder than full scale", { 2.0f }, 6.0206f },
    };
    for (auto const& c : cases) {
        LevelMeter meter;
        meter.take(c.samples);
        meter.update();
        EXPECT_NEAR(meter.peak_power(0), c.expected_db, 1e-3) << c.name;
    }
}

TEST(LevelMeter, ExactPowersOfTenLandOnWholeDecibels)
{
    // Voice scrolling compares with -25 exactly, so the conversion must
    // not wobble around whole values.
    for (int db : { 0, -20, -40, -60, -120 }) {
        LevelMeter meter;
        float magnitude = static_cast<float>(std::pow(10.0, db / 20.0));
        meter.take(std::vector<float> { magnitude });
        meter.update();
        EXPECT_FLOAT_EQ(meter.peak_power(0), static_cast<float>(db)) << db;
    }
}

TEST(LevelMeter, AWindowWithABrokenSampleReadsAsNotANumber)
{
    for (auto samples : { std::vector<float> { nan }, std::vector<float> { 0.9f, nan, 0.1f }, std::vector<float> { nan, 0.9f } }) {
        LevelMeter meter;
        meter.take(samples);
        meter.update();
        EXPECT_TRUE(std::isnan(meter.peak_power(0)));
        // The next window is judged on its own.
        meter.take(std::vector<float> { 0.1f });
        meter.update();
        EXPECT_FLOAT_EQ(meter.peak_power(0), -20.0f);
    }
    LevelMeter meter;
    meter.take(std::vector<float> { -inf });
    meter.update();
    EXPECT_EQ(meter.peak_power(0), inf);
}

TEST(LevelMeter, EachWindowStandsAloneWithNoSmoothing)
{
    LevelMeter meter;
    meter.take(std::vector<float> { 1.0f });
    meter.update();
    EXPECT_FLOAT_EQ(meter.peak_power(0), 0.0f);
    meter.update();
    EXPECT_FLOAT_EQ(meter.peak_power(0), -160.0f) << "nothing heard since the last update";
    // Blocks within one window add up to one peak.
    meter.take(std::vector<float> { 0.01f });
    meter.take(std::vector<float> { 0.1f });
    meter.take(std::vector<float> { 0.001f });
    meter.update();
    EXPECT_FLOAT_EQ(meter.peak_power(0), -20.0f);
}

TEST(LevelMeter, KeepsInterleavedChannelsApart)
{
    LevelMeter meter(2);
    // Left quiet, right loud; the trailing half frame is not a frame.
    meter.take(std::vector<float> { 0.01f, 1.0f, -0.001f, -0.5f, 0.9f });
    meter.update();
    EXPECT_FLOAT_EQ(meter.peak_power(0), -40.0f);
    EXPECT_FLOAT_EQ(meter.peak_power(1), 0.0f);
    EXPECT_FLOAT_EQ(meter.peak_power(2), -160.0f) << "a channel the meter does not have";
    EXPECT_FLOAT_EQ(meter.peak_power(-1), -160.0f);
}

// --- Reading WAV files ------------------------------------------------------

class WavFiles : public ::testing::Test {
protected:
    std::string write(std::string const& name, WavFormat const& format, std::vector<float> const& samples)
    {
        auto path = folder.file(name);
        write_file(path, wav_bytes(format, samples));
        return path;
    }

    ScratchFolder folder;
};

TEST_F(WavFiles, ReadsTheSupportedEncodingsAsFullScaleFloats)
{
    struct Case {
        char const* name;
        WavFormat format;
    };
    Case const cases[] = {
        { "16-bit mono", { 1, 8000, WavEncoding::Int16 } },
        { "16-bit stereo", { 2, 22050, WavEncoding::Int16 } },
        { "float mono", { 1, 48000, WavEncoding::Float32 } },
        { "float stereo, extensible", { 2, 44100, WavEncoding::Float32, true } },
        { "16-bit, extensible", { 1, 16000, WavEncoding::Int16, true } },
        { "size left open by a streaming writer", { 1, 8000, WavEncoding::Int16, false, true } },
        { "an odd-sized chunk before the format", { 1, 8000, WavEncoding::Int16, false, false, true } },
    };
    std::vector<float> samples { 0.5f, -0.5f, 0.25f, -1.0f, 0.0f, 0.125f };
    for (auto const& c : cases) {
        std::string error;
        auto reader = sim::WavReader::open(write("a.wav", c.format, samples), error);
        ASSERT_TRUE(reader) << c.name << ": " << error;
        EXPECT_EQ(reader->channels(), c.format.channels) << c.name;
        EXPECT_EQ(reader->sample_rate(), c.format.rate) << c.name;
        EXPECT_EQ(reader->frames(), static_cast<std::int64_t>(samples.size()) / c.format.channels) << c.name;
        std::vector<float> out(samples.size() + 4, 9.0f);
        EXPECT_EQ(reader->read(out), samples.size() / static_cast<size_t>(c.format.channels)) << c.name;
        for (size_t i = 0; i < samples.size(); ++i)
            EXPECT_EQ(out[i], samples[i]) << c.name << " sample " << i;
        EXPECT_EQ(reader->read(out), 0u) << c.name << ": the end";
        reader->rewind();
        EXPECT_EQ(reader->read(std::span(out).first(2 * static_cast<size_t>(c.format.channels))), 2u) << c.name;
        EXPECT_EQ(out[0], samples[0]) << c.name;
    }
}

TEST_F(WavFiles, RefusesWhatItCannotPlayAndSaysWhy)
{
    auto good = wav_bytes({}, { 0.5f, 0.5f });
    struct Case {
        char const* name;
        std::string bytes;
        char const* reason;
    };
    auto with_bits = good;
    with_bits[34] = 24; // bits per sample
    auto not_wave = good;
    not_wave[8] = 'X';
    Case const cases[] = {
        { "empty", "", "no RIFF/WAVE header" },
        { "not a WAVE", not_wave, "no RIFF/WAVE header" },
        { "24-bit samples", with_bits, "only 16-bit integer and 32-bit float" },
        { "cut off before the data", good.substr(0, 36), "no data chunk" },
        { "cut off inside the format", good.substr(0, 24), "the format chunk is too short" },
    };
    for (auto const& c : cases) {
        auto path = folder.file("bad.wav");
        write_file(path, c.bytes);
        std::string error;
        EXPECT_FALSE(sim::WavReader::open(path, error)) << c.name;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
        EXPECT_NE(error.find(path), std::string::npos) << c.name << ": names the file";
    }
    std::string error;
    EXPECT_FALSE(sim::WavReader::open(folder.file("missing.wav"), error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

TEST_F(WavFiles, DataCutShortReadsUpToTheLastWholeFrame)
{
    auto bytes = wav_bytes({ 2, 8000 }, { 0.5f, 0.5f, 0.25f, 0.25f });
    bytes.resize(bytes.size() - 1);
    write_file(folder.file("short.wav"), bytes);
    std::string error;
    auto reader = sim::WavReader::open(folder.file("short.wav"), error);
    ASSERT_TRUE(reader) << error;
    EXPECT_EQ(reader->frames(), 1);
}

// --- A WAV file as a microphone -------------------------------------------

// One second at 100 Hz sampling: ten samples loud (0.5), ten quiet
// (1/1024, which 16 bits hold exactly), and so on, ten stretches of a
// tenth of a second each.
std::vector<float> stripes(int stretches = 10, int channels = 1)
{
    std::vector<float> samples;
    for (int s = 0; s < stretches; ++s)
        for (int i = 0; i < 10 * channels; ++i)
            samples.push_back(s % 2 == 0 ? 0.5f : 1.0f / 1024);
    return samples;
}

constexpr float loud = -6.0206f;
constexpr float quiet = -60.206f;

class Playback : public WavFiles {
protected:
    sim::WavPlayback play(std::vector<float> const& samples, bool loop = false, WavFormat format = { 1, 100 })
    {
        std::string error;
        auto reader = sim::WavReader::open(write("stripes.wav", format, samples), error);
        EXPECT_TRUE(reader) << error;
        return sim::WavPlayback(std::move(reader), loop);
    }
    float read(sim::WavPlayback& playback, double now)
    {
        float peak = 0;
        playback.read_peaks(now, std::span(&peak, 1));
        return peak;
    }
};

TEST_F(Playback, EachReadingMetersExactlyTheTimeSinceThePreviousOne)
{
    auto playback = play(stripes());
    playback.start(5.0);
    for (int k = 1; k <= 10; ++k)
        EXPECT_NEAR(read(playback, 5.0 + 0.1 * k), k % 2 == 1 ? loud : quiet, 1e-3) << "stretch " << k;
    EXPECT_FLOAT_EQ(read(playback, 6.1), -160.0f) << "after the end: silence";
}

TEST_F(Playback, AReadingThatSpansStretchesTakesTheirPeak)
{
    auto playback = play(stripes());
    playback.start(0);
    EXPECT_NEAR(read(playback, 0.15), loud, 1e-3);
    EXPECT_NEAR(read(playback, 0.2), quiet, 1e-3);
    EXPECT_NEAR(read(playback, 0.2), -160.0f, 1e-3) << "no time passed";
    EXPECT_NEAR(read(playback, 0.5), loud, 1e-3);
}

TEST_F(Playback, StoppingPausesTheFileUntilTheNextStart)
{
    auto playback = play(stripes());
    playback.start(0);
    EXPECT_NEAR(read(playback, 0.1), loud, 1e-3);
    playback.stop(0.15);
    EXPECT_FLOAT_EQ(read(playback, 3.0), -160.0f) << "nothing plays while stopped";
    playback.start(10.0);
    // Half of the quiet stretch was played (unheard) before the stop.
    EXPECT_NEAR(read(playback, 10.05), quiet, 1e-3);
    EXPECT_NEAR(read(playback, 10.15), loud, 1e-3);
}

TEST_F(Playback, ALoopingFileStartsOverAtItsEnd)
{
    auto playback = play(stripes(2), true);
    playback.start(0);
    for (int k = 1; k <= 6; ++k)
        EXPECT_NEAR(read(playback, 0.1 * k), k % 2 == 1 ? loud : quiet, 1e-3) << "stretch " << k;
}

TEST_F(Playback, AMonoRecorderHearsTheMixOfAStereoFile)
{
    // Left loud, right silent: the mix is half as loud as the left.
    std::vector<float> samples;
    for (int i = 0; i < 10; ++i)
        samples.insert(samples.end(), { 0.5f, 0.0f });
    auto playback = play(samples, false, { 2, 100 });
    playback.start(0);
    EXPECT_NEAR(read(playback, 0.1), -12.0412f, 1e-3);

    auto stereo = play(samples, false, { 2, 100 });
    stereo.start(0);
    float peaks[2];
    stereo.read_peaks(0.1, peaks);
    EXPECT_NEAR(peaks[0], loud, 1e-3);
    EXPECT_FLOAT_EQ(peaks[1], -160.0f);
}

}
}
