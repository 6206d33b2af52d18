#pragma once

// The platform's share sheet. It offers the activities the platform has for
// the items, less the excluded ones; choosing one hands the items to it.

#include "platform/ui/alert_controller.h"
#include "platform/ui/screen.h"

#include <string>
#include <vector>

namespace cw {

namespace activity_type {
inline constexpr char assign_to_contact[] = "assignToContact";
inline constexpr char mail[] = "mail";
inline constexpr char message[] = "message";
inline constexpr char save_to_files[] = "saveToFiles";
inline constexpr char airdrop[] = "nearbyShare";
}

class ShareService {
public:
    virtual ~ShareService() = default;
    // What the platform offers for these items, in display order.
    virtual std::vector<std::string> activity_types_for(std::vector<std::string> const& items) const = 0;
    virtual void perform(std::string const& activity_type, std::vector<std::string> const& items) = 0;
};

class ActivityViewController final : public Screen {
public:
    ActivityViewController(AppContext&, std::vector<std::string> activity_items);

    std::vector<std::string> const& activity_items() const { return m_items; }
    std::vector<std::string> excluded_activity_types;
    // On a tablet the sheet is a popover and needs an anchor.
    std::optional<PopoverAnchor> popover_anchor;
    // The activities the sheet shows.
    std::vector<std::string> offered_activity_types() const;
    // The user picks an activity; false when it is not offered. The sheet
    // goes away either way it is answered.
    bool choose(std::string const& activity);

    char const* class_name() const override { return "ActivityViewController"; }
    // A row of buttons at the bottom: one per offered activity (named
    // "activity_" and its type) and "Cancel".
    void loadView() override;
    void describe(Record&) const override;

private:
    std::vector<std::string> m_items;
};

}
