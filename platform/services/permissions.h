#pragma once

// The platform's privacy permissions that Cuewright needs: the camera, the
// microphone and the photo library. Each has a status the application can
// read at any time and a question it can put to the presenter when the
// status is not yet decided. The presenter's answer arrives later, on a
// thread of the platform's choosing; callers hand their reaction to the
// main queue.
//
// The camera and the photo library number their statuses; the microphone
// uses four-character codes. Statuses the platform may add later are just
// other values of the same types, which is why these enums are open.

#include <cstdint>
#include <functional>

namespace cw {

enum class AuthorizationStatus : int {
    NotDetermined = 0,
    Restricted = 1,
    Denied = 2,
    Authorized = 3,
};

constexpr std::uint32_t four_char_code(char const (&code)[5])
{
    return (std::uint32_t(static_cast<unsigned char>(code[0])) << 24) | (std::uint32_t(static_cast<unsigned char>(code[1])) << 16)
        | (std::uint32_t(static_cast<unsigned char>(code[2])) << 8) | std::uint32_t(static_cast<unsigned char>(code[3]));
}

enum class RecordPermission : std::uint32_t {
    Undetermined = four_char_code("undt"),
    Denied = four_char_code("deny"),
    Granted = four_char_code("grnt"),
};

class PermissionAuthority {
public:
    virtual ~PermissionAuthority() = default;

    virtual AuthorizationStatus camera_status() const = 0;
    // Asks the presenter; the answer says whether access was granted.
    virtual void request_camera_access(std::function<void(bool granted)>) = 0;

    virtual RecordPermission record_permission() const = 0;
    virtual void request_record_permission(std::function<void(bool granted)>) = 0;

    virtual AuthorizationStatus photo_library_status() const = 0;
    // Asks the presenter; the answer is the new status.
    virtual void request_photo_library_authorization(std::function<void(AuthorizationStatus)>) = 0;
};

}
