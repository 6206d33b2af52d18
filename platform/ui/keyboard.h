#pragma once

// The on-screen keyboard. When it is about to slide up or down, the
// application's notification centre announces it; the keyboard's final
// frame comes with the announcement as the window's `keyboard_frame`, so a
// screen can keep its text clear of the keyboard.
//
// Front ends call these when editing starts and ends (the headless driver
// on request, the browser when its text area gains or loses focus).

namespace cw {

class AppContext;

inline constexpr char keyboard_will_show_notification[] = "KeyboardWillShow";
inline constexpr char keyboard_will_hide_notification[] = "KeyboardWillHide";

// The keyboard rises to `height` points along the bottom of the window.
void show_keyboard(AppContext&, double height);
void hide_keyboard(AppContext&);

}
