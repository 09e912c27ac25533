// The segmenter on arbitrary UTF-16 text (input bytes in pairs, so unpaired surrogates and every
// other unit appear), with the harness's small lexicon, before and after OpenCC simplification.
// Checked: every input unit lands in exactly one token, in order, no token splits a surrogate
// pair; a reused Segmenter answers as a fresh one; simplifying keeps every non-Han unit.
#include "fuzz/lexicon_fuzz_support.h"
#include "lexicon/segmenter.h"
#include "lexicon/simplify.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const std::u16string text = fuzz::UnitsOf(data, size);
  static Segmenter reused(fuzz::SmallLexicon());
  const std::vector<Token>& tokens = reused.Segment(text);
  fuzz::CheckEveryUnitOnce(text, tokens);
  const std::vector<Token> fresh = Segment(fuzz::SmallLexicon(), text);
  TAMREL_FUZZ_CHECK(fresh.size() == tokens.size());
  for (size_t i = 0; i < fresh.size(); ++i) {
    TAMREL_FUZZ_CHECK(fresh[i].length == tokens[i].length && fresh[i].kind == tokens[i].kind);
  }

  static const Simplifier* simplifier = [] {
    auto* opened = new Simplifier;
    TAMREL_FUZZ_CHECK(opened->Open().ok());
    return opened;
  }();
  const std::u16string simplified = simplifier->ToSimplified(text);
  fuzz::CheckEveryUnitOnce(simplified, reused.Segment(simplified));
  // Units that are not Han pass through as they are: the same ones, in the same order.
  std::u16string before;
  std::u16string after;
  for (const Token& token : Segment(fuzz::SmallLexicon(), text)) {
    if (token.kind != TokenKind::kChinese && token.kind != TokenKind::kNumber) {
      before += std::u16string_view(text).substr(token.begin, token.length);
    }
  }
  for (const Token& token : Segment(fuzz::SmallLexicon(), simplified)) {
    if (token.kind != TokenKind::kChinese && token.kind != TokenKind::kNumber) {
      after += std::u16string_view(simplified).substr(token.begin, token.length);
    }
  }
  TAMREL_FUZZ_CHECK(before == after);
  return 0;
}
