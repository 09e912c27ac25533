// The word aligner and the English tokeniser on arbitrary bytes, as tamrel-cli align and
// search --align meet them: a pair "CHINESE ||| ENGLISH", the same bytes also serving as the
// co-occurrence corpus, against the shipped dictionary. Checked: every link names a word of its
// pair, the links come ordered and once each, a Chinese word is in one link unit only, and an
// English token is linked at most twice (a contraction).
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "align/cooccurrence.h"
#include "align/english_tokens.h"
#include "align/word_aligner.h"
#include "dictionary/dictionary_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  static DictionaryFile* dictionary = [] {
    auto* d = new DictionaryFile;
    (void)d->Open(std::filesystem::path(TAMREL_SOURCE_DIR) / "resources/lexicon/dictionary.tsv");
    return d;
  }();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const size_t bar = bytes.find("|||");
  const std::string_view chineseText = bytes.substr(0, bar);
  const std::string_view englishText = bar == std::string_view::npos ? std::string_view() : bytes.substr(bar + 3);

  const std::vector<std::string_view> chinese = SplitTokens(chineseText);
  const std::vector<std::string> englishTokens = SplitEnglish(englishText);
  for (const std::string& t : englishTokens) TAMREL_FUZZ_CHECK(!t.empty());
  const std::vector<std::string_view> english(englishTokens.begin(), englishTokens.end());

  CooccurrenceTable table;
  table.Add(chinese, englishTokens);
  table.Add(chinese, englishTokens);
  WordAligner aligner(*dictionary, &table);
  const std::vector<AlignLink> links = aligner.Align(chinese, english);
  std::vector<int> perEnglish(english.size(), 0);
  for (size_t k = 0; k < links.size(); ++k) {
    TAMREL_FUZZ_CHECK(links[k].chinese < chinese.size() && links[k].english < english.size());
    if (k > 0) TAMREL_FUZZ_CHECK(links[k - 1] < links[k]);
    TAMREL_FUZZ_CHECK(++perEnglish[links[k].english] <= 2);
  }
  return 0;
}
