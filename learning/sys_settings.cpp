#include "learning/sys_settings.h"

#include <unistd.h>

#include <system_error>

#include "corpus/text_file.h"
#include "corpus/text_utils.h"

namespace tamrel {

int ReadConfig(SysSettings& settings, const std::filesystem::path& file) {
  settings = SysSettings{};
  TextFile in;
  if (!in.Open(file, TextFile::modeRead)) return -1;
  std::u16string line;
  while (in.ReadLine(line)) {
    const FieldList fields = SplitString(line, u"##");
    if (fields.size() != 2) continue;
    const bool value = fields[1] != u"FALSE";
    if (fields[0] == u"FLAGPRON") {
      settings.FLAGPRON = value;
    } else if (fields[0] == u"FLAGBI") {
      settings.FLAGBI = value;
    } else if (fields[0] == u"FLAGMONO") {
      settings.FLAGMONO = value;
    } else if (fields[0] == u"FLAGSTARTUP") {
      settings.FLAGSTARTUP = value;
    }
  }
  return 0;
}

int WriteConfig(const SysSettings& settings, const std::filesystem::path& file) {
  const auto line = [](const char16_t* key, bool value) {
    return std::u16string(key) + u"##" + (value ? u"TRUE" : u"FALSE") + u"\n";
  };
  const std::u16string text = u"FIRST\n" + line(u"FLAGPRON", settings.FLAGPRON) + line(u"FLAGBI", settings.FLAGBI) +
                              line(u"FLAGMONO", settings.FLAGMONO) + line(u"FLAGSTARTUP", settings.FLAGSTARTUP);
  // A file the user made read-only stays as it is, as if it had been written in place.
  if (std::filesystem::exists(file) && access(file.c_str(), W_OK) != 0) return -1;
  std::filesystem::path staged = file;
  staged += ".new";
  TextFile out;
  if (!out.Open(staged, TextFile::modeCreate | TextFile::modeWrite)) return -1;
  const bool written = out.WriteText(text);
  std::error_code error;
  if (!out.Close() || !written) {
    std::filesystem::remove(staged, error);
    return -1;
  }
  std::filesystem::rename(staged, file, error);
  if (error) {
    std::filesystem::remove(staged, error);
    return -1;
  }
  return 0;
}

}  // namespace tamrel
