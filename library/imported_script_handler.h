#pragma once

// The "Create Script" action of the dialog that names an imported document.
// It hands the document's text and the chosen name to a new editor through
// the working keys and pushes the editor.
//
// Nothing of the script itself is stored here: its title and text are
// stored by the editor's save together with its library record and its
// settings. So leaving the editor without saving leaves no title without a
// record or settings behind, and every later script's settings stay lined
// up with its title.

#include <string>

namespace cw {

class Screen;

// `presenter` is the screen whose navigation stack gets the editor. The
// name is taken as typed: no trimming, no test for emptiness or for titles
// already stored.
void createImportedScriptWithName(Screen& presenter, std::string const& name);

}
