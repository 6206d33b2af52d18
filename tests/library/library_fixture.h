#pragma once

// A small library for tests: scripts whose seven settings all derive from
// their text size, so that a settings list shifted against the titles (or
// one list shifted against the others) shows at once, and a checker for the
// store's invariants:
//
//   1. as many texts as titles;
//   2. every settings list has one element per title, and the element at
//      position i belongs to the script titled titles[i];
//   4. every script has exactly one record, at the top level or in one
//      folder, named like its title;
//   6. every folder record of the library list has one equal copy in the
//      folder list.
//
// A script created by the editor has text size 56 and the start values.

#include "home/ViewController.h"
#include "library/library_records.h"
#include "library/script_start_values.h"
#include "library/store_keys.h"
#include "platform/ui/color_archive.h"
#include "sim/sim_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

namespace cw::test {

inline Value script_item(std::string const& title)
{
    return make_script_record(title, title + "_1.000000");
}

inline Value folder_item(std::string const& name, std::vector<std::string> const& titles)
{
    List scripts;
    for (auto const& title : titles)
        scripts.push_back(script_item(title));
    return make_folder_record(name, std::move(scripts));
}

// The seven settings of a seeded script, all following from its size.
inline std::array<Value, 7> settings_for_size(double size)
{
    if (size == 56.0)
        return script_start_values();
    int step = static_cast<int>(size / 10);
    return {
        Value(size),
        Value(step % 2 == 0),
        Value(archive_color({ size / 100, 0, 0, 1 })),
        Value(archive_color({ 0, size / 100, 0, 1 })),
        Value(step % 3 == 0),
        Value(step % 4 == 0),
        Value(step % 5 == 0),
    };
}

// Titles in script-index order with their sizes; the library list as given;
// the folder list holds a copy of each folder record of the library list.
inline SimDeviceOptions library_store(std::vector<std::pair<std::string, double>> const& scripts, List library)
{
    SimDeviceOptions options;
    List titles, texts;
    std::array<List, 7> settings;
    for (auto const& [title, size] : scripts) {
        titles.push_back(title);
        texts.push_back("text of " + title);
        auto values = settings_for_size(size);
        for (size_t k = 0; k < settings.size(); ++k)
            settings[k].push_back(values[k]);
    }
    List folders;
    for (auto const& item : library) {
        if (is_folder_record(item))
            folders.push_back(item);
    }
    options.store[keys::scriptTitlesArray] = titles;
    options.store[keys::scriptTextArray] = texts;
    for (size_t k = 0; k < settings.size(); ++k)
        options.store[keys::perScriptSettings[k]] = settings[k];
    options.store[keys::combinedDataSource] = std::move(library);
    options.store[keys::folders] = std::move(folders);
    return options;
}

inline std::vector<std::string> top_level_names(Defaults const& store)
{
    std::vector<std::string> names;
    for (auto const& item : store.list(keys::combinedDataSource))
        names.push_back(is_folder_record(item) ? record_name(item) + "/" : record_name(item));
    return names;
}

inline std::vector<std::string> folder_contents(Defaults const& store, std::string const& folder)
{
    std::vector<std::string> names;
    for (auto const& item : store.list(keys::combinedDataSource)) {
        if (is_folder_record(item) && record_name(item) == folder) {
            for (auto const& script : folder_scripts(item))
                names.push_back(record_name(script));
            break;
        }
    }
    return names;
}

// `sizes` gives each title's seeded size (56 for scripts the editor made).
inline ::testing::AssertionResult library_is_consistent(Defaults const& store, std::map<std::string, double> const& sizes)
{
    auto titles = string_list(store.list(keys::scriptTitlesArray));
    auto n = titles.size();
    if (store.list(keys::scriptTextArray).size() != n)
        return ::testing::AssertionFailure() << "1: " << n << " titles but " << store.list(keys::scriptTextArray).size() << " texts";
    for (size_t k = 0; k < 7; ++k) {
        auto list = store.list(keys::perScriptSettings[k]);
        if (list.size() != n)
            return ::testing::AssertionFailure() << "2: " << keys::perScriptSettings[k] << " has " << list.size() << " elements for " << n << " titles";
        for (size_t i = 0; i < n; ++i) {
            auto size = sizes.find(titles[i]);
            if (size == sizes.end())
                return ::testing::AssertionFailure() << "unexpected title \"" << titles[i] << '"';
            if (list[i] != settings_for_size(size->second)[k])
                return ::testing::AssertionFailure() << "2: " << keys::perScriptSettings[k] << "[" << i << "] does not belong to \"" << titles[i] << '"';
        }
    }

    std::vector<std::string> record_names;
    List library_folders;
    for (auto const& item : store.list(keys::combinedDataSource)) {
        if (is_folder_record(item)) {
            library_folders.push_back(item);
            for (auto const& script : folder_scripts(item))
                record_names.push_back(record_name(script));
        } else {
            record_names.push_back(record_name(item));
        }
    }
    std::sort(record_names.begin(), record_names.end());
    std::sort(titles.begin(), titles.end());
    if (record_names != titles)
        return ::testing::AssertionFailure() << "4: the records do not name each script once: " << describe(store.list(keys::combinedDataSource));

    auto folders = store.list(keys::folders);
    if (folders.size() != library_folders.size())
        return ::testing::AssertionFailure() << "6: " << folders.size() << " folder copies for " << library_folders.size() << " folders";
    for (auto const& folder : library_folders) {
        if (std::count(folders.begin(), folders.end(), folder) != 1)
            return ::testing::AssertionFailure() << "6: no single copy of " << describe(folder) << " in " << describe(Value(folders));
    }
    return ::testing::AssertionSuccess();
}

inline ViewController& home_of(SimDevice& device)
{
    auto* home = dynamic_cast<ViewController*>(device.app().home());
    if (!home)
        throw std::logic_error("no home screen");
    return *home;
}

// Types into the top alert's first field (when text is given) and picks an
// action; fails the test when either is not there.
inline void answer(SimDevice& device, std::string const& action, std::optional<std::string> text = std::nullopt)
{
    ASSERT_NE(device.alert(), nullptr) << "no alert for \"" << action << '"';
    if (text) {
        ASSERT_TRUE(device.type_into_alert(0, *text));
    }
    ASSERT_TRUE(device.choose(action)) << "no action \"" << action << "\" on \"" << device.alert()->alert_title() << '"';
}

}
