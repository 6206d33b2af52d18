// Asking for the camera, the photo library and the microphone when
// recording or voice scrolling is turned on.

#include "settings_fixture.h"

#include "platform/services/shared_instances.h"
#include "platform/ui/alert_controller.h"
#include "settings/LFPermissionMgr.h"

#include <atomic>
#include <thread>

namespace cw::testing {
namespace {

using sim::PermissionKind;

constexpr char recording_message[] = "In order to enable screen recording, you will need to give permission to Cuewright to access your camera, microphone and photos. If you've already declined this, you can enable them in your device settings.";
constexpr char magic_message[] = "In order to enable magic scrolling, you will need to give permission to Cuewright to access your microphone. If you've already declined this, you can enable it in your device settings.";

// What one access operation answered, and when.
struct Answers {
    std::vector<bool> values;
    LFPermissionMgr::Completion completion()
    {
        return [this](bool granted) { values.push_back(granted); };
    }
};

class PermissionManager : public SettingsTest {
protected:
    void SetUp() override { launch(); }
    LFPermissionMgr& manager() { return LFPermissionMgr::sharedInstance(device->context()); }
};

TEST_F(PermissionManager, OnlyTheAuthorisedStatusIsGranted)
{
    struct Case {
        char const* label;
        std::function<void(sim::SimPermissions&)> set;
        void (LFPermissionMgr::*access)(LFPermissionMgr::Completion);
        bool granted;
    };
    auto camera = [](AuthorizationStatus s) { return [s](sim::SimPermissions& p) { p.set_camera_status(s); }; };
    auto mic = [](RecordPermission s) { return [s](sim::SimPermissions& p) { p.set_record_permission(s); }; };
    auto photos = [](AuthorizationStatus s) { return [s](sim::SimPermissions& p) { p.set_photo_library_status(s); }; };
    Case const cases[] = {
        { "camera authorised", camera(AuthorizationStatus::Authorized), &LFPermissionMgr::accessCamera, true },
        { "camera restricted", camera(AuthorizationStatus::Restricted), &LFPermissionMgr::accessCamera, false },
        { "camera denied", camera(AuthorizationStatus::Denied), &LFPermissionMgr::accessCamera, false },
        { "camera, a later status", camera(AuthorizationStatus { 7 }), &LFPermissionMgr::accessCamera, false },
        { "microphone granted", mic(RecordPermission::Granted), &LFPermissionMgr::accessMic, true },
        { "microphone denied", mic(RecordPermission::Denied), &LFPermissionMgr::accessMic, false },
        { "microphone, a later code", mic(RecordPermission { four_char_code("abcd") }), &LFPermissionMgr::accessMic, false },
        { "photos authorised", photos(AuthorizationStatus::Authorized), &LFPermissionMgr::accessPhoto, true },
        { "photos limited", photos(AuthorizationStatus { 4 }), &LFPermissionMgr::accessPhoto, false },
        { "photos denied", photos(AuthorizationStatus::Denied), &LFPermissionMgr::accessPhoto, false },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        c.set(permissions());
        Answers answers;
        (manager().*c.access)(answers.completion());
        EXPECT_EQ(answers.values, std::vector<bool> { c.granted }) << "answered inside the call";
        EXPECT_TRUE(permissions().pending_questions().empty());
        device->settle();
        EXPECT_EQ(answers.values.size(), 1u);
    }
    EXPECT_EQ(static_cast<std::uint32_t>(RecordPermission::Granted), 1735552628u);
    EXPECT_EQ(static_cast<std::uint32_t>(RecordPermission::Undetermined), 1970168948u);
}

TEST_F(PermissionManager, AnUndecidedStatusAsksAndPassesTheAnswerOn)
{
    struct Case {
        char const* label;
        void (LFPermissionMgr::*access)(LFPermissionMgr::Completion);
        PermissionKind kind;
        std::function<bool(sim::SimPermissions&)> answer;
        bool granted;
    };
    Case const cases[] = {
        { "camera yes", &LFPermissionMgr::accessCamera, PermissionKind::Camera, [](auto& p) { return p.answer_camera(true); }, true },
        { "camera no", &LFPermissionMgr::accessCamera, PermissionKind::Camera, [](auto& p) { return p.answer_camera(false); }, false },
        { "microphone yes", &LFPermissionMgr::accessMic, PermissionKind::Microphone, [](auto& p) { return p.answer_microphone(true); }, true },
        { "microphone no", &LFPermissionMgr::accessMic, PermissionKind::Microphone, [](auto& p) { return p.answer_microphone(false); }, false },
        { "photos authorised", &LFPermissionMgr::accessPhoto, PermissionKind::PhotoLibrary, [](auto& p) { return p.answer_photo_library(AuthorizationStatus::Authorized); }, true },
        { "photos limited", &LFPermissionMgr::accessPhoto, PermissionKind::PhotoLibrary, [](auto& p) { return p.answer_photo_library(AuthorizationStatus { 4 }); }, false },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        permissions().reset_all();
        Answers answers;
        (manager().*c.access)(answers.completion());
        EXPECT_TRUE(answers.values.empty());
        EXPECT_EQ(permissions().pending_questions(), std::vector<PermissionKind> { c.kind });
        ASSERT_TRUE(c.answer(permissions()));
        EXPECT_TRUE(answers.values.empty()) << "the answer comes on the platform's queue";
        device->platform().queue.drain();
        EXPECT_EQ(answers.values, std::vector<bool> { c.granted });
    }
}

TEST_F(PermissionManager, OneSharedInstancePerApplication)
{
    auto& first = manager();
    EXPECT_EQ(&manager(), &first);

    RunLoop other_loop;
    SimDevice other(other_loop);
    other.launch();
    EXPECT_NE(&LFPermissionMgr::sharedInstance(other.context()), &first);

    // Several threads asking for a fresh application's manager at once all
    // get the same one, made once.
    SimDevice fresh(other_loop);
    std::atomic<int> made { 0 };
    std::vector<std::thread> threads;
    std::vector<LFPermissionMgr*> seen(8);
    auto& instances = fresh.context().services.get<SharedInstances>();
    for (size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&, i] {
            seen[i] = &instances.get<LFPermissionMgr>([&] {
                ++made;
                return std::make_unique<LFPermissionMgr>(*fresh.platform().permissions);
            });
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(made.load(), 1);
    for (auto* manager : seen)
        EXPECT_EQ(manager, seen[0]);
    EXPECT_EQ(&LFPermissionMgr::sharedInstance(fresh.context()), seen[0]);
}

using Permissions = SettingsTest;

TEST_F(Permissions, EverythingGrantedStoresRecordingBeforeTheToggleReturns)
{
    launch({ ScriptSeed {}, ScriptSeed { .title = "Two" } }, 1);
    auto& settings = open_settings();
    permissions().grant_all();
    settings.videoSwitch->user_toggle();
    EXPECT_EQ(stored(keys::isRecordingVideoArray), (List { false, true }));
    for (auto line : { "camera access granted", "photo access granted", "mic access granted", "All permissions granted so saved state of recording video" })
        EXPECT_TRUE(logged(line)) << line;
    EXPECT_TRUE(is_shown(settings)) << "no alert";
    EXPECT_TRUE(settings.videoSwitch->is_on());
    EXPECT_TRUE(settings.videoMessageView->hidden);
    for (auto kind : { PermissionKind::Camera, PermissionKind::PhotoLibrary, PermissionKind::Microphone })
        EXPECT_EQ(permissions().questions_asked(kind), 0);
}

TEST_F(Permissions, AQuestionAnsweredLaterIsHandledOnTheMainQueue)
{
    launch({ ScriptSeed {}, ScriptSeed { .title = "Two" } }, 1);
    auto& settings = open_settings();
    permissions().set_photo_library_status(AuthorizationStatus::Denied);
    settings.videoSwitch->user_toggle();

    EXPECT_EQ(permissions().pending_questions(), std::vector<PermissionKind> { PermissionKind::Camera });
    EXPECT_TRUE(settings.videoSwitch->is_on()) << "on while the presenter thinks";
    EXPECT_EQ(stored(keys::isRecordingVideoArray), (List { false, false }));

    permissions().answer_camera(true);
    device->platform().queue.drain();
    EXPECT_FALSE(logged("camera access granted")) << "the platform's thread only hands the answer on";
    loop.run_pending();

    EXPECT_TRUE(logged("camera access granted"));
    EXPECT_TRUE(logged("photo access not granted"));
    EXPECT_EQ(permissions().questions_asked(PermissionKind::Camera), 1);
    EXPECT_EQ(permissions().questions_asked(PermissionKind::PhotoLibrary), 0);
    EXPECT_EQ(permissions().questions_asked(PermissionKind::Microphone), 0);
    EXPECT_FALSE(settings.videoSwitch->is_on());
    EXPECT_EQ(stored(keys::isRecordingVideoArray), (List { false, false }));
    auto* alert = device->alert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->style(), AlertStyle::Alert);
    EXPECT_EQ(alert->alert_title(), "Please Check Permissions");
    EXPECT_EQ(alert->message(), recording_message);
    ASSERT_EQ(alert->actions().size(), 1u);
    EXPECT_EQ(alert->actions()[0].style, AlertActionStyle::Default);
    EXPECT_TRUE(settings.last_presentation_animated());
    EXPECT_TRUE(device->choose("Ok"));
    EXPECT_TRUE(is_shown(settings));
}

TEST_F(Permissions, EachRefusalInTheRecordingChainStopsIt)
{
    struct Case {
        char const* label;
        AuthorizationStatus camera, photos;
        RecordPermission mic;
        char const* line;
    };
    Case const cases[] = {
        { "camera", AuthorizationStatus::Restricted, AuthorizationStatus::Authorized, RecordPermission::Granted, "camera access not granted" },
        { "photos", AuthorizationStatus::Authorized, AuthorizationStatus { 4 }, RecordPermission::Granted, "photo access not granted" },
        { "microphone", AuthorizationStatus::Authorized, AuthorizationStatus::Authorized, RecordPermission::Denied, "mic access not granted" },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        launch({ ScriptSeed { .recording = true } });
        auto& settings = open_settings();
        settings.videoSwitch->set_on(false);
        permissions().set_camera_status(c.camera);
        permissions().set_photo_library_status(c.photos);
        permissions().set_record_permission(c.mic);
        settings.videoSwitch->user_toggle();
        EXPECT_TRUE(logged(c.line));
        EXPECT_FALSE(logged("All permissions granted so saved state of recording video"));
        EXPECT_EQ(stored(keys::isRecordingVideoArray), (List { false }));
        EXPECT_FALSE(settings.videoSwitch->is_on());
        ASSERT_NE(device->alert(), nullptr);
        EXPECT_EQ(device->alert()->message(), recording_message);
    }
}

TEST_F(Permissions, MicrophoneRefusedForMagicScrollingLeavesRecordingAlone)
{
    launch({ ScriptSeed { .recording = true } });
    auto& settings = open_settings();
    permissions().set_record_permission(RecordPermission::Denied);
    settings.magicSwitch->user_toggle();

    EXPECT_TRUE(logged("mic access not granted"));
    EXPECT_FALSE(settings.magicSwitch->is_on());
    EXPECT_EQ(stored(keys::isMagicScrollingArray), (List { false }));
    EXPECT_TRUE(settings.videoSwitch->is_on());
    EXPECT_EQ(stored(keys::isRecordingVideoArray), (List { true }));
    ASSERT_NE(device->alert(), nullptr);
    EXPECT_EQ(device->alert()->alert_title(), "Please Check Permissions");
    EXPECT_EQ(device->alert()->message(), magic_message);
}

TEST_F(Permissions, TheMicrophoneGrantedForMagicScrollingIsNotAskedAgainForRecording)
{
    launch();
    auto& settings = open_settings();
    permissions().set_camera_status(AuthorizationStatus::Authorized);
    permissions().set_photo_library_status(AuthorizationStatus::Authorized);

    settings.magicSwitch->user_toggle();
    EXPECT_EQ(stored(keys::isMagicScrollingArray), (List { false })) << "not before the answer";
    permissions().answer_microphone(true);
    device->settle();
    EXPECT_TRUE(logged("mic access granted"));
    EXPECT_EQ(stored(keys::isMagicScrollingArray), (List { true }));

    settings.videoSwitch->user_toggle();
    EXPECT_EQ(stored(keys::isRecordingVideoArray), (List { true }));
    EXPECT_EQ(permissions().questions_asked(PermissionKind::Microphone), 1);
}

TEST_F(Permissions, TurningOffNeedsNoPermission)
{
    launch({ ScriptSeed { .voice = true, .recording = true } });
    auto& settings = open_settings();
    permissions().deny_all();
    settings.videoMessageView->hidden = false;
    settings.videoSwitch->user_toggle();
    settings.magicSwitch->user_toggle();
    EXPECT_TRUE(logged("Called code because video switch was off"));
    EXPECT_EQ(stored(keys::isRecordingVideoArray), (List { false }));
    EXPECT_EQ(stored(keys::isMagicScrollingArray), (List { false }));
    EXPECT_TRUE(settings.videoMessageView->hidden);
    EXPECT_EQ(device->alert(), nullptr);
}

TEST_F(Permissions, AnAnswerAfterTheScreenClosedIsDropped)
{
    launch();
    auto& settings = open_settings();
    settings.videoSwitch->user_toggle();
    swipe_away(settings);
    permissions().answer_camera(false);
    device->settle();
    EXPECT_FALSE(logged("camera access not granted"));
    EXPECT_EQ(device->alert(), nullptr);
}

}
}
