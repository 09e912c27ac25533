#include "explorer/sentence_text.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utf16.h>

#include "text/code_points.h"

namespace tamrel {

namespace {

bool IsSpaceLike(char16_t c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029; }

// Marks written against the word before them, and marks written against the word after them.
constexpr std::u16string_view kClosingMarks = u"。，、？！：；”’）》」』】〕〉…‥．］｝〗〙";
constexpr std::u16string_view kOpeningMarks = u"“‘（《「『【〔〈［｛〖〘";

// The dot between the parts of a foreign name (达·芬奇, dá·fēnqí), written against both.
constexpr char16_t kNameDot = u'\u00B7';

}  // namespace

std::u16string PlainText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c == u' ' || IsSpaceLike(c)) {
      if (!out.empty() && out.back() != u' ') out.push_back(u' ');
    } else {
      out.push_back(c);
    }
  }
  if (!out.empty() && out.back() == u' ') out.pop_back();
  return out;
}

std::u16string JoinChineseWords(std::u16string_view line) {
  const std::u16string plain = PlainText(line);
  std::u16string out;
  out.reserve(plain.size());
  for (size_t i = 0; i < plain.size(); ++i) {
    // PlainText leaves no space at either end, so a space has a character on both sides.
    if (plain[i] == u' ' && (plain[i - 1] >= 0x80 || plain[i + 1] >= 0x80)) continue;
    out.push_back(plain[i]);
  }
  return out;
}

std::u16string JoinPinyinWords(std::u16string_view line) {
  const std::u16string plain = PlainText(line);
  std::u16string out;
  out.reserve(plain.size());
  for (size_t i = 0; i < plain.size(); ++i) {
    // PlainText leaves no space at either end, so a space has a character on both sides.
    if (plain[i] == u' ') {
      const char16_t before = plain[i - 1];
      const char16_t after = plain[i + 1];
      if (kClosingMarks.find(after) != std::u16string_view::npos ||
          kOpeningMarks.find(before) != std::u16string_view::npos || before == kNameDot || after == kNameDot) {
        continue;
      }
    }
    out.push_back(plain[i]);
  }
  return out;
}

SpokenLanguage SpokenLanguageOf(std::u16string_view text) {
  bool latin = false;
  bool han = false;
  ForEachCodePoint(text, [&](CodePoint c, size_t) {
    if (c.lone) return;
    if (IsHan(c.value)) han = true;
    UErrorCode error = U_ZERO_ERROR;
    const UScriptCode script = uscript_getScript(static_cast<UChar32>(c.value), &error);
    if (U_SUCCESS(error) && script == USCRIPT_LATIN && u_isalpha(static_cast<UChar32>(c.value))) latin = true;
  });
  if (han) return SpokenLanguage::kMandarin;
  return latin ? SpokenLanguage::kEnglish : SpokenLanguage::kNone;
}

}  // namespace tamrel
