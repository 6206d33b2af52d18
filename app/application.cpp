#include "application.h"

#include "home/ViewController.h"
#include "platform/ui/navigation_controller.h"

namespace cw {

Application::Application(RunLoop& loop, std::unique_ptr<Persistence> persistence, ApplicationSetup setup, std::function<void(AppContext&)> install_services)
    : m_context(std::make_unique<AppContext>(loop, std::move(persistence), setup.paths, setup.window_size, setup.idiom))
{
    m_context->window.device_name = setup.device_name;
    install_services(*m_context);
    register_main_storyboard(m_context->storyboard);
    m_delegate = std::make_unique<AppDelegate>(*m_context);
}

Application::~Application()
{
    // Screens must go before the delegate they may point at.
    m_context->window.set_root(nullptr);
}

void Application::launch()
{
    if (m_launched)
        return;
    m_launched = true;
    m_delegate->applicationDidFinishLaunchingWithOptions();
    auto navigation = std::make_unique<NavigationController>(*m_context);
    navigation->set_root(std::make_unique<ViewController>(*m_context));
    auto& nav = *navigation;
    m_context->window.set_root(std::move(navigation));
    nav.view();
    nav.root()->view();
    nav.root()->viewWillAppear(false);
    nav.root()->viewDidAppear(false);
}

NavigationController* Application::navigation() const
{
    return dynamic_cast<NavigationController*>(m_context->window.root());
}

Screen* Application::home() const
{
    auto* nav = navigation();
    return nav ? nav->root() : nullptr;
}

int ApplicationMain(Application& application)
{
    application.launch();
    return 0;
}

}
