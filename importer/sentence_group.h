// How one sentence read from an import file becomes a group of the sentence file: the Chinese
// converted to simplified characters, cut into words and given pinyin, the English with its
// spacing tidied. Whatever the language tools return, the group keeps the layout that prepare
// and the index build require.
#pragma once

#include <string>
#include <string_view>

#include "importer/chinese_text.h"

namespace tamrel {

// The three lines of a group, without line ends: Chinese words and their pinyin tokens separated
// by single spaces (as many of one as of the other), and the English sentence. A monolingual
// group leaves the English line, or the Chinese and pinyin lines, empty.
struct ImportedGroup {
  std::u16string chinese;
  std::u16string pinyin;
  std::u16string english;
};

// Makes the group of the texts `chinese` and `english` (either may be empty):
//  - English: runs of ASCII white space become one space, trimmed at both ends (CollapseSpaces);
//    punctuation stays where it is written ("Hi." is one token).
//  - Chinese: invisible zero-width characters dropped, converted to simplified, cut into words
//    at white space and then by the segmenter; every word gets one pinyin token (white space
//    removed from it; the word itself when the tools give none).
// False when neither side holds anything but white space.
bool MakeImportedGroup(std::u16string_view chinese, std::u16string_view english, const ChineseText& tools,
                       ImportedGroup& group);

}  // namespace tamrel
