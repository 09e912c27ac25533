// Pinyin of segmented text: one reading per token. A lexicon word reads as its common reading;
// any other Chinese token as its characters' common readings; everything else (numbers, Latin
// words, punctuation) as it stands. Tone marks, lower case, syllables joined.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lexicon/lexicon.h"
#include "lexicon/segmenter.h"

namespace tamrel {

// The reading of one token of `text`; never empty, since a token never is.
std::u16string TokenPinyin(const Lexicon& lexicon, std::u16string_view text, const Token& token);

// The readings of every token, in order: as many as there are tokens.
std::vector<std::u16string> Pinyin(const Lexicon& lexicon, std::u16string_view text, const std::vector<Token>& tokens);

}  // namespace tamrel
