// tamrel-cli's runtime folder: chosen (runtime/runtime_folder.h), made or brought up to date from
// the installation, and made the current directory, in which every command then works.
#pragma once

#include <string>

namespace tamrel::cli {

// Chooses the runtime folder (`root` from --root, may be empty), prepares it and changes into it.
// When the folder follows an installation and `buildIndexes`, also builds an index that is
// missing or older than its corpus, with its progress on stderr. 0, or 2 after saying on stderr
// why the folder cannot be used.
int EnterRuntimeFolder(const std::string& root, bool buildIndexes);

}  // namespace tamrel::cli
