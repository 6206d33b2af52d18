#include "navigation_controller.h"

#include "app_context.h"

namespace cw {

NavigationController::NavigationController(AppContext& context)
    : Screen(context)
{
}

void NavigationController::loadView()
{
    set_view(std::make_unique<View>(context().window.bounds()));
}

void NavigationController::set_root(std::unique_ptr<Screen> root)
{
    m_stack.clear();
    root->set_navigation_controller(this);
    m_stack.push_back(std::move(root));
}

void NavigationController::show_top()
{
    auto& container = view();
    container.remove_all_subviews();
    // The screens own their views; the container only records which one is
    // on top, for the front ends.
}

void NavigationController::push(std::unique_ptr<Screen> controller, bool animated)
{
    if (!controller)
        return;
    Screen* below = top();
    controller->set_navigation_controller(this);
    m_history.push_back({ NavigationEvent::Kind::Push, controller->class_name(), animated });
    if (below)
        below->viewWillDisappear(animated);
    m_stack.push_back(std::move(controller));
    Screen& shown = *m_stack.back();
    shown.view();
    shown.viewWillAppear(animated);
    if (below)
        below->viewDidDisappear(animated);
    shown.viewDidAppear(animated);
}

void NavigationController::pop_down_to(size_t keep, bool animated, NavigationEvent::Kind kind)
{
    if (keep == 0 || keep >= m_stack.size())
        return;
    Screen* leaving = top();
    m_history.push_back({ kind, leaving->class_name(), animated });
    leaving->viewWillDisappear(animated);
    Screen& shown = *m_stack[keep - 1];
    shown.viewWillAppear(animated);
    while (m_stack.size() > keep) {
        auto controller = std::move(m_stack.back());
        m_stack.pop_back();
        if (controller.get() == leaving)
            controller->viewDidDisappear(animated);
        context().retire(std::move(controller));
    }
    shown.viewDidAppear(animated);
}

void NavigationController::pop(bool animated)
{
    pop_down_to(m_stack.size() - 1, animated, NavigationEvent::Kind::Pop);
}

void NavigationController::pop_to_root(bool animated)
{
    pop_down_to(1, animated, NavigationEvent::Kind::PopToRoot);
}

void NavigationController::pop_to(Screen& target, bool animated)
{
    for (size_t i = 0; i < m_stack.size(); ++i) {
        if (m_stack[i].get() == &target) {
            pop_down_to(i + 1, animated, NavigationEvent::Kind::PopTo);
            return;
        }
    }
}

void NavigationController::viewWillLayoutSubviews()
{
    view().frame = context().window.bounds();
    for (auto& controller : m_stack) {
        if (controller->is_view_loaded()) {
            controller->view().frame = context().window.bounds();
            controller->viewWillLayoutSubviews();
        }
    }
}

Screen* NavigationController::visible_screen()
{
    if (presented())
        return presented()->visible_screen();
    return m_stack.empty() ? this : m_stack.back()->visible_screen();
}

void NavigationController::describe(Record& record) const
{
    List screens;
    for (auto const& controller : m_stack)
        screens.push_back(controller->snapshot());
    record["stack"] = std::move(screens);
    record["navigationBarHidden"] = navigation_bar_hidden;
}

double NavigationController::top_inset_for(Screen const& screen)
{
    auto* navigation = screen.navigation_controller();
    return navigation && !navigation->navigation_bar_hidden ? bar_height : 0;
}

}
