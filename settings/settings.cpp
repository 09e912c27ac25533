#include "settings/settings.h"

#include <system_error>

namespace tamrel {

RuntimeSettings LoadSettings(const std::filesystem::path& root) {
  RuntimeSettings loaded;
  loaded.systemRead = ReadConfig(loaded.system, root);
  if (!loaded.systemRead.ok()) {
    // A folder without a settings file is one nobody has changed a setting in yet; only a file
    // that is there and cannot be read is worth telling the user about.
    std::error_code error;
    const bool missing = !std::filesystem::exists(ConfigFileName(root), error) && !error;
    if (missing) loaded.systemRead = Status::Ok();
  }
  loaded.learnerRead = ReadLearnerOptions(loaded.learner, root);
  return loaded;
}

}  // namespace tamrel
