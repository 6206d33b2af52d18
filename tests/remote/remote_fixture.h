#pragma once

// Prompter devices and remote devices side by side: several simulated
// devices on one run loop, sharing one peer-to-peer air.

#include "../prompter/prompter_fixture.h"
#include "prompter/speed_text.h"
#include "remote/RemoteCommandSenderViewController.h"
#include "platform/sim/sim_peer_connectivity.h"
#include "platform/ui/storyboard.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace cw::testing {

class RemoteTest : public ::testing::Test {
protected:
    SimDeviceOptions options(std::string const& name)
    {
        SimDeviceOptions o;
        o.device_name = name;
        o.air = air;
        return o;
    }

    // A device with the prompter open on a long script.
    SimDevice& prompter_device(std::string const& name)
    {
        auto o = options(name);
        o.store = store_with({ ScriptSeed { .title = "Intro", .text = long_text() } });
        auto& device = add(std::move(o));
        std::string error;
        if (!open_script(device, 0, error))
            throw std::runtime_error(error);
        return device;
    }

    // A device with the remote sender screen open over its home screen.
    SimDevice& remote_device(std::string const& name)
    {
        auto& device = add(options(name));
        open_sender(device);
        return device;
    }

    static RemoteCommandSenderViewController& open_sender(SimDevice& device)
    {
        auto screen = device.context().storyboard.instantiate(device.context(), "RemoteID");
        device.top()->present(std::move(screen), true);
        device.settle();
        return *sender(device);
    }

    static RemoteCommandSenderViewController* sender(SimDevice& device) { return device.top_as<RemoteCommandSenderViewController>(); }
    static scriptViewController& prompter(SimDevice& device)
    {
        auto* p = top_prompter(device);
        if (!p)
            throw std::runtime_error("no prompter on top");
        return *p;
    }

    // Runs every device until nothing is left to deliver.
    void settle()
    {
        // A turn of its own, as after any user input: screens closed by
        // the test's own calls are released at the end of a turn.
        loop.post([] { });
        for (int round = 0; round < 20; ++round) {
            for (auto& device : devices)
                device->settle();
            bool quiet = true;
            for (auto& device : devices)
                quiet = quiet && device->platform().queue.empty();
            if (quiet)
                return;
        }
    }

    // Brings the remote and the prompter together and accepts the
    // invitation; the prompter's "Connected" alert is answered.
    void connect(SimDevice& prompter_side)
    {
        settle();
        ASSERT_TRUE(prompter_side.platform().peers->answer_invitation(true));
        settle();
        ASSERT_TRUE(prompter_side.choose("OK"));
    }

    static bool logged(SimDevice& device, std::string const& line) { return device.log().contains(line); }

    static std::string speed_field(SimDevice& device) { return prompter(device).SpeedField->text; }
    static std::int64_t stored_speed_of(SimDevice& device)
    {
        auto viewing = device.store().integer(keys::CurrentlyViewing);
        return device.store().integer(speed_key(viewing));
    }

    RunLoop loop;
    std::shared_ptr<sim::SimPeerAir> air { sim::make_peer_air() };
    std::vector<std::unique_ptr<SimDevice>> devices;

private:
    SimDevice& add(SimDeviceOptions o)
    {
        devices.push_back(std::make_unique<SimDevice>(loop, std::move(o)));
        devices.back()->launch();
        return *devices.back();
    }
};

}
