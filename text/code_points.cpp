#include "text/code_points.h"

#include <unicode/uscript.h>

namespace tamrel {

size_t CharacterCount(std::u16string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); i += CharacterUnitsAt(text, i)) ++count;
  return count;
}

std::vector<std::u16string> SplitCharacters(std::u16string_view text) {
  std::vector<std::u16string> characters;
  ForEachCodePoint(text, [&](CodePoint c, size_t at) { characters.emplace_back(text.substr(at, c.units)); });
  return characters;
}

void AppendCodePoint(char32_t c, std::u16string& out) {
  if (c >= 0x10000) {
    out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(c));
  }
}

bool IsHan(char32_t c) {
  // The common blocks first, so that most characters need no table lookup.
  if (c < 0x2E80) return false;
  if (c >= 0x4E00 && c <= 0x9FFF) return true;
  UErrorCode error = U_ZERO_ERROR;
  return uscript_getScript(static_cast<UChar32>(c), &error) == USCRIPT_HAN && U_SUCCESS(error);
}

bool ContainsHan(std::u16string_view text) {
  for (size_t i = 0; i < text.size();) {
    const CodePoint c = CodePointAt(text, i);
    if (!c.lone && IsHan(c.value)) return true;
    i += c.units;
  }
  return false;
}

}  // namespace tamrel
