// The four on/off options of the user and their file, data/config.data:
//   EF BB BF, "FIRST" LF, then "FLAGPRON##", "FLAGBI##", "FLAGMONO##", "FLAGSTARTUP##", each
//   followed by "TRUE" or "FALSE" and LF (70 bytes with every option on).
#pragma once

#include <filesystem>

namespace tamrel {

struct SysSettings {
  bool FLAGSTARTUP = true;  // the main window greets the user at start
  bool FLAGPRON = true;     // result pages show pinyin lines
  bool FLAGBI = true;       // searches look in the bilingual corpus
  bool FLAGMONO = true;     // searches look in the monolingual corpus
  bool operator==(const SysSettings&) const = default;
};

inline const std::filesystem::path kConfigFile = "data/config.data";

// Resets `settings` to every option on, then reads the file into it (any line order; a line
// other than KEY##VALUE of the four keys is skipped; only "FALSE" turns an option off).
// 0 when the file was read; -1 when it cannot be opened (the defaults stay).
int ReadConfig(SysSettings& settings, const std::filesystem::path& file = kConfigFile);

// Replaces the file with the four values. The new file is written beside it and renamed into
// place, so a failure leaves the previous file whole. 0 on success, -1 on failure.
int WriteConfig(const SysSettings& settings, const std::filesystem::path& file = kConfigFile);

}  // namespace tamrel
