#include "alert_controller.h"

#include "app_context.h"

#include <algorithm>

namespace cw {

AlertController::AlertController(AppContext& context, std::string title, std::string message, AlertStyle style)
    : Screen(context)
    , m_title(std::move(title))
    , m_message(std::move(message))
    , m_style(style)
{
}

void AlertController::add_action(std::string title, AlertActionStyle style, std::function<void(AlertController&)> handler)
{
    m_actions.push_back({ std::move(title), style, std::move(handler), true });
}

AlertTextField& AlertController::add_text_field(std::string placeholder, KeyboardType keyboard)
{
    m_fields.push_back({ std::move(placeholder), {}, keyboard });
    return m_fields.back();
}

bool AlertController::type_into(size_t field, std::string text)
{
    if (field >= m_fields.size())
        return false;
    m_fields[field].text = std::move(text);
    return true;
}

bool AlertController::set_action_enabled(std::string const& action_title, bool enabled)
{
    auto it = std::find_if(m_actions.begin(), m_actions.end(), [&](auto const& a) { return a.title == action_title; });
    if (it == m_actions.end())
        return false;
    it->enabled = enabled;
    return true;
}

bool AlertController::choose(std::string const& action_title)
{
    if (m_answered)
        return false;
    auto it = std::find_if(m_actions.begin(), m_actions.end(), [&](auto const& a) { return a.title == action_title && a.enabled; });
    if (it == m_actions.end())
        return false;
    m_answered = true;
    auto handler = it->handler;
    // The alert is retired, not destroyed, by the dismissal, so the handler
    // can still read the fields.
    dismiss(true);
    if (handler)
        handler(*this);
    return true;
}

bool AlertController::cancel()
{
    auto it = std::find_if(m_actions.begin(), m_actions.end(), [](auto const& a) { return a.style == AlertActionStyle::Cancel; });
    if (it == m_actions.end())
        return false;
    return choose(it->title);
}

static char const* keyboard_name(KeyboardType keyboard)
{
    switch (keyboard) {
    case KeyboardType::Default: return "default";
    case KeyboardType::AsciiCapable: return "asciiCapable";
    case KeyboardType::NumberPad: return "numberPad";
    case KeyboardType::EmailAddress: return "emailAddress";
    case KeyboardType::Url: return "url";
    }
    return "default";
}

void AlertController::describe(Record& record) const
{
    record["alertTitle"] = m_title;
    record["message"] = m_message;
    record["style"] = m_style == AlertStyle::Alert ? "alert" : "actionSheet";
    List actions;
    for (auto const& action : m_actions) {
        char const* style = action.style == AlertActionStyle::Cancel ? "cancel" : action.style == AlertActionStyle::Destructive ? "destructive" : "default";
        actions.push_back(Record { { "title", action.title }, { "style", style }, { "enabled", action.enabled } });
    }
    record["actions"] = std::move(actions);
    List fields;
    for (auto const& field : m_fields)
        fields.push_back(Record { { "placeholder", field.placeholder }, { "text", field.text }, { "keyboard", keyboard_name(field.keyboard) } });
    record["textFields"] = std::move(fields);
    if (popover_anchor) {
        Record anchor;
        if (!popover_anchor->bar_button.empty())
            anchor["barButton"] = popover_anchor->bar_button;
        if (popover_anchor->source_view) {
            anchor["sourceView"] = popover_anchor->source_view->name;
            anchor["sourceRect"] = to_value(popover_anchor->source_rect);
        }
        record["popover"] = std::move(anchor);
    }
}

}
