#pragma once

// The link to the companion watch application. There is one session per
// application (the "default session"); its delegate receives the watch's
// messages. A message is a record; the watch may or may not wait for a
// reply, in which case `reply` is empty.

#include "platform/foundation/value.h"

#include <functional>

namespace cw {

enum class WatchActivationState { NotActivated = 0, Inactive = 1, Activated = 2 };

class WatchSessionDelegate {
public:
    virtual ~WatchSessionDelegate() = default;
    virtual void sessionActivationDidCompleteWithStateError(WatchActivationState, std::string const& /*error*/) { }
    virtual void sessionDidBecomeInactive() { }
    virtual void sessionDidDeactivate() { }
    virtual void sessionDidReceiveMessage(Record const&) { }
    virtual void sessionDidReceiveMessageReplyHandler(Record const& message, std::function<void(Record)>) { sessionDidReceiveMessage(message); }
};

class WatchSession {
public:
    virtual ~WatchSession() = default;
    virtual bool is_supported() const = 0;
    virtual void set_delegate(WatchSessionDelegate*) = 0;
    virtual WatchSessionDelegate* delegate() const = 0;
    virtual void activate() = 0;
    virtual WatchActivationState activation_state() const = 0;
};

}
