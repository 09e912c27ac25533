#include "importer/text_scripts.h"

#include "text/text_utils.h"

namespace tamrel {

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
