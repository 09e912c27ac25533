#include "settings/sys_settings.h"

#include <unistd.h>

#include <string>
#include <system_error>

#include "files/durable_files.h"
#include "files/staged_file.h"
#include "files/text_file.h"
#include "text/text_utils.h"

namespace tamrel {

std::filesystem::path ConfigFileName(const std::filesystem::path& root) { return root / "data/config.data"; }

Status ReadConfig(SysSettings& settings, const std::filesystem::path& root) {
  settings = SysSettings{};
  const auto file = ConfigFileName(root);
  TextFile in;
  if (Status status = in.OpenChecked(file, TextFile::Mode::kRead); !status.ok()) return status;
  std::u16string line;
  while (in.ReadLine(line)) {
    const FieldList fields = SplitString(line, u"##");
    if (fields.size() != 2) continue;
    const bool value = fields[1] != u"FALSE";
    if (fields[0] == u"FLAGPRON") {
      settings.showPinyin = value;
    } else if (fields[0] == u"FLAGBI") {
      settings.searchBilingual = value;
    } else if (fields[0] == u"FLAGMONO") {
      settings.searchMonolingual = value;
    } else if (fields[0] == u"FLAGSTARTUP") {
      settings.greetAtStart = value;
    }
  }
  return Status::Ok();
}

std::filesystem::path ConfigLockFileName(const std::filesystem::path& root) { return root / "data/config.data.lock"; }

namespace {

// Removes staged settings files that writers killed before their rename left behind; only
// writers holding the lock stage files with these names, so none of them is in use.
void RemoveLeftoverStagedFiles(const std::filesystem::path& root) {
  const std::string stem = StagedFileName(ConfigFileName(root)).filename().string() + ".";  // see UniqueStagedFileName
  std::error_code error;
  for (std::filesystem::directory_iterator it(root / "data", error), end; !error && it != end; it.increment(error)) {
    if (it->path().filename().string().starts_with(stem)) {
      (void)RemoveFile(it->path());  // one that stays is tried again at the next write
    }
  }
}

// WriteConfig for a caller that holds the lock.
Status WriteConfigLocked(const SysSettings& settings, const std::filesystem::path& root) {
  const auto line = [](const char16_t* key, bool value) {
    return std::u16string(key) + u"##" + (value ? u"TRUE" : u"FALSE") + u"\n";
  };
  const std::u16string text =
      u"FIRST\n" + line(u"FLAGPRON", settings.showPinyin) + line(u"FLAGBI", settings.searchBilingual) +
      line(u"FLAGMONO", settings.searchMonolingual) + line(u"FLAGSTARTUP", settings.greetAtStart);
  const auto file = ConfigFileName(root);
  // A file the user made read-only stays as it is, as if it had been written in place.
  std::error_code error;
  if (std::filesystem::exists(file, error) && access(file.c_str(), W_OK) != 0) {
    return Status::IoError(file, "is read-only");
  }
  RemoveLeftoverStagedFiles(root);
  StagedFile staged(file, StagedFile::Naming::kUnique);
  if (Status status = staged.Open(); !status.ok()) return status;
  if (!staged.file().WriteText(text)) return staged.WriteFailure();
  return staged.Commit();
}

}  // namespace

Status WriteConfig(const SysSettings& settings, const std::filesystem::path& root) {
  FileLock lock;
  if (Status status = lock.Acquire(ConfigLockFileName(root)); !status.ok()) return status;
  return WriteConfigLocked(settings, root);
}

Status UpdateConfig(const std::filesystem::path& root, const std::function<void(SysSettings&)>& change) {
  FileLock lock;
  if (Status status = lock.Acquire(ConfigLockFileName(root)); !status.ok()) return status;
  SysSettings settings;
  (void)ReadConfig(settings, root);  // without a readable file the defaults stay
  change(settings);
  return WriteConfigLocked(settings, root);
}

}  // namespace tamrel
