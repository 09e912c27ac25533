// tamrel-cli import: imports sentence files into a corpus of the runtime folder (the current
// directory), replacing it or adding to it, and builds its index.
#pragma once

#include <string>
#include <vector>

namespace tamrel::cli {

// Imports `files` into corpus `tag` ("BI" or "MO"), after its groups when `append`. Shows
// progress on stderr when it is a terminal and prints a summary; 0 on success, 1 when the import
// is refused or fails (the message names the file and line; the previous corpus is unchanged), 3
// when it has taken effect but a step after its commit record failed (the summary, and on stderr
// what failed; the next command that opens the corpus finishes the commit).
int Import(const std::string& tag, const std::vector<std::string>& files, bool append);

}  // namespace tamrel::cli
