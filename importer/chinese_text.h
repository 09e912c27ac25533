// ChineseText: what the importer needs of the language tools — traditional to simplified
// conversion, word segmentation and pinyin. The importer holds a const reference and may call it
// from a worker thread; an implementation must be safe to use that way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

class ChineseText {
 public:
  virtual ~ChineseText() = default;
  // Traditional -> simplified.
  virtual std::u16string ToSimplified(std::u16string_view text) const = 0;
  // Words, every character kept once.
  virtual std::vector<std::u16string> Segment(std::u16string_view text) const = 0;
  // One token per word; non-Chinese tokens as they stand.
  virtual std::vector<std::u16string> Pinyin(const std::vector<std::u16string>& words) const = 0;
};

}  // namespace tamrel
