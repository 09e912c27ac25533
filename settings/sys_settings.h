// The program's four options and their file, data/config.data: a line "FIRST", then one
// KEY##TRUE or KEY##FALSE line per option (FLAGPRON, FLAGBI, FLAGMONO, FLAGSTARTUP), UTF-8 with a
// byte-order mark.
#pragma once

#include <filesystem>
#include <functional>

#include "files/status.h"

namespace tamrel {

struct SysSettings {
  bool greetAtStart = true;       // FLAGSTARTUP: the main window greets the user at start
  bool showPinyin = true;         // FLAGPRON: result pages show pinyin lines
  bool searchBilingual = true;    // FLAGBI: searches look in the bilingual corpus
  bool searchMonolingual = true;  // FLAGMONO: searches look in the monolingual corpus
  bool operator==(const SysSettings&) const = default;
};

// The settings file of the runtime folder `root`.
std::filesystem::path ConfigFileName(const std::filesystem::path& root);

// Resets `settings` to every option on, then reads the file of `root` into it (any line order; a
// line other than KEY##VALUE of the four keys is skipped; only "FALSE" turns an option off).
// Fails when the file cannot be opened; the defaults stay then.
Status ReadConfig(SysSettings& settings, const std::filesystem::path& root);

// The lock file that writers of the settings file of `root` hold: data/config.data.lock.
std::filesystem::path ConfigLockFileName(const std::filesystem::path& root);

// Replaces the file of `root` with the four values. The new file is written beside it under a
// name of its own and renamed into place (both synced), so a failure, a crash or another writer
// leaves the previous file or the new one whole; a file the user made read-only is left as it is
// and the write fails. Holds the settings lock while it writes.
Status WriteConfig(const SysSettings& settings, const std::filesystem::path& root);

// Changes some options and keeps the rest as the file has them: under the settings lock, reads
// the file (the defaults when it cannot be read), lets `change` alter the values and writes them
// back as WriteConfig does. Two processes that change different options at once both keep their
// change.
Status UpdateConfig(const std::filesystem::path& root, const std::function<void(SysSettings&)>& change);

}  // namespace tamrel
