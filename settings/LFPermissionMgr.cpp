#include "LFPermissionMgr.h"

#include "platform/services/shared_instances.h"
#include "platform/ui/app_context.h"

namespace cw {

LFPermissionMgr& LFPermissionMgr::sharedInstance(AppContext& context)
{
    return context.services.get<SharedInstances>().get<LFPermissionMgr>([&context] {
        return std::make_unique<LFPermissionMgr>(context.services.get<PermissionAuthority>());
    });
}

LFPermissionMgr::LFPermissionMgr(PermissionAuthority& platform)
    : m_platform(platform)
{
}

void LFPermissionMgr::accessCamera(Completion completion)
{
    switch (m_platform.camera_status()) {
    case AuthorizationStatus::Authorized:
        completion(true);
        return;
    case AuthorizationStatus::NotDetermined:
        m_platform.request_camera_access(std::move(completion));
        return;
    default:
        completion(false);
    }
}

void LFPermissionMgr::accessMic(Completion completion)
{
    switch (m_platform.record_permission()) {
    case RecordPermission::Granted:
        completion(true);
        return;
    case RecordPermission::Undetermined:
        m_platform.request_record_permission(std::move(completion));
        return;
    default:
        completion(false);
    }
}

void LFPermissionMgr::accessPhoto(Completion completion)
{
    switch (m_platform.photo_library_status()) {
    case AuthorizationStatus::Authorized:
        completion(true);
        return;
    case AuthorizationStatus::NotDetermined:
        m_platform.request_photo_library_authorization([completion = std::move(completion)](AuthorizationStatus status) {
            completion(status == AuthorizationStatus::Authorized);
        });
        return;
    default:
        completion(false);
    }
}

}
