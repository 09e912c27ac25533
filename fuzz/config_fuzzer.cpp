// The settings reader on arbitrary bytes as data/config.data. Whatever it read must survive a
// round trip: writing those settings and reading them back gives the same four options.
#include "fuzz/fuzz_support.h"
#include "settings/sys_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const std::filesystem::path& root = fuzz::RuntimeFolder();
  fuzz::WriteBytes(ConfigFileName(root), data, size);

  SysSettings read;
  const Status first = ReadConfig(read, root);
  TAMREL_FUZZ_CHECK(first.ok());  // the file is there and readable
  const Status written = WriteConfig(read, root);
  TAMREL_FUZZ_CHECK(written.ok());
  SysSettings again;
  again.showPinyin = !read.showPinyin;  // ReadConfig must reset every option, not keep these
  const Status second = ReadConfig(again, root);
  TAMREL_FUZZ_CHECK(second.ok());
  TAMREL_FUZZ_CHECK(again == read);
  return 0;
}
