// Tone colours of Chinese words: the pinyin token of a word (one token per word, as the corpus
// writes it: "wǒmen") split into its syllables and paired with the word's characters, each
// syllable with its tone. A word whose syllables cannot be told apart, or whose syllable count is
// not its character count, gets no tones at all, so that no character is coloured wrongly.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tamrel {

// One syllable of a pinyin token: its units [start, start + length) in the token (letters, tone
// marks and a tone digit; apostrophes between syllables belong to none) and its tone, 1 to 4, or
// 5 for the neutral tone (no mark, or the digit 5).
struct ToneSpan {
  size_t start = 0;
  size_t length = 0;
  int tone = 5;
  bool operator==(const ToneSpan&) const = default;
};

// The syllables of `token` when it splits into exactly `count` valid pinyin syllables with at most
// one tone each (tone marks, or digits as in "ni3hao3"); empty otherwise. Among several splits the
// one with the longest first syllables wins ("xian" is one syllable; "xi'an" two).
std::vector<ToneSpan> SplitToneSpans(std::u16string_view token, size_t count);

// The syllables of `pinyin` paired with the characters of `word`, one per character; empty when
// they do not pair up.
std::vector<ToneSpan> AlignTones(std::u16string_view word, std::u16string_view pinyin);

}  // namespace tamrel
