// Text helpers used by every layer: the splitter, the English word normal form, decimal numbers,
// and the UTF-8 <-> UTF-16 conversions at the file boundary. All text in memory is UTF-16;
// equality and order compare code units as unsigned numbers, without case folding or locale.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "text/code_points.h"

namespace tamrel {

using FieldList = std::vector<std::u16string>;

// Calls fn(field) for each field of `text` cut at every occurrence of the non-empty `delimiter`
// (matched whole). Empty leading and inner fields are reported; an empty last field is not.
template <typename Char, typename Fn>
void ForEachField(std::basic_string_view<Char> text, std::basic_string_view<Char> delimiter, Fn&& fn) {
  size_t p = 0;
  while (p <= text.size()) {
    const size_t hit = text.find(delimiter, p);
    if (hit == std::basic_string_view<Char>::npos) break;
    fn(text.substr(p, hit - p));
    p = hit + delimiter.size();
  }
  if (p < text.size()) fn(text.substr(p));
}

// Splits `text` at `delimiter` (non-empty); see ForEachField for the empty-field rules.
FieldList SplitString(std::u16string_view text, std::u16string_view delimiter);

// Folds A-Z to a-z (nothing else), then removes the last character when it is not in a-z (both
// units when it is a surrogate pair).
void NormaliseWord(std::u16string& word);

// True for the ASCII white space skipped before a number: space, tab, LF, VT, FF, CR.
constexpr bool IsAsciiSpace(char32_t c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }
constexpr bool IsAsciiDigit(char32_t c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiLetter(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Decimal parsing: leading ASCII white space, an optional sign, the digits up to the first other
// unit. No digits gives 0; values beyond the signed 32-bit range give the nearest limit.
template <typename Char>
int32_t ParseDecimal(std::basic_string_view<Char> text) {
  size_t i = 0;
  while (i < text.size() && IsAsciiSpace(static_cast<char32_t>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  const int64_t limit =
      negative ? -int64_t{std::numeric_limits<int32_t>::min()} : int64_t{std::numeric_limits<int32_t>::max()};
  for (; i < text.size() && IsAsciiDigit(static_cast<char32_t>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > limit) value = limit;  // saturate; further digits cannot bring it back
  }
  return static_cast<int32_t>(negative ? -value : value);
}

inline int32_t ParseDecimal(std::u16string_view text) { return ParseDecimal<char16_t>(text); }

// Decimal text of a number, no leading zeros, spaces or grouping.
std::u16string FormatDecimal(int64_t value);

// UTF-8 to UTF-16: each maximal ill-formed subpart becomes one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);
void AppendUtf8AsUtf16(std::string_view bytes, std::u16string& out);

// UTF-8 to UTF-16 into `out` (replacing what it held), for files that must be well-formed: false
// at the first ill-formed sequence (a stray or missing continuation byte, an overlong form, a
// surrogate or a code point beyond U+10FFFF), so that damaged text is refused, not half read.
bool StrictUtf8ToUtf16(std::string_view bytes, std::u16string& out);

// UTF-16 to UTF-8: an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Widens plain ASCII literals (file names, fixed fragments) to UTF-16.
std::u16string Ascii(std::string_view ascii);

}  // namespace tamrel
