#pragma once

// One running Cuewright: its context, its application delegate and its
// screens. Front ends (the headless driver, the browser front end, tests)
// build an Application with the back ends they want and call `launch`,
// which does what the program entry hands to the platform: the delegate's
// launch work, then the "Main" layout's navigation stack with the home
// screen as its first screen.

#include "app/AppDelegate.h"
#include "platform/ui/app_context.h"

#include <functional>
#include <memory>

namespace cw {

class Screen;
class NavigationController;

struct ApplicationSetup {
    Paths paths;
    Size window_size { 390, 844 };
    Idiom idiom { Idiom::Phone };
    std::string device_name { "Presenter's device" };
};

class Application {
public:
    // `install_services` puts one implementation of every service into the
    // registry; it is the one place where back ends are chosen.
    Application(RunLoop&, std::unique_ptr<Persistence>, ApplicationSetup, std::function<void(AppContext&)> install_services);
    ~Application();

    void launch();
    bool launched() const { return m_launched; }

    AppContext& context() { return *m_context; }
    AppDelegate& delegate() { return *m_delegate; }
    NavigationController* navigation() const;
    // The home screen, first on the stack.
    Screen* home() const;

private:
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<AppDelegate> m_delegate;
    bool m_launched { false };
};

// Registers every screen of the "Main" layout.
void register_main_storyboard(StoryboardRegistry&);

// The program entry's hand-over: builds nothing itself, runs the launch of
// an application built by the caller, and answers the exit status.
int ApplicationMain(Application&);

}
