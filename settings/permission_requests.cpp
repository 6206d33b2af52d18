// Turning recording or voice scrolling on asks for the permissions they
// need, one question at a time: recording needs the camera, then the photo
// library, then the microphone; voice scrolling needs the microphone. The
// stored value becomes true only when the last one is granted, and false
// at the first refusal, which also turns the switch off and explains why.

#include "script_settings.h"

#include "library/store_keys.h"
#include "platform/ui/alert_controller.h"
#include "platform/ui/app_context.h"
#include "settings/LFPermissionMgr.h"

#include <atomic>
#include <thread>

namespace cw {

static constexpr char permission_alert_title[] = "Please Check Permissions";
static constexpr char recording_refused_message[] = "In order to enable screen recording, you will need to give permission to Cuewright to access your camera, microphone and photos. If you've already declined this, you can enable them in your device settings.";
static constexpr char magic_refused_message[] = "In order to enable magic scrolling, you will need to give permission to Cuewright to access your microphone. If you've already declined this, you can enable it in your device settings.";

void ScriptSettings::ask(void (LFPermissionMgr::*access)(std::function<void(bool)>), void (ScriptSettings::*react)(bool))
{
    auto& context = m_screen.context();
    auto inside_call = std::make_shared<std::atomic<bool>>(true);
    auto caller = std::this_thread::get_id();
    auto alive = m_screen.weak_token();
    RunLoop* loop = &context.loop;
    (LFPermissionMgr::sharedInstance(context).*access)([this, react, inside_call, caller, alive, loop](bool granted) {
        if (inside_call->load() && std::this_thread::get_id() == caller) {
            (this->*react)(granted);
            return;
        }
        // The platform answered later, on its own thread.
        loop->post([this, react, alive, granted] {
            if (!alive.expired())
                (this->*react)(granted);
        });
    });
    inside_call->store(false);
}

void ScriptSettings::toggleMagic(Switch&)
{
    if (!magicSwitch->is_on()) {
        storeSetting(isMagicScrollingArray, keys::isMagicScrollingArray, false);
        return;
    }
    ask(&LFPermissionMgr::accessMic, &ScriptSettings::magicMicAnswered);
}

void ScriptSettings::magicMicAnswered(bool granted)
{
    auto& log = m_screen.context().log;
    if (!granted) {
        log.line("mic access not granted");
        micAccessNotGranted();
        return;
    }
    log.line("mic access granted");
    storeSetting(isMagicScrollingArray, keys::isMagicScrollingArray, true);
}

void ScriptSettings::toggleVideo(Switch&)
{
    if (!videoSwitch->is_on()) {
        m_screen.context().log.line("Called code because video switch was off");
        storeSetting(isRecordingVideoArray, keys::isRecordingVideoArray, false);
        videoMessageView->hidden = true;
        return;
    }
    startRecordingChain();
    videoMessageView->hidden = true;
}

void ScriptSettings::startRecordingChain()
{
    ask(&LFPermissionMgr::accessCamera, &ScriptSettings::recordingCameraAnswered);
}

void ScriptSettings::recordingCameraAnswered(bool granted)
{
    auto& log = m_screen.context().log;
    if (!granted) {
        log.line("camera access not granted");
        videoAccessNotGranted();
        return;
    }
    log.line("camera access granted");
    ask(&LFPermissionMgr::accessPhoto, &ScriptSettings::recordingPhotoAnswered);
}

void ScriptSettings::recordingPhotoAnswered(bool granted)
{
    auto& log = m_screen.context().log;
    if (!granted) {
        log.line("photo access not granted");
        videoAccessNotGranted();
        return;
    }
    log.line("photo access granted");
    ask(&LFPermissionMgr::accessMic, &ScriptSettings::recordingMicAnswered);
}

void ScriptSettings::recordingMicAnswered(bool granted)
{
    auto& log = m_screen.context().log;
    if (!granted) {
        log.line("mic access not granted");
        videoAccessNotGranted();
        return;
    }
    log.line("mic access granted");
    storeSetting(isRecordingVideoArray, keys::isRecordingVideoArray, true);
    log.line("All permissions granted so saved state of recording video");
}

void ScriptSettings::videoAccessNotGranted()
{
    storeSetting(isRecordingVideoArray, keys::isRecordingVideoArray, false);
    videoSwitch->set_on(false);
    presentPermissionAlert(recording_refused_message);
}

void ScriptSettings::micAccessNotGranted()
{
    storeSetting(isMagicScrollingArray, keys::isMagicScrollingArray, false);
    magicSwitch->set_on(false);
    presentPermissionAlert(magic_refused_message);
}

void ScriptSettings::presentPermissionAlert(char const* message)
{
    auto alert = std::make_unique<AlertController>(m_screen.context(), permission_alert_title, message, AlertStyle::Alert);
    // Choosing an action dismisses the alert; "Ok" has nothing more to do.
    alert->add_action("Ok", AlertActionStyle::Default);
    m_screen.present(std::move(alert), true);
}

}
