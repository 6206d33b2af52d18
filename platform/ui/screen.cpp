#include "screen.h"

#include "app_context.h"
#include "navigation_controller.h"

namespace cw {

Screen::Screen(AppContext& context)
    : m_context(context)
{
}

Screen::~Screen() = default;

View& Screen::view()
{
    if (!m_view) {
        loadView();
        if (!m_view)
            set_view(std::make_unique<View>(m_context.window.bounds()));
        viewDidLoad();
    }
    return *m_view;
}

void Screen::loadView()
{
    auto root = std::make_unique<View>(m_context.window.bounds());
    root->background = Color::white();
    set_view(std::move(root));
}

void Screen::set_view(std::unique_ptr<View> view)
{
    m_view = std::move(view);
}

NavigationController* Screen::navigation_controller() const
{
    if (m_navigation)
        return m_navigation;
    // A screen presented from inside a stack answers that stack, as the
    // toolkit does for screens presented without their own.
    return nullptr;
}

void Screen::present(std::unique_ptr<Screen> controller, bool animated, std::function<void()> completion)
{
    if (!controller)
        return;
    if (m_presented) {
        // The toolkit refuses to present twice from one screen; say so and
        // keep the current one.
        m_context.log.line(std::string("Attempt to present ") + controller->class_name() + " on " + class_name() + " which is already presenting " + m_presented->class_name());
        return;
    }
    m_last_presentation_animated = animated;
    controller->m_presenting = this;
    m_presented = std::move(controller);
    m_presented->view();
    m_presented->viewWillAppear(animated);
    m_presented->viewDidAppear(animated);
    if (completion)
        completion();
}

void Screen::dismiss(bool animated, std::function<void()> completion)
{
    if (!m_presented) {
        if (m_presenting)
            m_presenting->dismiss(animated, std::move(completion));
        return;
    }
    m_last_presentation_animated = animated;
    auto leaving = std::move(m_presented);
    leaving->viewWillDisappear(animated);
    leaving->viewDidDisappear(animated);
    leaving->m_presenting = nullptr;
    m_context.retire(std::move(leaving));
    if (completion)
        completion();
}

Screen* Screen::visible_screen()
{
    if (m_presented)
        return m_presented->visible_screen();
    return this;
}

void Screen::defer(std::function<void()> work)
{
    std::weak_ptr<void> alive = m_alive;
    m_context.loop.post([alive, work = std::move(work)] {
        if (!alive.expired())
            work();
    });
}

Value Screen::snapshot()
{
    Record record;
    record["class"] = class_name();
    if (!storyboard_identifier.empty())
        record["identifier"] = storyboard_identifier;
    if (!title.empty())
        record["title"] = title;
    describe(record);
    // A presented screen that does not cover the whole window is a sheet
    // the presenter may swipe away.
    if (m_presenting && modal_presentation_style != ModalPresentationStyle::FullScreen)
        record["sheet"] = true;
    if (m_view)
        record["view"] = m_view->snapshot();
    if (m_presented)
        record["presented"] = m_presented->snapshot();
    return record;
}

}
