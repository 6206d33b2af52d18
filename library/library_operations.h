#pragma once

// The operations that change the library: folders created, renamed and
// deleted, scripts moved into and out of folders, scripts deleted by name,
// items reordered by drag, and the name test made before a script is
// created. They belong to the home screen, which owns one LibraryOperations
// and forwards its own methods here.
//
// Every operation starts from what the store holds, never from the grid's
// copies (the reorder alone works on those): it reads the lists it needs,
// builds changed copies, writes whole lists back in a fixed order, and then
// has the grid rebuilt through the LibraryGrid it acts for. An operation
// that cannot proceed either shows an alert or writes one log line, and
// leaves the store as it was.
//
// Two lists are kept in step: the library list, which the grid shows and
// every operation acts on, and the folder list, which holds a copy of each
// folder record and feeds only the start-up rebuild. Whatever happens to a
// folder record happens to its equal copy too.

#include "platform/foundation/value.h"

#include <cstdint>
#include <string>

namespace cw {

class AppContext;
class Defaults;
class Screen;

// What the operations ask of the grid they act for.
class LibraryGrid {
public:
    virtual ~LibraryGrid() = default;
    // The grid build: takes the grid's copy of the library list from the
    // store again.
    virtual void configureCollectionView() = 0;
    // Makes the grid ask for its items again.
    virtual void reloadData() = 0;
    // Puts the visible tiles back into rearrange mode after a drag.
    virtual void reapplyAnimationsToVisibleCells() { }
};

// Where the record removal found the record it removed.
struct RecordRemoval {
    enum class Where { NotFound, TopLevel, Folder };
    Where where { Where::NotFound };
    // The folder's name when the record was in a folder.
    std::string folder_name;

    bool found() const { return where != Where::NotFound; }
};

// The grid's in-memory lists, which the reorder works on.
struct GridLists {
    List& collectionDataSource;
    bool isInsideFolder { false };
    List& currentFolderDataSource;
    // The open folder's record as taken at the last grid build.
    Value const& selectedFolder;
};

class LibraryOperations {
public:
    // Dialogs are presented on `presenter`; the grid is rebuilt through
    // `grid`. Both outlive the operations (the home screen is both).
    LibraryOperations(Screen& presenter, LibraryGrid& grid);

    // Whether a stored title equals the name exactly. Folder names are not
    // looked at.
    bool scriptNameExists(std::string const& name) const;

    // A name already carried by a top-level record, script or folder, brings
    // up the "Duplicate Folder Name" dialog instead, whose "Rename" comes back
    // here with the new text.
    void createFolderWithName(std::string const& name);
    // Nothing happens for an empty text or a position outside the library
    // list. The new name is not tested against other names.
    void renameFolderAtIndex(std::int64_t index, std::string const& text);
    // Removes the folder record, its copy, and the titles, texts and
    // settings of every script it holds.
    void deleteFolderAtIndex(std::int64_t index);

    // `script` is a top-level position; `folder` a position among the folder
    // records of the library list, in list order.
    void moveScriptAtIndexToFolder(std::int64_t script, std::int64_t folder);
    // Moves the first record of that name found in a folder to the end of
    // the top level, keeping its `uniqueID`.
    void moveScriptWithName(std::string const& name);

    // Asks for confirmation; "Delete" runs the script deletion by name.
    void deleteScriptWithName(std::string const& name);
    // The script deletion by name, once confirmed.
    void deleteScriptConfirmedWithName(std::string const& name);
    // Removes the first record of that name in list order, from a folder or
    // from the top level, and answers where it was.
    RecordRemoval removeScriptRecordWithName(std::string const& name);
    // Removes the title, text and settings of the first script of that name.
    void removeScriptDataWithName(std::string const& name);

    // The end of a drag from position `from` to position `to` of the grid.
    void collectionViewMoveItemAtIndexPathToIndexPath(GridLists, std::int64_t from, std::int64_t to);

private:
    Defaults& store() const;
    void log(std::string const& line) const;
    void moveItemAtTopLevel(GridLists&, std::int64_t from, std::int64_t to);
    void moveItemInsideFolder(GridLists&, std::int64_t from, std::int64_t to);

    Screen& m_presenter;
    LibraryGrid& m_grid;
};

// The record removal on its own, for screens that delete a script without
// the home screen's grid (the editor).
RecordRemoval remove_script_record_with_name(Defaults&, std::string const& name);

}
