// Where the window marks the translations of the matched words: the right word of the other
// language, at its UTF-16 place in the line the page shows it on (after a curly quote, with and
// without the pinyin line), for a Chinese and an English query.
#include "explorer/alignment_marks.h"

#include <gtest/gtest.h>

#include "dictionary/dictionary_file.h"

namespace tamrel {
namespace {

const std::string kDictionary =
    "# Tamrel dictionary 1: test\n"
    "喜欢\t\txǐ huan\tto like; to be fond of\t\t\t1\t300\n"
    "奶酪\t\tnǎi lào\tcheese\t\t\t\t9000\n"
    "我\t\twǒ\tI; me; my\t\t\t1\t1\n";

class AlignmentMarksTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dictionary_.Parse(kDictionary, "d.tsv").ok()); }
  SearchCommandResult Result(std::u16string query, Language language) {
    SearchCommandResult result;
    result.query = std::move(query);
    result.language = language;
    result.bilingual = {{u"他 很 好 。", u"tā hěn hǎo 。", u"He is well."},
                        {u"我 喜欢 奶酪 。", u"wǒ xǐhuan nǎilào 。", u"I like \u201Cgood\u201D cheese."}};
    return result;
  }
  DictionaryFile dictionary_;
};

TEST_F(AlignmentMarksTest, ChineseQueryMarksTheEnglishWordAtItsPlace) {
  WordAligner aligner(dictionary_, nullptr);
  // "I like “good” " is 14 UTF-16 units (18 bytes): "cheese" of the second result, on its English line.
  EXPECT_EQ(AlignmentMarks(aligner, Result(u"奶酪", Language::kChinese), /*showPinyin=*/true),
            (std::vector<LineMark>{{1, 2, 14, 6}}));
  EXPECT_EQ(AlignmentMarks(aligner, Result(u"奶酪", Language::kChinese), /*showPinyin=*/false),
            (std::vector<LineMark>{{1, 1, 14, 6}}));
}

TEST_F(AlignmentMarksTest, EnglishQueryMarksTheChineseWordAtItsPlace) {
  WordAligner aligner(dictionary_, nullptr);
  // 奶酪 after "我 喜欢 ", on the Chinese line under the English one; the query's own word, its
  // neighbours, and the 。 that the full stop marked red with "cheese." links to stay unmarked.
  EXPECT_EQ(AlignmentMarks(aligner, Result(u"cheese", Language::kEnglish), true),
            (std::vector<LineMark>{{1, 1, 5, 2}}));
  EXPECT_EQ(AlignmentMarksJson(AlignmentMarks(aligner, Result(u"like", Language::kEnglish), true)), "[[1,1,2,2]]");
  EXPECT_TRUE(AlignmentMarks(aligner, Result(u"milk", Language::kEnglish), true).empty());
}

}  // namespace
}  // namespace tamrel
