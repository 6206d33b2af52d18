#pragma once

// A store holding scripts: the nine parallel lists built from one seed per
// script, for fixtures that open screens on them.

#include "library/store_keys.h"
#include "platform/ui/color_archive.h"

#include <map>
#include <string>
#include <vector>

namespace cw::testing {

struct ScriptSeed {
    std::string title { "Intro" };
    std::string text { "Good evening." };
    double text_size { 56.0 };
    bool scroll_normal { true };
    Color background { Color::black() };
    Color text_color { Color::white() };
    bool mirror { false };
    bool voice { false };
    bool recording { false };
};

inline std::map<std::string, Value> store_with(std::vector<ScriptSeed> const& scripts)
{
    List titles, texts, sizes, normal, backgrounds, text_colors, mirrors, voices, recordings;
    for (auto const& s : scripts) {
        titles.push_back(s.title);
        texts.push_back(s.text);
        sizes.push_back(s.text_size);
        normal.push_back(s.scroll_normal);
        backgrounds.push_back(archive_color(s.background));
        text_colors.push_back(archive_color(s.text_color));
        mirrors.push_back(s.mirror);
        voices.push_back(s.voice);
        recordings.push_back(s.recording);
    }
    return {
        { keys::scriptTitlesArray, titles },
        { keys::scriptTextArray, texts },
        { keys::textSizeArray, sizes },
        { keys::isScrollNormalArray, normal },
        { keys::colorDataArray, backgrounds },
        { keys::textColorDataArray, text_colors },
        { keys::isMirrorModeArray, mirrors },
        { keys::isMagicScrollingArray, voices },
        { keys::isRecordingVideoArray, recordings },
    };
}

}
