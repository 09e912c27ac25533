#include "importer/sentence_group.h"

#include <vector>

#include "importer/text_scripts.h"

namespace tamrel {

namespace {

// Appends the pieces of `text` between separator spaces to `pieces`, without the invisible
// characters that are dropped.
void AppendPieces(std::u16string_view text, std::vector<std::u16string>& pieces) {
  std::u16string piece;
  ForEachCodePoint(text, [&](CodePoint c, size_t at) {
    if (IsSeparatorSpace(c.value)) {
      if (!piece.empty()) pieces.push_back(std::move(piece));
      piece.clear();
    } else if (!IsDroppedInvisible(c.value)) {
      piece.append(text.substr(at, c.units));
    }
  });
  if (!piece.empty()) pieces.push_back(std::move(piece));
}

// The words of the Chinese text: cut at white space, each piece segmented, and whatever white
// space the segmenter returns dropped again.
std::vector<std::u16string> ChineseWords(std::u16string_view text, const ChineseText& tools) {
  std::vector<std::u16string> pieces;
  AppendPieces(tools.ToSimplified(text), pieces);
  std::vector<std::u16string> words;
  for (const std::u16string& piece : pieces) {
    for (const std::u16string& word : tools.Segment(piece)) AppendPieces(word, words);
  }
  return words;
}

void Join(const std::vector<std::u16string>& tokens, std::u16string& line) {
  line.clear();
  for (const std::u16string& token : tokens) {
    if (!line.empty()) line += u' ';
    line += token;
  }
}

}  // namespace

bool MakeImportedGroup(std::u16string_view chinese, std::u16string_view english, const ChineseText& tools,
                       ImportedGroup& group) {
  group.english = CollapseSpaces(english);
  group.chinese.clear();
  group.pinyin.clear();
  const std::vector<std::u16string> words =
      chinese.empty() ? std::vector<std::u16string>() : ChineseWords(chinese, tools);
  if (!words.empty()) {
    // One token per word whatever the tools return: the pinyin line must match the Chinese one.
    std::vector<std::u16string> pinyin = tools.Pinyin(words);
    pinyin.resize(words.size());
    for (size_t i = 0; i < words.size(); ++i) {
      std::vector<std::u16string> pieces;
      AppendPieces(pinyin[i], pieces);
      pinyin[i].clear();
      for (const std::u16string& p : pieces) pinyin[i] += p;
      if (pinyin[i].empty()) pinyin[i] = words[i];
    }
    Join(words, group.chinese);
    Join(pinyin, group.pinyin);
  }
  return !group.chinese.empty() || !group.english.empty();
}

}  // namespace tamrel
