// Pinyin as learners type it and as corpora write it: letters cut into the syllables of Mandarin
// (longest syllable first, backing off where the rest would not cut), with the tone of each
// syllable from a tone mark (nǐhǎo) or a tone digit (ni3hao3). ü may be written ü, v or u:.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

struct PinyinSyllable {
  std::u16string letters;  // lower case, no tone, ü written v ("lv", "nve"); "r" for an erhua ending
  int tone = 0;            // 1-4, 5 for a neutral tone written as 5, 0 when no tone was written
  bool operator==(const PinyinSyllable&) const = default;
};

struct PinyinText {
  std::vector<PinyinSyllable> syllables;
  bool toned = false;  // some syllable carries a tone mark or a tone digit
};

// Longer texts are not taken for pinyin: nobody types a paragraph of it, and the cut stays cheap.
inline constexpr size_t kMaxPinyinSyllables = 64;

// One letter of pinyin as written: its base letter (lower case, ü as 'v') and the tone its mark
// gives (0: none).
struct PinyinLetter {
  char base;
  int tone;
};

// The letter `c` with or without a tone mark (a-z, A-Z, the marked vowels, ü, the marked n and m of
// the interjections); nothing for any other character.
std::optional<PinyinLetter> ReadPinyinLetter(char16_t c);

// What a combining mark written after its letter (decomposed text) gives: the tone 1-4, -1 for
// the diaeresis (u becomes ü), 0 for any other character.
int CombiningPinyinMark(char16_t c);

// True when `letters` (lower case, toneless, ü as v) is one syllable of the table.
bool IsPinyinSyllable(std::u16string_view letters);

// The syllables of `text`, or nothing when it is not pinyin: only letters, tone marks, tone
// digits 1-5 right after a syllable, spaces and apostrophes (which only separate syllables), and
// every run of letters must cut into syllables with at most one tone mark each.
std::optional<PinyinText> ReadPinyin(std::u16string_view text, size_t maxSyllables = kMaxPinyinSyllables);

// True when `have` is the `count` syllables of `typed` from `first` on: the same letters, and
// with `withTones` the same tones (an untoned syllable counting as neutral on both sides).
bool SyllablesMatch(const std::vector<PinyinSyllable>& have, const std::vector<PinyinSyllable>& typed, size_t first,
                    size_t count, bool withTones);

// The syllables' letters back to back: "nihao" for nǐhǎo, ni3 hao3 and ni hao alike.
std::u16string TonelessLetters(const std::vector<PinyinSyllable>& syllables);

}  // namespace tamrel
