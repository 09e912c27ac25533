// The language tools an import uses: the lexicon's segmentation and pinyin, read line by line.
#include "importer/open_chinese_text.h"

#include <gtest/gtest.h>

namespace tamrel {
namespace {

std::unique_ptr<ChineseText> OpenTools() {
  Status status;
  std::unique_ptr<ChineseText> tools = OpenChineseText(TAMREL_SOURCE_DIR, status);
  EXPECT_TRUE(status.ok()) << status.ToString();
  return tools;
}

using Words = std::vector<std::u16string>;

TEST(OpenChineseTextTest, TheWordsOfALineAreReadTogether) {
  const std::unique_ptr<ChineseText> tools = OpenTools();
  ASSERT_NE(tools, nullptr);
  const Words words = tools->Segment(u"这条路很长。");
  EXPECT_EQ(words, (Words{u"这", u"条", u"路", u"很", u"长", u"。"}));
  EXPECT_EQ(tools->Pinyin(words), (Words{u"zhè", u"tiáo", u"lù", u"hěn", u"cháng", u"。"}));
  const Words planted = tools->Segment(u"我们种了很多菜");
  EXPECT_EQ(tools->Pinyin(planted), (Words{u"wǒmen", u"zhòng", u"le", u"hěnduō", u"cài"}));
}

TEST(OpenChineseTextTest, ReadingsWriteApostrophes) {
  const std::unique_ptr<ChineseText> tools = OpenTools();
  ASSERT_NE(tools, nullptr);
  const Words words = tools->Segment(u"企鹅饿了");
  EXPECT_EQ(tools->Pinyin(words), (Words{u"qǐ'é", u"è", u"le"}));
  // Words that are not the last segmentation's are read one by one.
  EXPECT_EQ(tools->Pinyin(Words{u"天安门", u"hello"}), (Words{u"tiān'ānmén", u"hello"}));
}

}  // namespace
}  // namespace tamrel
