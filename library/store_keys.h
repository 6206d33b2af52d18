#pragma once

// The keys of the library store. Every screen names its keys from here.
//
// Scripts are two parallel lists, titles and texts; a script's index is its
// position in the titles. The seven per-script settings lists hold one
// element per script at the same index. The library list holds what the
// home screen shows (script records and folder records in display order);
// the folder list keeps a second copy of every folder record.

namespace cw::keys {

inline constexpr char scriptTitlesArray[] = "scriptTitlesArray";
inline constexpr char scriptTextArray[] = "scriptTextArray";
inline constexpr char textSizeArray[] = "textSizeArray";
inline constexpr char isScrollNormalArray[] = "isScrollNormalArray";
inline constexpr char colorDataArray[] = "colorDataArray";
inline constexpr char textColorDataArray[] = "textColorDataArray";
inline constexpr char isMirrorModeArray[] = "isMirrorModeArray";
inline constexpr char isMagicScrollingArray[] = "isMagicScrollingArray";
inline constexpr char isRecordingVideoArray[] = "isRecordingVideoArray";
inline constexpr char isHorizontalMirrorModeArray[] = "isHorizontalMirrorModeArray";
inline constexpr char combinedDataSource[] = "combinedDataSource";
inline constexpr char folders[] = "folders";

inline constexpr char currentlyEditingIndex[] = "currentlyEditingIndex";
inline constexpr char currentlyEditingTitle[] = "currentlyEditingTitle";
inline constexpr char currentlyEditingText[] = "currentlyEditingText";
inline constexpr char isNewScript[] = "isNewScript";
inline constexpr char isImportedScript[] = "isImportedScript";
inline constexpr char temporaryTitle[] = "temporaryTitle";
inline constexpr char ImportedText[] = "ImportedText";
inline constexpr char CurrentlyViewing[] = "CurrentlyViewing";
inline constexpr char scriptSpeedFormat[] = "Script-%ld-scriptSpeed";
inline constexpr char canVideo[] = "canVideo";
inline constexpr char hasHMirrorOn[] = "hasHMirrorOn";

// The seven per-script settings lists, in the order a new script's start
// values are appended.
inline constexpr char const* perScriptSettings[] = {
    textSizeArray, isScrollNormalArray, colorDataArray, textColorDataArray,
    isMirrorModeArray, isMagicScrollingArray, isRecordingVideoArray,
};

}

namespace cw::records {
inline constexpr char type[] = "type";
inline constexpr char name[] = "name";
inline constexpr char uniqueID[] = "uniqueID";
inline constexpr char scripts[] = "scripts";
inline constexpr char Script[] = "Script";
inline constexpr char Folder[] = "Folder";
}
