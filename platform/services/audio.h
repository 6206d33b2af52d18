#pragma once

// Sound input: the application's audio session and an audio recorder with
// a level meter. Voice scrolling uses them to hear whether the presenter is
// speaking; it never keeps any sound.
//
// The session is one per application. Its category says what the
// application does with sound; activating it claims the audio hardware for
// that use.
//
// A recorder is made for a destination URL and a set of settings. With
// metering enabled, `update_meters` ends a metering window and
// `peak_power` then answers the loudest sample of each channel in that
// window, in decibels relative to full scale (dBFS): 0 is full scale,
// quieter is negative, and digital silence reads as `silence_db`. A window
// that held a sample that is not a number reads as not a number.
//
// Our back ends only ever record to the null device (`null_device_url`):
// they listen and meter, and write nothing anywhere. A recorder for any
// other destination cannot be made.
//
// Everything here is called on the main thread.

#include <cstdint>
#include <memory>
#include <string>

namespace cw {

enum class AudioCategory {
    Ambient,
    Playback,
    Record,
    PlayAndRecord,
};

class AudioSession {
public:
    virtual ~AudioSession() = default;

    // Each answers false, with the reason in `error` when one is given,
    // when the platform refuses.
    virtual bool set_category(AudioCategory, std::string* error = nullptr) = 0;
    virtual bool set_active(bool, std::string* error = nullptr) = 0;
};

// The file URL of "/dev/null".
inline constexpr char null_device_url[] = "file:///dev/null";

// The codec a recording would be encoded with, as a four-character code.
enum class AudioFormat : std::uint32_t {
    LinearPCM = 0x6c70636d, // 'lpcm'
    Lossless = 0x616c6163, // 'alac'
};

struct AudioRecorderSettings {
    AudioFormat format { AudioFormat::LinearPCM };
    double sample_rate { 44100.0 };
    int channels { 1 };
    // 0 (lowest) to 127 (highest).
    int encoder_quality { 64 };
};

inline constexpr int max_encoder_quality = 127;

class AudioRecorder {
public:
    // The reading of a silent window, and the floor of every reading.
    static constexpr float silence_db = -160.0f;

    virtual ~AudioRecorder() = default;

    virtual void set_metering_enabled(bool) = 0;
    virtual bool metering_enabled() const = 0;
    virtual bool prepare_to_record() = 0;
    // Starts (or keeps) listening. False when the input cannot be opened;
    // `failure` then says why.
    virtual bool record() = 0;
    virtual void stop() = 0;
    virtual bool is_recording() const = 0;
    virtual std::string failure() const = 0;

    // Ends the current metering window. Without metering, or while not
    // recording, every channel reads as silence.
    virtual void update_meters() = 0;
    // The peak of `channel` in the window the last `update_meters` ended.
    // A channel the recorder does not have reads as silence.
    virtual float peak_power(int channel) const = 0;
};

class AudioService {
public:
    virtual ~AudioService() = default;

    // The application's one session.
    virtual AudioSession& shared_session() = 0;
    // A recorder for `url`, or none with the reason in `error`.
    virtual std::unique_ptr<AudioRecorder> make_recorder(std::string const& url, AudioRecorderSettings const&, std::string& error) = 0;
};

}
