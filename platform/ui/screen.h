#pragma once

// A screen controller. It loads its view once, on first use, then runs
// `viewDidLoad`; each time it is shown it gets `viewWillAppear` and
// `viewDidAppear`, and when it is covered or removed the matching
// disappear calls. It can present another controller modally and owns what
// it presents. Navigation controllers (navigation_controller.h) own a stack
// of them.
//
// Controllers that leave the screen are not destroyed on the spot, because
// the call that removed them is usually still running inside them; the
// application context retires them and they die at the end of the turn.
// Work deferred to a later turn holds the controller weakly (`defer`), so it
// is simply skipped once the screen is gone.

#include "platform/foundation/value.h"
#include "platform/ui/view.h"

#include <functional>
#include <memory>
#include <string>

namespace cw {

class AppContext;
class NavigationController;

enum class ModalPresentationStyle { Automatic, FullScreen, Popover, FormSheet, OverCurrentContext };

class Screen {
public:
    explicit Screen(AppContext&);
    virtual ~Screen();
    Screen(Screen const&) = delete;
    Screen& operator=(Screen const&) = delete;

    AppContext& context() const { return m_context; }

    // Loads the view on first use.
    View& view();
    bool is_view_loaded() const { return m_view != nullptr; }

    // The toolkit's hooks, which screens override.
    virtual void loadView();
    virtual void viewDidLoad() { }
    virtual void viewWillAppear(bool) { }
    virtual void viewDidAppear(bool) { }
    virtual void viewWillDisappear(bool) { }
    virtual void viewDidDisappear(bool) { }
    // The window changed size; lay the view out again.
    virtual void viewWillLayoutSubviews() { }

    // The class name as the product knows it, e.g. "scriptViewController".
    virtual char const* class_name() const { return "Screen"; }
    // Screen-level state for snapshots beyond the view tree.
    virtual void describe(Record&) const { }

    std::string storyboard_identifier;
    std::string title;
    ModalPresentationStyle modal_presentation_style { ModalPresentationStyle::Automatic };

    NavigationController* navigation_controller() const;
    void set_navigation_controller(NavigationController* nav) { m_navigation = nav; }

    // Modal presentation. Never blocks: the presented screen appears at once
    // and the completion runs after it has appeared.
    void present(std::unique_ptr<Screen>, bool animated, std::function<void()> completion = {});
    // Dismisses what this controller presented, or, when it presents
    // nothing, dismisses this controller from its presenter.
    void dismiss(bool animated, std::function<void()> completion = {});
    Screen* presented() const { return m_presented.get(); }
    Screen* presenting() const { return m_presenting; }
    bool last_presentation_animated() const { return m_last_presentation_animated; }

    // The topmost controller shown from here: follows presented screens and
    // the top of navigation stacks.
    virtual Screen* visible_screen();

    // Runs `work` in a later main-queue turn, unless this screen is gone.
    void defer(std::function<void()> work);
    std::weak_ptr<void> weak_token() const { return m_alive; }

    Value snapshot();

protected:
    void set_view(std::unique_ptr<View>);

private:
    AppContext& m_context;
    std::unique_ptr<View> m_view;
    NavigationController* m_navigation { nullptr };
    std::unique_ptr<Screen> m_presented;
    Screen* m_presenting { nullptr };
    bool m_last_presentation_animated { false };
    std::shared_ptr<int> m_alive { std::make_shared<int>(0) };
};

}
