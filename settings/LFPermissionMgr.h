#pragma once

// Asks the platform for the camera, the microphone and the photo library.
// Each access operation calls its completion exactly once with one flag,
// true when access is granted:
//
// - already decided: at once, inside the call, on the caller's thread;
// - not decided yet: the platform asks the presenter, and the completion
//   runs with the answer on the platform's own thread.
//
// Only the platform's "authorised" status counts as granted; every other
// status, including any the platform adds later, counts as refused.
//
// There is one manager per application (`sharedInstance`), made on first
// use and kept until the application ends; it holds no state of its own.

#include "platform/services/permissions.h"

#include <functional>

namespace cw {

class AppContext;

class LFPermissionMgr {
public:
    using Completion = std::function<void(bool granted)>;

    static LFPermissionMgr& sharedInstance(AppContext&);

    explicit LFPermissionMgr(PermissionAuthority&);

    void accessCamera(Completion);
    void accessMic(Completion);
    void accessPhoto(Completion);

private:
    PermissionAuthority& m_platform;
};

}
