#pragma once

// A home screen on the simulated device, driven the way the automation
// protocol drives it: taps, long presses and drags land on whatever is
// under the finger, in virtual time. Libraries are seeded with the library
// tests' helpers (tests/library/library_fixture.h).

#include "sim/driver.h"
#include "tests/library/library_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cw::test {

using Json = nlohmann::json;

// Scripts at the top level, all with the same seeded settings.
inline SimDeviceOptions scripts_at_top(std::vector<std::string> const& titles)
{
    std::vector<std::pair<std::string, double>> scripts;
    List library;
    for (auto const& title : titles) {
        scripts.emplace_back(title, 30);
        library.push_back(script_item(title));
    }
    return library_store(scripts, std::move(library));
}

// Two top-level scripts, a folder of two and a third script:
// A, B, Talks/ (T1, T2), C.
inline SimDeviceOptions mixed_library()
{
    return library_store({ { "A", 10 }, { "B", 20 }, { "T1", 30 }, { "T2", 40 }, { "C", 50 } },
        List { script_item("A"), script_item("B"), folder_item("Talks", { "T1", "T2" }), script_item("C") });
}

struct HomeSession {
    explicit HomeSession(SimDeviceOptions options = {})
        : device(driver.launch_device("main", std::move(options)))
    {
        device.settle();
    }

    ViewController& home() { return home_of(device); }
    CollectionView& grid() { return *home()._collectionView; }
    CustomCollectionViewCell& tile(std::int64_t position)
    {
        auto* cell = grid().cell_for_item_at_index_path({ 0, position });
        if (!cell)
            throw std::logic_error("tile " + std::to_string(position) + " is not on screen");
        return static_cast<CustomCollectionViewCell&>(*cell);
    }

    Json run(Json request)
    {
        auto answer = driver.handle(request);
        EXPECT_TRUE(answer.value("ok", false)) << request.dump() << " -> " << answer.dump();
        return answer;
    }
    Json state() { return run({ { "cmd", "grid" } }); }
    // The texts of the tiles on screen, in grid order.
    std::vector<std::string> tiles()
    {
        std::vector<std::string> texts;
        auto shown = state();
        for (auto const& tile : shown["tiles"])
            texts.push_back(tile["text"]);
        return texts;
    }
    Json tap_tile(std::int64_t position) { return run({ { "cmd", "tap_tile" }, { "position", position } }); }
    Json long_press_tile(std::int64_t position, double seconds = 1.0)
    {
        return run({ { "cmd", "long_press_tile" }, { "position", position }, { "seconds", seconds } });
    }
    Json drag(std::int64_t from, std::int64_t to, bool cancel = false)
    {
        return run({ { "cmd", "drag_tile" }, { "from", from }, { "to_position", to }, { "cancel", cancel } });
    }
    Json tap(std::string const& name) { return run({ { "cmd", "tap" }, { "name", name } }); }

    // The titles of the top alert's actions, in order.
    std::vector<std::string> actions()
    {
        std::vector<std::string> titles;
        if (auto* alert = device.alert()) {
            for (auto const& action : alert->actions())
                titles.push_back(action.title);
        }
        return titles;
    }
    std::string alert_title() { return device.alert() ? device.alert()->alert_title() : "(no alert)"; }

    Driver driver;
    SimDevice& device;
};

}
