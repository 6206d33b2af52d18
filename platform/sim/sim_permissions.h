#pragma once

// Permissions whose presenter is a test. Each status can be set; a request
// made while a status is not yet decided becomes a pending question, which
// the test answers later. The answer changes the status, as the platform
// does, and the waiting completions run on the platform queue, never inside
// the request, so callers' hops to the main queue are exercised.
//
// A request made when the status is already decided asks nothing and
// answers from the status, also on the platform queue.

#include "platform/services/permissions.h"
#include "platform/sim/platform_queue.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace cw::sim {

enum class PermissionKind { Camera, Microphone, PhotoLibrary };

std::string permission_kind_name(PermissionKind);

class SimPermissions final : public PermissionAuthority {
public:
    explicit SimPermissions(PlatformQueue& queue)
        : m_queue(queue)
    {
    }

    AuthorizationStatus camera_status() const override;
    void request_camera_access(std::function<void(bool)>) override;
    RecordPermission record_permission() const override;
    void request_record_permission(std::function<void(bool)>) override;
    AuthorizationStatus photo_library_status() const override;
    void request_photo_library_authorization(std::function<void(AuthorizationStatus)>) override;

    // Test side.
    void set_camera_status(AuthorizationStatus);
    void set_record_permission(RecordPermission);
    void set_photo_library_status(AuthorizationStatus);
    // Everything granted, or everything refused, or nothing decided yet.
    void grant_all();
    void deny_all();
    void reset_all();

    // Questions waiting for the presenter, in the order they were asked.
    std::vector<PermissionKind> pending_questions() const;
    // How many questions of this kind were put to the presenter so far.
    int questions_asked(PermissionKind) const;
    // Answers the waiting question of that kind. False when none waits.
    bool answer_camera(bool granted);
    bool answer_microphone(bool granted);
    bool answer_photo_library(AuthorizationStatus);

private:
    PlatformQueue& m_queue;
    mutable std::mutex m_mutex;
    AuthorizationStatus m_camera { AuthorizationStatus::NotDetermined };
    RecordPermission m_microphone { RecordPermission::Undetermined };
    AuthorizationStatus m_photos { AuthorizationStatus::NotDetermined };
    std::vector<std::function<void(bool)>> m_camera_waiting;
    std::vector<std::function<void(bool)>> m_microphone_waiting;
    std::vector<std::function<void(AuthorizationStatus)>> m_photos_waiting;
    std::vector<PermissionKind> m_pending;
    std::map<PermissionKind, int> m_asked;
};

}
