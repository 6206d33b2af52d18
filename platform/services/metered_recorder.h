#pragma once

// The recorder every back end of ours hands out. It keeps the recorder's
// state (metering on or off, prepared, recording) and the latest readings;
// where the sound comes from is a `LevelSource`: scripted levels, a sound
// file played against the run loop's clock, or a live microphone.
//
// Nothing is ever written: the only destination a recorder can be made for
// is the null device.

#include "platform/services/audio.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cw {

class LevelSource {
public:
    virtual ~LevelSource() = default;

    // Begins listening. Answers why not when the input cannot be opened.
    virtual std::optional<std::string> start() = 0;
    virtual void stop() = 0;
    // Fills `peaks_db` with each channel's peak since the previous reading
    // (or since `start`), in dBFS. Main thread only.
    virtual void read_peaks(std::span<float> peaks_db) = 0;
};

// Why a recorder cannot be made for `url` with `settings`, or none.
std::optional<std::string> recorder_request_problem(std::string const& url, AudioRecorderSettings const&);

class MeteredRecorder final : public AudioRecorder {
public:
    MeteredRecorder(AudioRecorderSettings const&, std::unique_ptr<LevelSource>);
    ~MeteredRecorder() override;

    void set_metering_enabled(bool enabled) override { m_metering = enabled; }
    bool metering_enabled() const override { return m_metering; }
    bool prepare_to_record() override;
    bool record() override;
    void stop() override;
    bool is_recording() const override { return m_recording; }
    std::string failure() const override { return m_failure; }
    void update_meters() override;
    float peak_power(int channel) const override;

    AudioRecorderSettings const& settings() const { return m_settings; }

private:
    AudioRecorderSettings m_settings;
    std::unique_ptr<LevelSource> m_source;
    std::vector<float> m_peaks_db;
    std::string m_failure;
    bool m_metering { false };
    bool m_recording { false };
};

}
