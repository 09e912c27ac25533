#include "align/sentence_links.h"

#include "align/english_tokens.h"

namespace tamrel {

std::vector<AlignLink> AlignSentencePair(WordAligner& aligner, std::string_view chineseWords,
                                         std::string_view englishText) {
  const std::vector<std::string> english = SplitEnglish(englishText);
  const std::vector<std::string_view> englishViews(english.begin(), english.end());
  return aligner.Align(SplitTokens(chineseWords), englishViews);
}

}  // namespace tamrel
