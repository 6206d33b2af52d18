// The home screen's library operations. The work is done by the screen's
// LibraryOperations (library/); the screen supplies the grid they rebuild
// and the grid's in-memory lists the reorder works on.

#include "ViewController.h"

namespace cw {

bool ViewController::scriptNameExists(std::string const& name) const
{
    return m_library.scriptNameExists(name);
}

void ViewController::createFolderWithName(std::string const& name)
{
    m_library.createFolderWithName(name);
}

void ViewController::renameFolderAtIndex(std::int64_t index, std::string const& text)
{
    m_library.renameFolderAtIndex(index, text);
}

void ViewController::deleteFolderAtIndex(std::int64_t index)
{
    m_library.deleteFolderAtIndex(index);
}

void ViewController::moveScriptAtIndexToFolder(std::int64_t script, std::int64_t folder)
{
    m_library.moveScriptAtIndexToFolder(script, folder);
}

void ViewController::moveScriptWithName(std::string const& name)
{
    m_library.moveScriptWithName(name);
}

void ViewController::deleteScriptWithName(std::string const& name)
{
    m_library.deleteScriptWithName(name);
}

RecordRemoval ViewController::removeScriptRecordWithName(std::string const& name)
{
    return m_library.removeScriptRecordWithName(name);
}

void ViewController::removeScriptDataWithName(std::string const& name)
{
    m_library.removeScriptDataWithName(name);
}

void ViewController::collectionViewMoveItemAtIndexPathToIndexPath(std::int64_t from, std::int64_t to)
{
    m_library.collectionViewMoveItemAtIndexPathToIndexPath({ _collectionDataSource, isInsideFolder, currentFolderDataSource, selectedFolder }, from, to);
}

}
