// The line reader of TextFile on arbitrary bytes: UTF-8 (also ill-formed), UTF-16LE after FF FE,
// NULs, lone CRs, odd lengths. The first input byte can ask for a filler line of about 64 KiB
// before the rest, so that the input's lines straddle the reader's block boundary. Checked: no line holds
// LF or U+0000; ReadLineBytes gives the same lines as ReadLine, as bytes that convert to them.
#include <string>
#include <vector>

#include "files/text_file.h"
#include "fuzz/fuzz_support.h"
#include "text/text_utils.h"

namespace {

constexpr size_t kReaderBlock = 64 * 1024;  // the reader's block size, where refills happen

// The file to read: the input after its first byte, with a filler line put in front when the
// first byte is E0 or above, its low bits telling how far before the boundary the input begins
// (after the FF FE mark, when there is one, so that the mode stays).
std::string FileBytes(const uint8_t* data, size_t size) {
  if (size == 0) return {};
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] < 0xE0) return std::string(rest);
  const bool utf16 = rest.size() >= 2 && rest[0] == '\xFF' && rest[1] == '\xFE';
  const size_t fillerBytes = kReaderBlock - (data[0] & 0x1F);
  // One long filler line, ended so that the input's own lines begin just before the boundary.
  // It starts with a NUL, where the line is cut, so that the reader converts none of it and
  // the run stays fast.
  std::string bytes;
  if (utf16) {
    bytes = std::string_view("\xFF\xFE\0\0", 4);
    while (bytes.size() + 4 <= fillerBytes) bytes += std::string_view("x\0", 2);
    bytes += std::string_view("\n\0", 2);
    bytes += rest.substr(2);
  } else {
    bytes.assign(fillerBytes - 1, 'x');
    bytes[0] = '\0';
    bytes += '\n';
    bytes += rest;
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const std::filesystem::path path = fuzz::RuntimeFolder() / "data/lines.txt";
  fuzz::WriteBytes(path, FileBytes(data, size));

  std::vector<std::u16string> lines;
  bool utf16 = false;
  {
    TextFile file;
    TAMREL_FUZZ_CHECK(file.Open(path, TextFile::Mode::kRead));
    utf16 = file.IsUtf16();
    std::u16string line;
    while (file.ReadLine(line)) {
      TAMREL_FUZZ_CHECK(line.find(u'\n') == std::u16string::npos);
      TAMREL_FUZZ_CHECK(line.find(u'\0') == std::u16string::npos);
      lines.push_back(line);
    }
    TAMREL_FUZZ_CHECK(line.empty());  // emptied at end of file
    TAMREL_FUZZ_CHECK(!file.ReadLine(line));
  }
  if (utf16) return 0;  // ReadLineBytes is for narrow files only

  TextFile file;
  TAMREL_FUZZ_CHECK(file.Open(path, TextFile::Mode::kRead));
  std::string bytes;
  size_t count = 0;
  while (file.ReadLineBytes(bytes)) {
    TAMREL_FUZZ_CHECK(bytes.find('\n') == std::string::npos);
    TAMREL_FUZZ_CHECK(bytes.find('\0') == std::string::npos);
    TAMREL_FUZZ_CHECK(count < lines.size());
    TAMREL_FUZZ_CHECK(Utf8ToUtf16(bytes) == lines[count]);
    ++count;
  }
  TAMREL_FUZZ_CHECK(bytes.empty());
  TAMREL_FUZZ_CHECK(count == lines.size());
  return 0;
}
