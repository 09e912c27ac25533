// The shown text of each word: a slip at the edge of what fits in a slot, or in where a long text
// lies, would show wrong words in every result sentence.
#include "corpus/word_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamrel {
namespace {

// The text of word `id` as a search writes it, from a buffer with the room Copy asks for.
std::u16string Shown(const WordTexts& texts, const StringList& words, uint32_t id) {
  std::u16string buffer(texts.Length(words, id) + WordTexts::kInlineUnits, u'#');
  const char16_t* end = texts.Copy(words, id, buffer.data());
  EXPECT_EQ(static_cast<size_t>(end - buffer.data()), texts.Length(words, id));
  return buffer.substr(0, texts.Length(words, id));
}

TEST(WordTextsTest, EveryKeyShownWithoutItsPrefix) {
  const std::vector<std::u16string> keys = {u"",
                                            u"2",
                                            u"2a",
                                            u"0天气",
                                            u"1tiānqì",
                                            u"2abcdefg" /* 7 units */,
                                            u"2abcdefgh",
                                            u"3Weather",
                                            u"0\U0001F600",
                                            u"2antidisestablishmentarianism"};
  StringList words;
  for (const auto& k : keys) ASSERT_TRUE(words.push_back(k));
  WordTexts texts;
  texts.Rebuild(words);
  ASSERT_EQ(texts.size(), keys.size());
  for (uint32_t id = 0; id < keys.size(); ++id) {
    const std::u16string expected = keys[id].empty() ? u"" : keys[id].substr(1);
    EXPECT_EQ(Shown(texts, words, id), expected) << "word " << id;
    EXPECT_EQ(texts.Outside(id), expected.size() > WordTexts::kInlineUnits) << "word " << id;
  }
}

// A key too long for the slot's length field still shows whole.
TEST(WordTextsTest, KeyLongerThanTheLengthField) {
  StringList words;
  ASSERT_TRUE(words.push_back(u"2short"));
  const std::u16string huge = u"2" + std::u16string(70000, u'x');
  ASSERT_TRUE(words.push_back(huge));
  WordTexts texts;
  for (size_t id = 0; id < words.size(); ++id) texts.Add(words, id);
  EXPECT_EQ(Shown(texts, words, 1), huge.substr(1));
  EXPECT_EQ(Shown(texts, words, 0), u"short");
}

}  // namespace
}  // namespace tamrel
