#pragma once

// A simulated device whose store holds scripts, with a settings screen
// opened on one of them. The screens are presented straight over the home
// screen, which is all they need: they learn their script from
// "currentlyEditingIndex" and talk to a prompter only through
// notifications, which `Heard` records.

#include "library/store_keys.h"
#include "platform/ui/color_archive.h"
#include "prompter/notifications.h"
#include "settings/SettingsTableViewController.h"
#include "settings/settingsViewController.h"
#include "sim/sim_device.h"
#include "tests/support/script_store.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace cw::testing {

// The notifications a prompter would hear, in order, with whether each came
// from the screen under test.
struct Heard {
    explicit Heard(NotificationCenter& center)
    {
        for (char const* name : { notifications::TestNotification, notifications::HMirrorTurnedOnNotification, notifications::HMirrorTurnedOffNotification }) {
            m_tokens.push_back(center.observe(name, nullptr, [this, name] { names.push_back(name); }));
        }
    }
    int count(std::string const& name) const { return static_cast<int>(std::count(names.begin(), names.end(), name)); }
    std::vector<std::string> names;

private:
    std::vector<ObservationToken> m_tokens;
};

class SettingsTest : public ::testing::Test {
protected:
    // Launches a device holding `scripts` (plus `extra` keys, which win)
    // with "currentlyEditingIndex" at `index`.
    void launch(std::vector<ScriptSeed> scripts = { ScriptSeed {} }, std::int64_t index = 0, std::map<std::string, Value> extra = {})
    {
        SimDeviceOptions options;
        options.store = std::move(extra);
        options.store.merge(store_with(scripts));
        options.store[keys::currentlyEditingIndex] = index;
        device = std::make_unique<SimDevice>(loop, std::move(options));
        device->launch();
        heard = std::make_unique<Heard>(device->context().notifications);
    }

    template<typename T>
    T& present(char const* identifier)
    {
        auto screen = device->context().storyboard.instantiate(device->context(), identifier);
        auto* typed = dynamic_cast<T*>(screen.get());
        if (!typed)
            throw std::runtime_error(std::string("no screen for ") + identifier);
        device->top()->present(std::move(screen), true);
        device->settle();
        return *typed;
    }

    SettingsTableViewController& open_settings() { return present<SettingsTableViewController>("NEWSET"); }
    settingsViewController& open_legacy() { return present<settingsViewController>("settingsID"); }

    // What the platform does when the presenter swipes the sheet away: in
    // a turn of its own, at whose end the screen is gone.
    void swipe_away(Screen& screen)
    {
        loop.post([&screen] { screen.dismiss(true); });
        device->settle();
    }

    bool is_shown(Screen const& screen) const { return device->top() == &screen; }
    List stored(char const* key) const { return device->store().list(key); }
    Value stored_at(char const* key, size_t index) const
    {
        auto list = stored(key);
        return index < list.size() ? list[index] : Value("<none>");
    }
    bool logged(std::string const& line) const { return device->log().contains(line); }
    sim::SimPermissions& permissions() { return *device->platform().permissions; }

    RunLoop loop;
    std::unique_ptr<SimDevice> device;
    std::unique_ptr<Heard> heard;
};

}
