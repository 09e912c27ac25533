// The dictionary reader and its look-ups on arbitrary bytes. The first byte chooses whether the
// rest follows the dictionary's header line (so that most inputs get past it) and which text
// is looked up. Checked: a refused file holds no entries; every entry either reads or is refused
// naming the file; look-ups of the file's own headwords, of pinyin and of English never crash and
// return entries of the word asked for (a headword that is not UTF-8 cannot be asked for).
#include <cstdint>
#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "fuzz/fuzz_support.h"
#include "text/text_utils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  std::string bytes = (mode & 1) != 0 ? "# Tamrel dictionary 1: fuzz\n" : "";
  bytes.append(reinterpret_cast<const char*>(data) + 1, size - 1);

  Dictionary dictionary;
  const Status status = dictionary.Parse(bytes, "fuzz-dictionary.tsv");
  if (!status.ok()) {
    TAMREL_FUZZ_CHECK(dictionary.size() == 0);
    TAMREL_FUZZ_CHECK(status.file() == "fuzz-dictionary.tsv");
    return 0;
  }

  DictionaryFile file;
  TAMREL_FUZZ_CHECK(file.Parse(bytes, "fuzz-dictionary.tsv").ok());
  for (size_t i = 0; i < file.size() && i < 64; ++i) {
    DictionaryEntry entry;
    const Status read = file.ReadEntry(i, entry);
    TAMREL_FUZZ_CHECK(read.ok() || read.file() == "fuzz-dictionary.tsv");
    std::vector<DictionaryEntry> entries;
    std::u16string headword;
    if (!StrictUtf8ToUtf16(file.Headword(i), headword)) continue;  // not a word anyone can type
    if (dictionary.LookUpChinese(headword, entries).ok()) {
      TAMREL_FUZZ_CHECK(!entries.empty());
      for (const DictionaryEntry& e : entries) TAMREL_FUZZ_CHECK(e.simplified == headword);
    }
  }
  // The pinyin and English look-ups build their indexes over every line.
  static const char16_t* const kTexts[] = {u"ni hao", u"shi4", u"xian", u"apple", u"studies", u"to the", u""};
  const char16_t* text = kTexts[(mode >> 1) % std::size(kTexts)];
  std::vector<DictionaryEntry> entries;
  (void)dictionary.LookUpPinyin(
      text, [](std::u16string_view) { return 1u; }, entries);
  (void)dictionary.LookUpEnglish(text, 5, entries);
  TAMREL_FUZZ_CHECK(entries.size() <= 5);
  return 0;
}
