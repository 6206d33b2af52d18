#include "sim_permissions.h"

#include <algorithm>
#include <utility>

namespace cw::sim {

std::string permission_kind_name(PermissionKind kind)
{
    switch (kind) {
    case PermissionKind::Camera: return "camera";
    case PermissionKind::Microphone: return "microphone";
    case PermissionKind::PhotoLibrary: return "photoLibrary";
    }
    return "unknown";
}

AuthorizationStatus SimPermissions::camera_status() const
{
    std::lock_guard lock(m_mutex);
    return m_camera;
}

RecordPermission SimPermissions::record_permission() const
{
    std::lock_guard lock(m_mutex);
    return m_microphone;
}

AuthorizationStatus SimPermissions::photo_library_status() const
{
    std::lock_guard lock(m_mutex);
    return m_photos;
}

void SimPermissions::request_camera_access(std::function<void(bool)> completion)
{
    std::lock_guard lock(m_mutex);
    if (m_camera != AuthorizationStatus::NotDetermined) {
        m_queue.post([completion = std::move(completion), granted = m_camera == AuthorizationStatus::Authorized] { completion(granted); });
        return;
    }
    if (m_camera_waiting.empty()) {
        m_pending.push_back(PermissionKind::Camera);
        ++m_asked[PermissionKind::Camera];
    }
    m_camera_waiting.push_back(std::move(completion));
}

void SimPermissions::request_record_permission(std::function<void(bool)> completion)
{
    std::lock_guard lock(m_mutex);
    if (m_microphone != RecordPermission::Undetermined) {
        m_queue.post([completion = std::move(completion), granted = m_microphone == RecordPermission::Granted] { completion(granted); });
        return;
    }
    if (m_microphone_waiting.empty()) {
        m_pending.push_back(PermissionKind::Microphone);
        ++m_asked[PermissionKind::Microphone];
    }
    m_microphone_waiting.push_back(std::move(completion));
}

void SimPermissions::request_photo_library_authorization(std::function<void(AuthorizationStatus)> completion)
{
    std::lock_guard lock(m_mutex);
    if (m_photos != AuthorizationStatus::NotDetermined) {
        m_queue.post([completion = std::move(completion), status = m_photos] { completion(status); });
        return;
    }
    if (m_photos_waiting.empty()) {
        m_pending.push_back(PermissionKind::PhotoLibrary);
        ++m_asked[PermissionKind::PhotoLibrary];
    }
    m_photos_waiting.push_back(std::move(completion));
}

void SimPermissions::set_camera_status(AuthorizationStatus status)
{
    std::lock_guard lock(m_mutex);
    m_camera = status;
}

void SimPermissions::set_record_permission(RecordPermission permission)
{
    std::lock_guard lock(m_mutex);
    m_microphone = permission;
}

void SimPermissions::set_photo_library_status(AuthorizationStatus status)
{
    std::lock_guard lock(m_mutex);
    m_photos = status;
}

void SimPermissions::grant_all()
{
    set_camera_status(AuthorizationStatus::Authorized);
    set_record_permission(RecordPermission::Granted);
    set_photo_library_status(AuthorizationStatus::Authorized);
}

void SimPermissions::deny_all()
{
    set_camera_status(AuthorizationStatus::Denied);
    set_record_permission(RecordPermission::Denied);
    set_photo_library_status(AuthorizationStatus::Denied);
}

void SimPermissions::reset_all()
{
    set_camera_status(AuthorizationStatus::NotDetermined);
    set_record_permission(RecordPermission::Undetermined);
    set_photo_library_status(AuthorizationStatus::NotDetermined);
}

std::vector<PermissionKind> SimPermissions::pending_questions() const
{
    std::lock_guard lock(m_mutex);
    return m_pending;
}

int SimPermissions::questions_asked(PermissionKind kind) const
{
    std::lock_guard lock(m_mutex);
    auto it = m_asked.find(kind);
    return it == m_asked.end() ? 0 : it->second;
}

bool SimPermissions::answer_camera(bool granted)
{
    std::lock_guard lock(m_mutex);
    if (m_camera_waiting.empty())
        return false;
    m_camera = granted ? AuthorizationStatus::Authorized : AuthorizationStatus::Denied;
    std::erase(m_pending, PermissionKind::Camera);
    for (auto& completion : std::exchange(m_camera_waiting, {}))
        m_queue.post([completion = std::move(completion), granted] { completion(granted); });
    return true;
}

bool SimPermissions::answer_microphone(bool granted)
{
    std::lock_guard lock(m_mutex);
    if (m_microphone_waiting.empty())
        return false;
    m_microphone = granted ? RecordPermission::Granted : RecordPermission::Denied;
    std::erase(m_pending, PermissionKind::Microphone);
    for (auto& completion : std::exchange(m_microphone_waiting, {}))
        m_queue.post([completion = std::move(completion), granted] { completion(granted); });
    return true;
}

bool SimPermissions::answer_photo_library(AuthorizationStatus status)
{
    std::lock_guard lock(m_mutex);
    if (m_photos_waiting.empty())
        return false;
    m_photos = status;
    std::erase(m_pending, PermissionKind::PhotoLibrary);
    for (auto& completion : std::exchange(m_photos_waiting, {}))
        m_queue.post([completion = std::move(completion), status] { completion(status); });
    return true;
}

}
