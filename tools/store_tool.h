#pragma once

// cuewright-store: exports the defaults store as typed JSON and imports such
// a file back, for backups, moving to another machine and looking inside.

#include <iosfwd>
#include <string>
#include <vector>

namespace cw::store_tool {

// Runs the tool with its arguments (without the program name). Normal output
// goes to `out`, messages to `err`. Answers the exit status: 0 when it
// worked, 1 when it failed (and changed nothing), 2 for a usage mistake.
int run(std::vector<std::string> const& args, std::ostream& out, std::ostream& err);

}
