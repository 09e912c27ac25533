// Readings that depend on the words around a word: the lexicon gives each word its common
// reading, and a few frequent characters read otherwise next to certain words (很长 hěn cháng but
// 长了 zhǎng le, 我得走 wǒ děi zǒu, 一只 yī zhī, 还钱 huán qián, 种树 zhòng shù). The rules are
// a table in reading_context.cpp; each names the word, its reading when the rule holds, and what
// the word before or after it must be.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

// Rewrites `readings[i]` (the common reading of `words[i]`, syllables joined, no apostrophes)
// where a rule holds for the words around it. `words` are one line's tokens in order, white space
// left out; both vectors have the same size. Words and readings no rule names stay as they are.
void ApplyReadingContext(const std::vector<std::u16string_view>& words, std::vector<std::u16string>& readings);

}  // namespace tamrel
