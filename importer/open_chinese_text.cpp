#include "importer/open_chinese_text.h"

#include "importer/text_scripts.h"

namespace tamrel {

namespace {

// The stand-in of OpenChineseText: one word per character (a surrogate pair stays whole), the
// word itself as its pinyin, no conversion.
class CharacterText : public ChineseText {
 public:
  std::u16string ToSimplified(std::u16string_view text) const override { return std::u16string(text); }
  std::vector<std::u16string> Segment(std::u16string_view text) const override { return SplitCharacters(text); }
  std::vector<std::u16string> Pinyin(const std::vector<std::u16string>& words) const override { return words; }
};

}  // namespace

std::unique_ptr<ChineseText> OpenChineseText(const std::filesystem::path& /*root*/, Status& status) {
  status = Status::Ok();
  return std::make_unique<CharacterText>();
}

}  // namespace tamrel
