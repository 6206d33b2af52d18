#pragma once

// Sound input from the machine's microphone, through a PulseAudio (or
// PipeWire's PulseAudio) server.
//
// A recorder that records opens a capture stream on its own thread and
// reads it in blocks of a tenth of a second; the fragment size is set to
// one block, so blocks arrive evenly rather than in bursts. The thread
// meters each block and posts the block's peaks to the main queue, where
// the recorder's readings are made from them. Nothing is written anywhere.
//
// When there is no server, no microphone, or the server refuses the
// stream, `record` fails and says why (the caller logs it); a stream that
// breaks later is logged once and from then on reads as silence. Neither
// ever takes the program down.

#include "platform/services/audio.h"

#include <memory>
#include <string>

namespace cw {

class Log;
class RunLoop;

struct PulseAudioOptions {
    // The server to use, in PulseAudio's notation ("unix:/path/native");
    // empty for the user's default server.
    std::string server;
    // The source to capture; empty for the default one (the microphone).
    std::string source;
};

class PulseAudioService final : public AudioService {
public:
    // The loop and the log must outlive every recorder made here.
    PulseAudioService(RunLoop&, Log&, PulseAudioOptions = {});
    ~PulseAudioService() override;

    AudioSession& shared_session() override;
    std::unique_ptr<AudioRecorder> make_recorder(std::string const& url, AudioRecorderSettings const&, std::string& error) override;

    // Each capture stream reads blocks of this many seconds.
    static constexpr double block_seconds = 0.1;

private:
    class Session;
    RunLoop& m_loop;
    Log& m_log;
    PulseAudioOptions m_options;
    std::unique_ptr<Session> m_session;
};

}
