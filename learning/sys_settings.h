// The program's four options and their file, data/config.data: a line "FIRST", then one
// KEY##TRUE or KEY##FALSE line per option (FLAGPRON, FLAGBI, FLAGMONO, FLAGSTARTUP), UTF-8 with a
// byte-order mark.
#pragma once

#include <filesystem>

#include "corpus/status.h"

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

// Replaces the file of `root` with the four values. The new file is written beside it and renamed
// into place, so a failure leaves the previous file whole; a file the user made read-only is
// left as it is and the write fails.
Status WriteConfig(const SysSettings& settings, const std::filesystem::path& root);

}  // namespace tamrel
