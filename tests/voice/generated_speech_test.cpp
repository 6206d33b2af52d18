// Voice scrolling on real speech: the system's speech synthesiser speaks a
// sentence, the sound tools add two seconds of silence and the sentence
// again, and the prompter's simulated microphone plays the result at the
// pace of the virtual clock. Skipped where the tools are not installed.

#include "tests/prompter/prompter_fixture.h"
#include "tests/voice/wav_files.h"

#include "platform/sim/wav_reader.h"

#include <algorithm>
#include <cmath>

namespace cw::testing {
namespace {

constexpr char sentence[] = "Good evening, and welcome. Tonight we look back at a remarkable year.";
constexpr double silence_seconds = 2.0;

class GeneratedSpeech : public PrompterTest {
protected:
    void SetUp() override
    {
        if (!have_program("espeak-ng") || !have_program("sox"))
            GTEST_SKIP() << "needs espeak-ng and sox";
        ASSERT_FALSE(folder.path().empty());
        auto raw = folder.file("raw.wav");
        auto speech = folder.file("speech.wav");
        auto silence = folder.file("silence.wav");
        session = folder.file("session.wav");
        ASSERT_TRUE(run_quietly("espeak-ng -w " + raw + " '" + sentence + "'"));
        ASSERT_TRUE(run_quietly("sox " + raw + " -r 22050 -c 1 -b 16 " + speech));
        ASSERT_TRUE(run_quietly("sox -n -r 22050 -c 1 -b 16 " + silence + " trim 0 " + std::to_string(silence_seconds)));
        ASSERT_TRUE(run_quietly("sox " + speech + " " + silence + " " + speech + " " + session));

        std::string error;
        auto reader = sim::WavReader::open(speech, error);
        ASSERT_TRUE(reader) << error;
        speech_seconds = reader->duration();
        ASSERT_GT(speech_seconds, 1.0) << "the synthesiser said too little";
    }

    // The peak of each tenth of a second of the session, worked out
    // directly from the file's samples.
    std::vector<float> reference_levels()
    {
        std::string error;
        auto reader = sim::WavReader::open(session, error);
        EXPECT_TRUE(reader) << error;
        std::vector<float> samples(static_cast<size_t>(reader->frames()));
        reader->read(samples);
        std::vector<float> levels;
        double rate = reader->sample_rate();
        for (int k = 1;; ++k) {
            auto from = static_cast<size_t>(std::llround((k - 1) * VoiceScroll::sampling_interval_seconds * rate));
            auto to = std::min(samples.size(), static_cast<size_t>(std::llround(k * VoiceScroll::sampling_interval_seconds * rate)));
            if (from >= samples.size())
                return levels;
            float peak = 0;
            for (size_t i = from; i < to; ++i)
                peak = std::max(peak, std::fabs(samples[i]));
            levels.push_back(peak > 0 ? static_cast<float>(20.0 * std::log10(peak)) : -160.0f);
        }
    }

    ScratchFolder folder;
    std::string session;
    double speech_seconds { 0 };
};

TEST_F(GeneratedSpeech, TheTextMovesWhileTheSpeakerSpeaksAndHaltsInTheSilence)
{
    auto& screen = open(ScriptSeed { .text = long_text(), .voice = true });
    std::string error;
    ASSERT_TRUE(device->platform().audio->play_wav_file(session, false, error)) << error;
    ASSERT_TRUE(device->tap("startButton"));

    auto expected = reference_levels();
    auto& text = *screen.ScriptTextView;
    std::vector<double> offsets;
    int moving_in_speech = 0, samples_in_speech = 0;
    for (size_t k = 1; k <= expected.size(); ++k) {
        loop.advance(VoiceScroll::sampling_interval_seconds);
        bool loud = expected[k - 1] > VoiceScroll::threshold_db;
        bool moving = screen.engine().has_tick_source();
        EXPECT_EQ(moving, loud) << "sample " << k << " at " << expected[k - 1] << " dBFS";
        offsets.push_back(text.content_offset().y);

        double window_end = static_cast<double>(k) * VoiceScroll::sampling_interval_seconds;
        if (window_end <= speech_seconds) {
            ++samples_in_speech;
            moving_in_speech += moving;
        }
        // A window wholly inside the silence between the two sentences.
        bool silent_window = window_end - VoiceScroll::sampling_interval_seconds >= speech_seconds - 1e-9
            && window_end <= speech_seconds + silence_seconds + 1e-9;
        if (silent_window) {
            EXPECT_FALSE(moving) << "sample " << k << " falls in the silence";
        }
    }

    EXPECT_GT(moving_in_speech, samples_in_speech / 2) << "speech keeps the text moving most of the time";

    // The first sample whose window starts in the silence, and the last
    // one whose window ends in it.
    double per_sample = VoiceScroll::sampling_interval_seconds;
    auto first_silent = static_cast<size_t>(std::ceil(speech_seconds / per_sample - 1e-9)) + 1;
    auto last_silent = static_cast<size_t>(std::floor((speech_seconds + silence_seconds) / per_sample + 1e-9));
    ASSERT_LT(first_silent, last_silent);
    EXPECT_GT(offsets[first_silent - 1], 10.0) << "the first sentence moved the text";
    EXPECT_EQ(offsets[last_silent - 1], offsets[first_silent - 1]) << "halted within one sample of the silence";
    EXPECT_GT(offsets.back(), offsets[last_silent - 1]) << "the second sentence moved it again";
    EXPECT_TRUE(logged("Voice detected, starting scroll"));
    EXPECT_TRUE(logged("Voice not detected, stopping scroll"));
}

}
}
