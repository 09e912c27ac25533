// The characters of UTF-16 text: the code point at a position, the count of characters, and the
// one test of what a Han character is. Every other file reads characters through these, so that a
// surrogate pair is decoded in one place and "holds Chinese" means the same everywhere.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

constexpr bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// True when `text` holds a surrogate pair starting at unit `i`: text is never cut between them.
inline bool PairStartsAt(std::u16string_view text, size_t i) {
  return i + 1 < text.size() && IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1]);
}

// The units of the character that starts at `i` (< text.size()): 2 for a surrogate pair, else 1
// (a lone surrogate counts as a character of its own).
inline size_t CharacterUnitsAt(std::u16string_view text, size_t i) { return PairStartsAt(text, i) ? 2 : 1; }

// The units of the last character of the non-empty `text`: 2 when it ends in a surrogate pair.
inline size_t LastCharacterUnits(std::u16string_view text) {
  return text.size() >= 2 && PairStartsAt(text, text.size() - 2) ? 2 : 1;
}

struct CodePoint {
  char32_t value = 0;
  size_t units = 1;   // 2 for a surrogate pair, else 1
  bool lone = false;  // a surrogate without its partner, which stands for itself
};

// The character that starts at unit `i` of `text` (i < text.size()).
inline CodePoint CodePointAt(std::u16string_view text, size_t i) {
  const char16_t unit = text[i];
  if (PairStartsAt(text, i)) {
    return {0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00), 2,
            false};
  }
  return {unit, 1, IsHighSurrogate(unit) || IsLowSurrogate(unit)};
}

// Calls fn(CodePoint, first unit) for every character of `text` in order.
template <typename Fn>
void ForEachCodePoint(std::u16string_view text, Fn&& fn) {
  for (size_t i = 0; i < text.size();) {
    const CodePoint c = CodePointAt(text, i);
    fn(c, i);
    i += c.units;
  }
}

// The number of characters of `text`: a surrogate pair counts once, a lone surrogate once.
size_t CharacterCount(std::u16string_view text);

// Every character of `text` as a string of its own.
std::vector<std::u16string> SplitCharacters(std::u16string_view text);

// Appends `c` to `out` as one unit or a surrogate pair.
void AppendCodePoint(char32_t c, std::u16string& out);

// True for a character of the Han script as Unicode assigns it: the unified ideographs of every
// block and extension (A to G), the compatibility ideographs, 〇 and 々; not punctuation such as
// 。 or ，, nor kana.
bool IsHan(char32_t c);

// True when `text` holds at least one Han character: what "Chinese text" means wherever the
// program decides it.
bool ContainsHan(std::u16string_view text);

}  // namespace tamrel
