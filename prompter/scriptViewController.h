#pragma once

// The prompter screen. It shows one script's text, dressed with that
// script's display settings, and runs it: the text scrolls up the screen at
// the speed the slider sets, starts and stops with the run buttons (or a
// remote), and stops by itself at the end.
//
// The screen learns which script to show only from the store: the home
// screen writes the working keys and pushes "scriptID". At load the screen
// shows the text it was opened with; each time it comes into view, and
// each time the settings screens save ("TestNotification"), it reloads the
// presentation from the script's stored settings. The horizontal mirror is
// one flag for all scripts and reaches the screen only through its two
// notifications.
//
// The screen is also the delegate of the watch session and of its peer
// session, so both remotes can drive it. The files beside this one hold its
// parts: presentation.cpp (the refresh and the mirrors), run_controls.cpp
// (start, stop, speed), navigation.cpp, media.cpp (camera and voice
// hooks), and the scroll engine and layout helpers.

#include "prompter/capture_pipeline.h"
#include "prompter/prompter_layout.h"
#include "prompter/scroll_engine.h"
#include "prompter/voice_scroll.h"
#include "platform/foundation/notification_center.h"
#include "platform/services/capture_session.h"
#include "platform/services/peer_session.h"
#include "platform/services/watch_session.h"
#include "platform/ui/screen.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cw {

class scriptViewController final : public Screen
    , public WatchSessionDelegate
    , public PeerSessionDelegate
    , public CaptureFileOutputRecordingDelegate {
public:
    explicit scriptViewController(AppContext&);
    ~scriptViewController() override;

    char const* class_name() const override { return "scriptViewController"; }
    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillLayoutSubviews() override;
    void describe(Record&) const override;

    // Presentation.
    void receiveTestNotification();
    void reverseScript();
    void unreverseScript();

    // Run controls, for the buttons, the slider and both remotes.
    void startScript();
    void stopScript();
    void SpeedSlide(Slider&);
    void handleReceivedSliderValue(double);
    // Stop, jump to the top of the text, stop again.
    void backToStart();
    void startRunScrollTimer() { m_engine.startRunScrollTimer(); }
    void stopRunScrollTimer() { m_engine.stopRunScrollTimer(); }
    void RunScroll() { m_engine.RunScroll(); }
    ScrollEngine& engine() { return m_engine; }
    ScrollEngine const& engine() const { return m_engine; }

    // Voice scrolling (voice_scroll.h): one sample of the microphone.
    void levelTimerCallback() { m_voice.levelTimerCallback(); }
    VoiceScroll& voice() { return m_voice; }
    VoiceScroll const& voice() const { return m_voice; }

    // Navigation.
    void editScript();
    void loadSettings();
    void tryVideo();

    void showAlertWithTitleMessage(std::string const& title, std::string const& message);

    // The remotes (remote_receivers.cpp). Both deliver on a platform queue
    // and hand the work to the main queue.
    void sessionPeerDidChangeState(PeerID const&, PeerSessionState) override;
    void sessionDidReceiveDataFromPeer(Bytes const&, PeerID const&) override;
    void sessionActivationDidCompleteWithStateError(WatchActivationState, std::string const& error) override;
    void sessionDidBecomeInactive() override;
    void sessionDidDeactivate() override;
    // Only messages that wait for a reply reach the prompter; none is sent.
    void sessionDidReceiveMessageReplyHandler(Record const& message, std::function<void(Record)>) override;

    // Outlets; the view tree owns them.
    TextView* ScriptTextView { nullptr };
    Button* startButton { nullptr };
    Button* stopButton { nullptr };
    View* sliderControlView { nullptr };
    Slider* SpeedSlider { nullptr };
    TextField* SpeedField { nullptr };
    View* videoMessageView { nullptr };
    ActivityIndicator* activityIndicator { nullptr };

    // The shown script and copies of the stored lists, as of the last
    // refresh.
    std::int64_t scriptIndex { 0 };
    std::vector<std::string> scriptText;
    List textSizeArray;
    List isScrollNormalArray;
    List colorDataArray;
    List textColorDataArray;
    List isMirrorModeArray;
    List isMagicScrollingArray;
    List isRecordingVideoArray;

    // This script's settings, as of the last refresh.
    double textSize { 0 };
    bool isScrollNormal { true };
    Bytes colorData;
    Bytes textColorData;
    bool isMirrorMode { false };
    bool isMagicScrolling { false };
    bool isRecordingVideo { false };

    // YES while the horizontal mirror is in effect. Survives refreshes.
    bool isReversed { false };

    // The peer receiver: this device's identity, its session and the
    // advertiser that makes it discoverable.
    PeerID myPeerID;
    PeerSession* peer_session() const { return m_session.get(); }
    CaptureSession* capture_session() const { return m_capture.session.get(); }

    // Camera recording (recording.cpp).
    CapturePipeline const& capture() const { return m_capture; }
    CaptureDeviceRef frontCamera() const;
    CaptureDeviceRef CameraWithPosition(CaptureDevicePosition) const;
    void CameraSetOutputProperties();
    void CameraToggleButtonPressed(Button* sender = nullptr);
    void captureOutputDidFinishRecordingToOutputFileAtURLFromConnectionsError(
        CaptureMovieFileOutput&, std::string const& output_file_url, std::optional<CaptureError> const&) override;

private:
    enum class Refresh { Appearance, SettingsSaved };
    void refreshPresentation(Refresh);
    void readScriptSettings();
    void applyMirror(Refresh);
    void applySpeed(double);

    void setUpWatchSession();
    void setUpPeerReceiver();
    void setUpCapture();
    void startRecording();
    void stopRecording();
    void startVoiceScroll();
    void stopVoiceScroll();

    PrompterOutlets m_outlets;
    ScrollEngine m_engine;
    ObservationToken m_mirror_on;
    ObservationToken m_mirror_off;
    ObservationToken m_settings_saved;
    // The session must outlive its advertiser.
    std::unique_ptr<PeerSession> m_session;
    std::unique_ptr<PeerAdvertiser> m_advertiser;
    CapturePipeline m_capture;
    // Samples the microphone while voice scrolling listens.
    VoiceScroll m_voice;
};

}
