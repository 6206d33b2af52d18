#include "share_sheet.h"

#include "platform/ui/app_context.h"
#include "platform/ui/controls.h"

#include <algorithm>

namespace cw {

ActivityViewController::ActivityViewController(AppContext& context, std::vector<std::string> activity_items)
    : Screen(context)
    , m_items(std::move(activity_items))
{
}

std::vector<std::string> ActivityViewController::offered_activity_types() const
{
    auto* share = context().services.find<ShareService>();
    if (!share)
        return {};
    auto offered = share->activity_types_for(m_items);
    std::erase_if(offered, [this](std::string const& type) {
        return std::find(excluded_activity_types.begin(), excluded_activity_types.end(), type) != excluded_activity_types.end();
    });
    return offered;
}

bool ActivityViewController::choose(std::string const& activity)
{
    auto offered = offered_activity_types();
    if (std::find(offered.begin(), offered.end(), activity) == offered.end())
        return false;
    auto items = m_items;
    auto& share = context().services.get<ShareService>();
    dismiss(true);
    share.perform(activity, items);
    return true;
}

static std::string activity_title(std::string const& type)
{
    static std::pair<char const*, char const*> const titles[] = {
        { activity_type::assign_to_contact, "Assign to Contact" },
        { activity_type::mail, "Mail" },
        { activity_type::message, "Message" },
        { activity_type::save_to_files, "Save to Files" },
        { activity_type::airdrop, "Nearby Share" },
    };
    for (auto const& [key, title] : titles) {
        if (type == key)
            return title;
    }
    return type;
}

void ActivityViewController::loadView()
{
    auto bounds = context().window.bounds();
    auto root = std::make_unique<View>(bounds);
    root->background = Color { 0, 0, 0, 0.3 };
    constexpr double row = 52;
    auto offered = offered_activity_types();
    double y = bounds.size.height - row * static_cast<double>(offered.size() + 1) - 20;
    auto add_row = [&](std::string name, std::string title, std::function<void()> tap) {
        auto button = std::make_unique<Button>(Rect { { 8, y }, { bounds.size.width - 16, row - 4 } });
        button->name = std::move(name);
        button->title = std::move(title);
        button->background = Color::white();
        button->on_tap = std::move(tap);
        root->add_subview(std::move(button));
        y += row;
    };
    for (auto const& type : offered)
        add_row("activity_" + type, activity_title(type), [this, type] { choose(type); });
    add_row("cancelButton", "Cancel", [this] { dismiss(true); });
    set_view(std::move(root));
}

void ActivityViewController::describe(Record& record) const
{
    List items, offered;
    for (auto const& item : m_items)
        items.push_back(Value(item));
    for (auto const& type : offered_activity_types())
        offered.push_back(Value(type));
    record["activityItems"] = Value(std::move(items));
    record["offeredActivityTypes"] = Value(std::move(offered));
}

}
