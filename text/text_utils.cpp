#include "text/text_utils.h"

#include <unicode/ustring.h>
#include <unicode/utypes.h>

namespace tamrel {

namespace {
constexpr UChar32 kReplacement = 0xFFFD;
}

FieldList SplitString(std::u16string_view text, std::u16string_view delimiter) {
  FieldList fields;
  ForEachField(text, delimiter, [&](std::u16string_view f) { fields.emplace_back(f); });
  return fields;
}

void NormaliseWord(std::u16string& word) {
  for (char16_t& c : word) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  if (word.empty() || (word.back() >= u'a' && word.back() <= u'z')) return;
  // The last character goes whole: dropping only the low half of a surrogate pair would leave a
  // lone high surrogate, which files hold as U+FFFD, so the word could never be found again.
  word.resize(word.size() - LastCharacterUnits(word));
}

std::u16string FormatDecimal(int64_t value) { return Ascii(std::to_string(value)); }

// ICU takes 32-bit lengths; longer texts go through in pieces cut where no sequence is split.
constexpr size_t kMaxPiece = size_t{1} << 30;

void AppendUtf8AsUtf16(std::string_view bytes, std::u16string& out) {
  while (bytes.size() > kMaxPiece) {
    size_t cut = kMaxPiece;
    // Back to the start of a sequence; a sequence has at most three continuation bytes.
    for (int i = 0; i < 3 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80; ++i) --cut;
    AppendUtf8AsUtf16(bytes.substr(0, cut), out);
    bytes.remove_prefix(cut);
  }
  if (bytes.empty()) return;
  const size_t start = out.size();
  // A UTF-8 sequence never yields more UTF-16 units than it has bytes.
  out.resize(start + bytes.size());
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data() + start), static_cast<int32_t>(bytes.size()), &length,
                       bytes.data(), static_cast<int32_t>(bytes.size()), kReplacement, nullptr, &status);
  out.resize(U_FAILURE(status) ? start : start + static_cast<size_t>(length));
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
  std::u16string out;
  AppendUtf8AsUtf16(bytes, out);
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  if (text.size() > kMaxPiece / 3) {  // up to three bytes a unit must fit ICU's 32-bit length
    size_t cut = kMaxPiece / 3;
    if (cut > 0 && text[cut] >= 0xDC00 && text[cut] <= 0xDFFF) --cut;  // keep a pair together
    return Utf16ToUtf8(text.substr(0, cut)) + Utf16ToUtf8(text.substr(cut));
  }
  if (text.empty()) return out;
  out.resize(text.size() * 3);  // at most three bytes per unit
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, reinterpret_cast<const UChar*>(text.data()),
                     static_cast<int32_t>(text.size()), kReplacement, nullptr, &status);
  out.resize(U_FAILURE(status) ? 0 : static_cast<size_t>(length));
  return out;
}

std::u16string Ascii(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

bool StrictUtf8ToUtf16(std::string_view bytes, std::u16string& out) {
  out.clear();
  size_t i = 0;
  while (i < bytes.size()) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 < 0x80) {
      out.push_back(b0);
      ++i;
      continue;
    }
    size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      length = 2, cp = b0 & 0x1F, minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      length = 3, cp = b0 & 0x0F, minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      length = 4, cp = b0 & 0x07, minimum = 0x10000;
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto b = static_cast<unsigned char>(bytes[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || IsHighSurrogate(cp) || IsLowSurrogate(cp)) return false;
    AppendCodePoint(cp, out);
    i += length;
  }
  return true;
}

}  // namespace tamrel
