#pragma once

// The application window: its size in points, the device idiom, and the root
// screen. Changing the size lays every loaded screen out again, so a
// prompter fills a laptop screen, a tablet or a phone.

#include "platform/ui/geometry.h"

#include <memory>
#include <optional>
#include <string>

namespace cw {

class Screen;

enum class Idiom { Phone, Tablet };

class Window {
public:
    Window(Size size, Idiom idiom);
    ~Window();

    Size size() const { return m_size; }
    Rect bounds() const { return { {}, m_size }; }
    Idiom idiom() const { return m_idiom; }
    bool is_tablet() const { return m_idiom == Idiom::Tablet; }
    void set_idiom(Idiom idiom) { m_idiom = idiom; }
    void set_size(Size);

    std::string device_name { "Presenter's device" };
    bool status_bar_light_content { false };
    // The on-screen keyboard's final frame in window coordinates while it is
    // up; none while it is down. keyboard.h sets it before announcing a
    // change, so observers read it as the change's details.
    std::optional<Rect> keyboard_frame;

    void set_root(std::unique_ptr<Screen>);
    Screen* root() const { return m_root.get(); }
    // What the user sees on top: presented screens first, then the top of
    // the navigation stack.
    Screen* visible_screen() const;

private:
    Size m_size;
    Idiom m_idiom;
    std::unique_ptr<Screen> m_root;
};

}
