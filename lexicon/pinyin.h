// Pinyin of segmented text: one reading per token. A lexicon word reads as its common reading,
// changed where the words around it call for another (lexicon/reading_context.h); any other
// Chinese token as its characters' common readings; everything else (numbers, Latin words,
// punctuation) as it stands. Tone marks, lower case, syllables joined, and an apostrophe before a
// syllable that starts with a, o or e after another syllable of the same word (qǐ'é, xī'ān,
// tiān'ānmén), as standard pinyin writes it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lexicon/lexicon.h"
#include "lexicon/segmenter.h"

namespace tamrel {

// The reading of one token of `text` on its own, without the words around it; never empty,
// since a token never is.
std::u16string TokenPinyin(const Lexicon& lexicon, std::u16string_view text, const Token& token);

// The readings of every token, in order: as many as there are tokens. The tokens are read
// together, as one line: white-space tokens read as themselves and separate nothing.
std::vector<std::u16string> Pinyin(const Lexicon& lexicon, std::u16string_view text, const std::vector<Token>& tokens);

// `reading` (syllables joined) of the Chinese `word` with an apostrophe before each syllable that
// starts with a, o or e and follows another: 企鹅 qǐé gives qǐ'é. The syllables are cut one per
// character, each preferring a reading the lexicon gives its character (西奈 xīnài stays xīnài,
// 心爱 xīnài becomes xīn'ài). A reading that does not cut so is returned as it is.
std::u16string WithSyllableApostrophes(const Lexicon& lexicon, std::u16string_view word, std::u16string_view reading);

}  // namespace tamrel
