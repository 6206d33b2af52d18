#include "voice_scroll.h"

#include "prompter/scroll_engine.h"
#include "platform/ui/app_context.h"

#include <string>

namespace cw {

static constexpr char cannot_listen[] = "Voice scrolling cannot use the microphone: ";

VoiceScroll::VoiceScroll(AppContext& context, ScrollEngine& engine)
    : m_context(context)
    , m_engine(engine)
{
}

// A screen that closes while it listens lets go of the microphone and the
// audio session with it. The engine is left alone: it goes with the screen.
VoiceScroll::~VoiceScroll()
{
    if (!listening())
        return;
    m_levelTimer.cancel();
    if (m_recorder)
        m_recorder->stop();
    if (auto* audio = m_context.services.find<AudioService>())
        audio->shared_session().set_active(false);
}

AudioRecorderSettings VoiceScroll::recorder_settings()
{
    return {
        .format = AudioFormat::Lossless,
        .sample_rate = 44100.0,
        .channels = 1,
        .encoder_quality = max_encoder_quality,
    };
}

void VoiceScroll::startVoiceScroll()
{
    // The session's answers change nothing here: a session that would not
    // activate shows up as a recorder that cannot listen.
    if (auto* audio = m_context.services.find<AudioService>()) {
        auto& session = audio->shared_session();
        session.set_category(AudioCategory::PlayAndRecord);
        session.set_active(true);
    }

    if (m_recorder || make_recorder()) {
        if (!m_recorder->record())
            m_context.log.line(cannot_listen + m_recorder->failure());
    }

    // Replacing the handle cancels a timer left by an earlier start, so a
    // second start (a remote can send one) never samples twice as often.
    m_levelTimer = m_context.loop.schedule_timer(sampling_interval_seconds, true, LoopMode::Default, [this] { levelTimerCallback(); });
}

bool VoiceScroll::make_recorder()
{
    auto* audio = m_context.services.find<AudioService>();
    if (!audio) {
        m_context.log.line(std::string(cannot_listen) + "this device has no sound input");
        return false;
    }
    std::string error;
    m_recorder = audio->make_recorder(null_device_url, recorder_settings(), error);
    if (!m_recorder) {
        m_context.log.line(cannot_listen + error);
        return false;
    }
    m_recorder->set_metering_enabled(true);
    m_recorder->prepare_to_record();
    return true;
}

void VoiceScroll::levelTimerCallback()
{
    // Without a recorder every sample is quiet.
    float level = AudioRecorder::silence_db;
    if (m_recorder) {
        m_recorder->update_meters();
        level = m_recorder->peak_power(0);
    }

    // Written so that a level that is not a number counts as quiet.
    if (level > threshold_db) {
        if (!m_engine.ScrollIsRunning) {
            m_engine.ScrollIsRunning = true;
            m_engine.startRunScrollTimer();
            m_context.log.line("Voice detected, starting scroll");
        }
    } else if (m_engine.ScrollIsRunning) {
        m_engine.ScrollIsRunning = false;
        m_engine.stopRunScrollTimer();
        m_context.log.line("Voice not detected, stopping scroll");
    }
}

void VoiceScroll::stopVoiceScroll()
{
    m_levelTimer.cancel();
    if (m_recorder && m_recorder->is_recording())
        m_recorder->stop();
    if (auto* audio = m_context.services.find<AudioService>())
        audio->shared_session().set_active(false);
    m_engine.ScrollIsRunning = false;
}

bool VoiceScroll::listening() const
{
    return m_levelTimer.active() || (m_recorder && m_recorder->is_recording());
}

}
