// Importing a document as a script, started by "Import Existing Script" in
// the add menu.
//
// Until document import joins the home screen, the menu entry says so in
// the log and changes nothing.

#include "ViewController.h"

#include "platform/ui/app_context.h"

namespace cw {

void ViewController::import()
{
    context().log.line("Document import is not available in this build.");
}

}
