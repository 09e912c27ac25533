// The links of a corpus sentence pair as the corpus stores it: Chinese words separated by spaces,
// English as written (cut by SplitEnglish). The indexes are of those words and tokens.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "align/word_aligner.h"

namespace tamrel {

std::vector<AlignLink> AlignSentencePair(WordAligner& aligner, std::string_view chineseWords,
                                         std::string_view englishText);

}  // namespace tamrel
