#include "lexicon/line_analysis.h"

#include "lexicon/pinyin.h"

namespace tamrel {

AnalysedLine AnalyseLine(Segmenter& segmenter, const Lexicon& lexicon, const Simplifier& simplifier,
                         std::u16string_view line, bool readings) {
  const std::u16string simplified = simplifier.ToSimplified(line);
  // OpenCC maps traditional to simplified character for character nearly always; when it did,
  // token positions in the simplified text are positions in the line too.
  const std::u16string_view shown = simplified.size() == line.size() ? line : std::u16string_view(simplified);
  AnalysedLine result;
  std::vector<Token> words;
  for (const Token& token : segmenter.Segment(simplified)) {
    if (token.kind == TokenKind::kSpace) continue;
    result.words.emplace_back(shown.substr(token.begin, token.length));
    words.push_back(token);
  }
  // The words are read together, so that a word's reading may depend on its neighbours.
  if (readings) result.readings = Pinyin(lexicon, simplified, words);
  return result;
}

void AppendSegmentedLine(Segmenter& segmenter, const Simplifier& simplifier, std::u16string_view line,
                         std::u16string& out) {
  const std::u16string simplified = simplifier.ToSimplified(line);
  const std::u16string_view shown = simplified.size() == line.size() ? line : std::u16string_view(simplified);
  bool first = true;
  for (const Token& token : segmenter.Segment(simplified)) {
    if (token.kind == TokenKind::kSpace) continue;
    if (!first) out += u' ';
    out += shown.substr(token.begin, token.length);
    first = false;
  }
}

}  // namespace tamrel
