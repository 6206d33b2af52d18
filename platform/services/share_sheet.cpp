#include "share_sheet.h"

#include "platform/ui/app_context.h"

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
