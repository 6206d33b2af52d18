#pragma once

// The application delegate: the launch work (watch session and the
// cloud-storage client) and the cloud sign-in redirect. Until a prompter
// screen takes over, it is also the watch session's delegate and ignores
// what the watch sends.

#include "platform/services/watch_session.h"

#include <string>

namespace cw {

class AppContext;

class AppDelegate final : public WatchSessionDelegate {
public:
    explicit AppDelegate(AppContext&);

    bool applicationDidFinishLaunchingWithOptions();
    bool applicationOpenURLOptions(std::string const& url);

    void applicationWillResignActive() { }
    void applicationDidEnterBackground() { }
    void applicationWillEnterForeground() { }
    void applicationDidBecomeActive() { }
    void applicationWillTerminate() { }

private:
    AppContext& m_context;
};

}
