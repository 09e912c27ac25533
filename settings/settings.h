// Every setting of a runtime folder, read at once: the system settings (data/config.data) and the
// learner options (data/options.json). A file that is missing holds the defaults; a file that is
// there but cannot be read leaves the defaults too, and the answer says so, so that the window
// or the CLI can tell the user.
#pragma once

#include <filesystem>

#include "files/status.h"
#include "settings/learner_options.h"
#include "settings/sys_settings.h"

namespace tamrel {

struct RuntimeSettings {
  SysSettings system;
  LearnerOptions learner;
  // Why data/config.data could not be read; ok when it was read or is missing.
  Status systemRead;
  // Why data/options.json could not be read; ok when it was read or is missing.
  Status learnerRead;
  // Both files were read (or are missing).
  bool ok() const { return systemRead.ok() && learnerRead.ok(); }
};

// The settings of the runtime folder `root`, each part with its defaults when its file cannot be read.
[[nodiscard]] RuntimeSettings LoadSettings(const std::filesystem::path& root);

}  // namespace tamrel
