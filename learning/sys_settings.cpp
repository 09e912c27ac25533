#include "learning/sys_settings.h"

#include <unistd.h>

#include "corpus/staged_file.h"
#include "corpus/text_file.h"
#include "corpus/text_utils.h"

namespace tamrel {

std::filesystem::path ConfigFileName(const std::filesystem::path& root) { return root / "data/config.data"; }

Status ReadConfig(SysSettings& settings, const std::filesystem::path& root) {
  settings = SysSettings{};
  const auto file = ConfigFileName(root);
  TextFile in;
  if (!in.Open(file, TextFile::Mode::kRead)) return Status::NotFound(file, "cannot be opened");
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

Status WriteConfig(const SysSettings& settings, const std::filesystem::path& root) {
  const auto line = [](const char16_t* key, bool value) {
    return std::u16string(key) + u"##" + (value ? u"TRUE" : u"FALSE") + u"\n";
  };
  const std::u16string text =
      u"FIRST\n" + line(u"FLAGPRON", settings.showPinyin) + line(u"FLAGBI", settings.searchBilingual) +
      line(u"FLAGMONO", settings.searchMonolingual) + line(u"FLAGSTARTUP", settings.greetAtStart);
  const auto file = ConfigFileName(root);
  // A file the user made read-only stays as it is, as if it had been written in place.
  if (std::filesystem::exists(file) && access(file.c_str(), W_OK) != 0) return Status::IoError(file, "is read-only");
  StagedFile staged(file);
  if (Status status = staged.Open(); !status.ok()) return status;
  if (!staged.file().WriteText(text)) return Status::IoError(staged.stagedPath(), "cannot be written");
  return staged.Commit();
}

}  // namespace tamrel
