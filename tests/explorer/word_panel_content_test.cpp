// The word panel's HTML: its own words come from the labels the window gives (the dictionary's
// text stays as it is), and a character's own HSK level shows where it differs from the word's.
#include "explorer/word_panel_content.h"

#include <gtest/gtest.h>

#include "text/text_utils.h"

namespace tamrel {
namespace {

WordPanelContent Liao() {
  DictionaryEntry entry;
  entry.simplified = entry.traditional = u"了";
  entry.syllables = {u"liǎo"};
  entry.senses = {u"to finish"};
  entry.classifiers = {u"个[gè]"};
  entry.hsk = HskLevel::k3;
  entry.characterHsk = HskLevel::k1;
  entry.frequencyRank = 1;
  WordPanelContent content;
  content.kind = WordPanelContent::Kind::kEntries;
  content.heading = u"了";
  content.entries = {entry};
  return content;
}

TEST(WordPanelContentTest, LabelsComeFromTheWindow) {
  WordPanelLabels chinese;
  chinese.hsk = u"HSK %1级";
  chinese.characterHsk = u"汉字：HSK %1级";
  chinese.classifiers = u"量词：";
  chinese.veryCommon = u"很常用";
  const std::string html = Utf16ToUtf8(WordPanelHtml(Liao(), chinese));
  EXPECT_NE(html.find("HSK 3级"), std::string::npos) << html;
  EXPECT_NE(html.find("汉字：HSK 1级"), std::string::npos) << html;
  EXPECT_NE(html.find("量词： 个[gè]"), std::string::npos) << html;
  EXPECT_NE(html.find("很常用"), std::string::npos) << html;
  EXPECT_NE(html.find("to finish"), std::string::npos) << html;
  EXPECT_EQ(html.find("very common"), std::string::npos) << html;

  WordPanelContent nothing;
  nothing.heading = u"<x>";
  WordPanelLabels none;
  none.noEntry = u"词典中没有“%1”。";
  EXPECT_NE(Utf16ToUtf8(WordPanelHtml(nothing, none)).find("词典中没有“&lt;x&gt;”。"), std::string::npos);
}

TEST(WordPanelContentTest, CharacterLevelOnlyWhereItDiffers) {
  WordPanelContent content = Liao();
  EXPECT_NE(Utf16ToUtf8(WordPanelHtml(content)).find("character: HSK 1"), std::string::npos);
  content.entries[0].hsk = HskLevel::k1;
  EXPECT_EQ(Utf16ToUtf8(WordPanelHtml(content)).find("character:"), std::string::npos);
}

}  // namespace
}  // namespace tamrel
