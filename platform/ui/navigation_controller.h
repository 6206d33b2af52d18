#pragma once

// A stack of screens. Pushing shows a new screen on top; popping removes the
// top one and shows the one below again, with the appearance calls the
// toolkit makes. Whether each change was animated is recorded, because some
// screens ask for it explicitly (the editor pops to the home screen without
// animation).

#include "platform/ui/screen.h"

#include <vector>

namespace cw {

struct NavigationEvent {
    enum class Kind { Push, Pop, PopToRoot, PopTo } kind;
    std::string screen;
    bool animated;
};

class NavigationController final : public Screen {
public:
    explicit NavigationController(AppContext&);

    void set_root(std::unique_ptr<Screen>);
    void push(std::unique_ptr<Screen>, bool animated);
    void pop(bool animated);
    void pop_to_root(bool animated);
    void pop_to(Screen&, bool animated);

    Screen* top() const { return m_stack.empty() ? nullptr : m_stack.back().get(); }
    Screen* root() const { return m_stack.empty() ? nullptr : m_stack.front().get(); }
    std::vector<std::unique_ptr<Screen>> const& stack() const { return m_stack; }
    std::vector<NavigationEvent> const& history() const { return m_history; }

    bool navigation_bar_hidden { false };
    // The bar the front ends draw over the top of the screen on top.
    static constexpr double bar_height = 44;
    // How far down a screen's own controls start so that the bar does not
    // cover them: the bar's height while it shows, else nothing.
    static double top_inset_for(Screen const&);

    char const* class_name() const override { return "NavigationController"; }
    void loadView() override;
    void viewWillLayoutSubviews() override;
    Screen* visible_screen() override;
    void describe(Record&) const override;

private:
    void pop_down_to(size_t keep, bool animated, NavigationEvent::Kind);
    void show_top();

    std::vector<std::unique_ptr<Screen>> m_stack;
    std::vector<NavigationEvent> m_history;
};

}
