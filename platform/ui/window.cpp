#include "window.h"

#include "screen.h"

namespace cw {

Window::Window(Size size, Idiom idiom)
    : m_size(size)
    , m_idiom(idiom)
{
}

Window::~Window() = default;

void Window::set_root(std::unique_ptr<Screen> root)
{
    m_root = std::move(root);
}

void Window::set_size(Size size)
{
    if (size == m_size)
        return;
    m_size = size;
    if (m_root && m_root->is_view_loaded()) {
        m_root->view().frame = bounds();
        m_root->viewWillLayoutSubviews();
    }
}

Screen* Window::visible_screen() const
{
    return m_root ? m_root->visible_screen() : nullptr;
}

}
