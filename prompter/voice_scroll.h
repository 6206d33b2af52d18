#pragma once

// Voice scrolling: while a run listens, the microphone is sampled ten times
// a second, and the text moves only while the presenter is loud enough.
//
// Each sample reads the peak level of the last tenth of a second. A sample
// above -25 dBFS switches the scroll engine's tick source on (if voice had
// not already), a sample at or below it (or one that is not a number)
// switches it off again. There is no smoothing or hold: one quiet sample
// halts the text, one loud sample restarts it, and the speed is whatever
// the engine runs at.
//
// The level comes from the platform's audio recorder with metering on,
// recording to the null device, so nothing is kept. The recorder is made at
// the first start and reused by every later start on the same screen. When
// it cannot be made, or cannot listen, that is logged once per start and
// no sample is ever loud: the text stays put.
//
// The sampling timer runs in the main run loop's default mode, like the
// engine's tick source, so both pause while the presenter drags the text.

#include "platform/foundation/run_loop.h"
#include "platform/services/audio.h"

#include <memory>

namespace cw {

class AppContext;
class ScrollEngine;

class VoiceScroll {
public:
    static constexpr float threshold_db = -25.0f;
    static constexpr double sampling_interval_seconds = 0.1;

    VoiceScroll(AppContext&, ScrollEngine&);
    ~VoiceScroll();

    // Claims the audio session, starts the recorder and sampling. A start
    // while already listening keeps one sampling timer.
    void startVoiceScroll();
    // One sample.
    void levelTimerCallback();
    // Ends sampling and metering, releases the audio session and clears the
    // engine's running flag. The recorder stays for the next start.
    void stopVoiceScroll();

    bool listening() const;
    AudioRecorder* recorder() const { return m_recorder.get(); }
    bool has_level_timer() const { return m_levelTimer.active(); }

    // What the recorder is made with.
    static AudioRecorderSettings recorder_settings();

private:
    bool make_recorder();

    AppContext& m_context;
    ScrollEngine& m_engine;
    std::unique_ptr<AudioRecorder> m_recorder;
    LoopHandle m_levelTimer;
};

}
