#pragma once

// Alerts and action sheets. Presenting one never blocks: it appears at once
// and the presenter goes on. When the user picks an action, the alert is
// dismissed first and the action's handler runs after it is gone, reading
// whatever the user typed into the text fields.
//
// On a tablet an action sheet is a popover and needs an anchor: a bar
// button by name, or a source view and a rectangle in it.

#include "platform/ui/screen.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cw {

enum class AlertStyle { Alert, ActionSheet };
enum class AlertActionStyle { Default, Cancel, Destructive };
enum class KeyboardType { Default, AsciiCapable, NumberPad, EmailAddress, Url };

class AlertController;

struct AlertAction {
    std::string title;
    AlertActionStyle style { AlertActionStyle::Default };
    std::function<void(AlertController&)> handler;
    bool enabled { true };
};

struct AlertTextField {
    std::string placeholder;
    std::string text;
    KeyboardType keyboard { KeyboardType::Default };
};

struct PopoverAnchor {
    std::string bar_button;
    View* source_view { nullptr };
    Rect source_rect;
};

class AlertController final : public Screen {
public:
    AlertController(AppContext&, std::string title, std::string message, AlertStyle);

    std::string const& alert_title() const { return m_title; }
    std::string const& message() const { return m_message; }
    AlertStyle style() const { return m_style; }

    void add_action(std::string title, AlertActionStyle, std::function<void(AlertController&)> handler = {});
    AlertTextField& add_text_field(std::string placeholder = {}, KeyboardType = KeyboardType::Default);

    std::vector<AlertAction> const& actions() const { return m_actions; }
    // Turns an action on or off while the alert is up; false when there is
    // no such action.
    bool set_action_enabled(std::string const& action_title, bool enabled);
    std::vector<AlertTextField> const& text_fields() const { return m_fields; }
    std::string field_text(size_t index) const { return index < m_fields.size() ? m_fields[index].text : std::string {}; }

    std::optional<PopoverAnchor> popover_anchor;

    // The user's side. Answer false when there is no such field or action.
    bool type_into(size_t field, std::string text);
    bool choose(std::string const& action_title);
    // Esc and taps outside a sheet pick the cancel action, when there is one.
    bool cancel();

    char const* class_name() const override { return "AlertController"; }
    void describe(Record&) const override;

private:
    std::string m_title;
    std::string m_message;
    AlertStyle m_style;
    std::vector<AlertAction> m_actions;
    std::vector<AlertTextField> m_fields;
    bool m_answered { false };
};

}
