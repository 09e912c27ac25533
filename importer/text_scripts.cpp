#include "importer/text_scripts.h"

#include <unicode/uscript.h>

#include "text/text_utils.h"

namespace tamrel {

bool IsHanCharacter(char32_t c) {
  // The common blocks first, so that most characters need no table lookup.
  if (c < 0x2E80) return false;
  if (c >= 0x4E00 && c <= 0x9FFF) return true;
  UErrorCode error = U_ZERO_ERROR;
  return uscript_getScript(static_cast<UChar32>(c), &error) == USCRIPT_HAN && U_SUCCESS(error);
}

char32_t CodePointAt(std::u16string_view text, size_t i, size_t& units) {
  const char16_t unit = text[i];
  if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
    units = 2;
    return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
  }
  units = 1;
  return unit;
}

bool ContainsHan(std::u16string_view text) {
  for (size_t i = 0, units = 0; i < text.size(); i += units) {
    if (IsHanCharacter(CodePointAt(text, i, units))) return true;
  }
  return false;
}

size_t CountCharacters(std::u16string_view text) {
  size_t count = 0;
  for (size_t i = 0, units = 0; i < text.size(); i += units) {
    (void)CodePointAt(text, i, units);
    ++count;
  }
  return count;
}

std::vector<std::u16string> SplitCharacters(std::u16string_view text) {
  std::vector<std::u16string> characters;
  for (size_t i = 0, units = 0; i < text.size(); i += units) {
    (void)CodePointAt(text, i, units);
    characters.emplace_back(text.substr(i, units));
  }
  return characters;
}

bool IsSeparatorSpace(char32_t c) {
  return IsAsciiSpace(c) || c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 ||
         c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

bool IsDroppedInvisible(char32_t c) { return c == 0x200B || c == 0x2060 || c == 0xFEFF; }

std::u16string CollapseSpaces(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  bool pendingSpace = false;
  for (const char16_t unit : text) {
    if (IsAsciiSpace(unit)) {
      pendingSpace = !out.empty();
      continue;
    }
    if (pendingSpace) out += u' ';
    pendingSpace = false;
    out += unit;
  }
  return out;
}

}  // namespace tamrel
