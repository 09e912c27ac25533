#include "lexicon/simplify.h"

#include <opencc.h>

#include <cstring>

#include "corpus/text_utils.h"
#include "lexicon/segmenter.h"

namespace tamrel {

namespace {

opencc_t Handle(void* handle) { return static_cast<opencc_t>(handle); }

// The length of the run of Han characters (surrogate pairs whole) that starts at `at`; 0 when
// the text there is not Han.
size_t HanRunLength(std::u16string_view text, size_t at) {
  size_t end = at;
  while (end < text.size()) {
    const char16_t unit = text[end];
    char32_t cp = unit;
    size_t length = 1;
    if (unit >= 0xD800 && unit <= 0xDBFF && end + 1 < text.size() && text[end + 1] >= 0xDC00 &&
        text[end + 1] <= 0xDFFF) {
      cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[end + 1] - 0xDC00);
      length = 2;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      break;
    }
    if (!IsHan(cp)) break;
    end += length;
  }
  return end - at;
}

}  // namespace

Simplifier::~Simplifier() {
  if (handle_ != nullptr) opencc_close(Handle(handle_));
}

Status Simplifier::Open(const std::string& config) {
  if (handle_ != nullptr) {
    opencc_close(Handle(handle_));
    handle_ = nullptr;
  }
  const opencc_t handle = opencc_open(config.c_str());
  if (handle == reinterpret_cast<opencc_t>(-1)) {
    const char* why = opencc_error();
    return Status::NotFound(config, std::string("OpenCC cannot load it: ") + (why != nullptr ? why : "unknown error"));
  }
  handle_ = handle;
  return Status::Ok();
}

std::u16string Simplifier::ToSimplified(std::u16string_view text) const {
  if (handle_ == nullptr) return std::u16string(text);
  std::u16string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const size_t run = HanRunLength(text, at);
    if (run == 0) {
      out.push_back(text[at]);
      ++at;
      continue;
    }
    const std::string utf8 = Utf16ToUtf8(text.substr(at, run));
    char* converted = opencc_convert_utf8(Handle(handle_), utf8.data(), utf8.size());
    if (converted == nullptr) {
      out += text.substr(at, run);
    } else {
      AppendUtf8AsUtf16(std::string_view(converted, std::strlen(converted)), out);
      opencc_convert_utf8_free(converted);
    }
    at += run;
  }
  return out;
}

}  // namespace tamrel
