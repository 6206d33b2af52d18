#pragma once

// Sound input whose microphone a test (or the headless driver) controls.
//
// The microphone hears one of two things:
// - Scripted levels, in dBFS, handed straight to the meter: each meter
//   update takes the next scripted level, and after the last one the level
//   stays where it is. `set_level` is a level that stays. This is how tests
//   put an exact -25.0 in front of voice scrolling.
// - A WAV file, played through the level meter at the pace of the run
//   loop's clock (wav_playback.h).
// Before anything is chosen it hears digital silence.
//
// Recorders can be refused (as when no recorder can be made) and the input
// can be refused (as when the device is missing or taken); the reason is
// what `make_recorder` or the recorder's `failure` reports.

#include "platform/services/audio.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cw {
class RunLoop;
}

namespace cw::sim {

class WavPlayback;

class SimAudioSession final : public AudioSession {
public:
    bool set_category(AudioCategory, std::string* error) override;
    bool set_active(bool, std::string* error) override;

    std::optional<AudioCategory> category() const { return m_category; }
    bool active() const { return m_active; }
    int activations() const { return m_activations; }

private:
    std::optional<AudioCategory> m_category;
    bool m_active { false };
    int m_activations { 0 };
};

class SimAudio final : public AudioService {
public:
    SimAudio();
    ~SimAudio() override;

    AudioSession& shared_session() override { return m_session; }
    std::unique_ptr<AudioRecorder> make_recorder(std::string const& url, AudioRecorderSettings const&, std::string& error) override;

    // The clock a played file follows; the device's run loop, set when the
    // services are installed. It must outlive every recorder.
    void use_clock(RunLoop&);

    // What the microphone hears. Each replaces what was there before.
    void set_level(float db);
    void script_levels(std::vector<float> db);
    // Answers false, with the reason in `error`, when the file cannot be
    // played; the microphone then keeps hearing what it heard.
    bool play_wav_file(std::string const& path, bool loop, std::string& error);
    // The duration of the file being played, or none.
    std::optional<double> wav_duration() const;

    // An empty reason allows again.
    void refuse_recorders(std::string reason);
    void refuse_input(std::string reason);

    SimAudioSession const& session() const { return m_session; }
    int recorders_made() const { return m_recorders_made; }
    // Meter updates of recorders that were recording.
    int meter_updates() const;
    // Whether a recorder of this device is recording now.
    bool listening() const;

    struct Microphone;

private:
    SimAudioSession m_session;
    std::shared_ptr<Microphone> m_microphone;
    std::string m_refuse_recorders;
    int m_recorders_made { 0 };
};

}
