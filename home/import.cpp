// Importing a document as a script, started by "Import Existing Script" in
// the add menu. The flow itself lives in document_import.cpp; the home
// screen presents the picker and is its delegate.

#include "ViewController.h"

namespace cw {

void ViewController::import()
{
    m_import.present_picker(*this);
}

void ViewController::documentPickerDidPickDocumentAtURL(DocumentPickerScreen& picker, std::string const& url)
{
    m_import.picked(picker, url);
}

void ViewController::createImportedScript()
{
    m_import.createImportedScript();
}

}
