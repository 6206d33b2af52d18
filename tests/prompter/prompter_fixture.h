#pragma once

// A simulated device whose store holds scripts (the nine parallel lists),
// with the prompter opened on one of them the way the home screen opens it.

#include "library/store_keys.h"
#include "prompter/scriptViewController.h"
#include "sim/prompter_driving.h"
#include "sim/sim_device.h"
#include "tests/support/script_store.h"
#include "platform/ui/color_archive.h"
#include "platform/ui/navigation_controller.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace cw::testing {

// Many short paragraphs: far taller than any window.
inline std::string long_text(int paragraphs = 200)
{
    std::string text;
    for (int i = 0; i < paragraphs; ++i)
        text += "Line " + std::to_string(i) + " of the script.\n";
    return text;
}

class PrompterTest : public ::testing::Test {
protected:
    // Launches a device holding `scripts` and opens the one at `index`.
    scriptViewController& open(std::vector<ScriptSeed> scripts, std::int64_t index = 0, SimDeviceOptions options = {})
    {
        // What the options hold wins over the seeded lists, so a test can
        // damage one.
        options.store.merge(store_with(scripts));
        device = std::make_unique<SimDevice>(loop, std::move(options));
        device->launch();
        return reopen(index);
    }

    scriptViewController& open(ScriptSeed script = {}, SimDeviceOptions options = {})
    {
        return open(std::vector<ScriptSeed> { std::move(script) }, 0, std::move(options));
    }

    // Opens another prompter on the device already running.
    scriptViewController& reopen(std::int64_t index)
    {
        std::string error;
        auto* prompter = open_script(*device, index, error);
        if (!prompter)
            throw std::runtime_error(error);
        return *prompter;
    }

    NavigationController& navigation() { return *device->app().navigation(); }
    void post(char const* notification) { device->context().notifications.post(notification); }
    bool logged(std::string const& line) const { return device->log().contains(line); }

    RunLoop loop;
    std::unique_ptr<SimDevice> device;
};

}
