#pragma once

// Everything one application instance needs, handed to each screen: the
// run loop (which two devices in one test may share), the defaults store,
// the notification centre, the log, the data paths, the window, the
// storyboard and the services. There are no hidden globals; a test that
// runs two devices side by side builds two contexts.

#include "platform/foundation/defaults.h"
#include "platform/foundation/log.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/paths.h"
#include "platform/foundation/run_loop.h"
#include "platform/services/service_registry.h"
#include "platform/ui/storyboard.h"
#include "platform/ui/window.h"

#include <memory>
#include <vector>

namespace cw {

class Screen;

class AppContext {
public:
    AppContext(RunLoop&, std::unique_ptr<Persistence>, Paths, Size window_size, Idiom);
    ~AppContext();

    RunLoop& loop;
    Defaults defaults;
    NotificationCenter notifications;
    Log log;
    Paths paths;
    Window window;
    StoryboardRegistry storyboard;
    ServiceRegistry services;

    // Keeps a screen that just left alive until the end of the current turn.
    void retire(std::unique_ptr<Screen>);

private:
    void release_retired();
    std::vector<std::unique_ptr<Screen>> m_retired;
    LoopHandle m_flush_hook;
};

}
