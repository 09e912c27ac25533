// Lexicon parsing and pinyin on arbitrary bytes. The first byte tells how much of the rest is a
// lexicon file (parsed; refused files must leave the lexicon empty) and the remainder is UTF-16
// text (bytes in pairs). The text is segmented and read with the parsed lexicon when it was
// accepted, else with the harness's small one. Checked: one non-empty reading per token;
// tokens that are not Chinese read as they stand; every input unit in exactly one token.
#include <string>

#include "fuzz/lexicon_fuzz_support.h"
#include "lexicon/pinyin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  if (size == 0) return 0;
  const size_t lexiconBytes = std::min<size_t>(size - 1, static_cast<size_t>(data[0]) * 4);
  const std::string_view lexiconText(reinterpret_cast<const char*>(data) + 1, lexiconBytes);
  Lexicon parsed;
  const Status status = parsed.Parse(lexiconText, "fuzz-lexicon.tsv");
  if (!status.ok()) {
    TAMREL_FUZZ_CHECK(parsed.empty());
    TAMREL_FUZZ_CHECK(status.file() == "fuzz-lexicon.tsv");
  } else {
    TAMREL_FUZZ_CHECK(!parsed.empty());
  }
  const Lexicon& lexicon = status.ok() ? parsed : fuzz::SmallLexicon();

  const std::u16string text = fuzz::UnitsOf(data + 1 + lexiconBytes, size - 1 - lexiconBytes);
  const std::vector<Token> tokens = Segment(lexicon, text);
  fuzz::CheckEveryUnitOnce(text, tokens);
  const std::vector<std::u16string> readings = Pinyin(lexicon, text, tokens);
  TAMREL_FUZZ_CHECK(readings.size() == tokens.size());
  for (size_t i = 0; i < tokens.size(); ++i) {
    TAMREL_FUZZ_CHECK(!readings[i].empty());
    const std::u16string_view word = std::u16string_view(text).substr(tokens[i].begin, tokens[i].length);
    if (tokens[i].kind != TokenKind::kChinese && tokens[i].kind != TokenKind::kNumber) {
      TAMREL_FUZZ_CHECK(readings[i] == word);
    }
  }
  return 0;
}
