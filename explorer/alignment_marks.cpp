#include "explorer/alignment_marks.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <unordered_set>

#include "align/english_tokens.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

// A word of a line: where it stands in the line's UTF-16 text.
struct Place {
  uint32_t start = 0;
  uint32_t length = 0;
};

// The Chinese words as the aligner counts them (cut at spaces and tabs, empty ones left out).
std::vector<Place> ChinesePlaces(std::u16string_view line) {
  std::vector<Place> places;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != u' ' && line[i] != u'\t') ++i;
    if (i > start) places.push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(i - start)});
  }
  return places;
}

// Each SplitEnglish token of `line` found in order in its UTF-8 text, as a UTF-16 place. A token
// that cannot be found (none should be) keeps an empty place, and is never marked.
std::vector<Place> EnglishPlaces(std::string_view utf8, const std::vector<std::string>& tokens) {
  std::vector<Place> places(tokens.size());
  size_t at = 0;       // byte offset searched from
  size_t counted = 0;  // bytes converted to UTF-16 units so far
  uint32_t units = 0;  // UTF-16 units of utf8[0, counted)
  const auto unitsTo = [&](size_t byte) {
    units += static_cast<uint32_t>(Utf8ToUtf16(utf8.substr(counted, byte - counted)).size());
    counted = byte;
    return units;
  };
  for (size_t t = 0; t < tokens.size(); ++t) {
    const size_t found = utf8.find(tokens[t], at);
    if (found == std::string_view::npos || tokens[t].empty()) continue;
    const uint32_t start = unitsTo(found);
    const uint32_t end = unitsTo(found + tokens[t].size());
    places[t] = {start, end - start};
    at = found + tokens[t].size();
  }
  return places;
}

// False for a token of punctuation alone: the page marks "Hello," whole, but only "Hello" was
// searched, and its comma's link to ， is no translation of it.
bool HasWord(std::string_view token) {
  return std::any_of(token.begin(), token.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

}  // namespace

std::vector<LineMark> AlignmentMarks(WordAligner& aligner, const SearchCommandResult& result, bool showPinyin) {
  std::vector<LineMark> marks;
  const bool english = result.language == Language::kEnglish;
  const std::u16string_view query = result.bilingualQuery.empty() ? result.query : result.bilingualQuery;
  // The query's words as the page compares them (normalised for an English query).
  std::unordered_set<std::u16string> queryWords;
  ForEachField<char16_t>(query, u" ", [&](std::u16string_view w) {
    std::u16string word(w);
    if (english) NormaliseWord(word);
    if (!word.empty()) queryWords.insert(std::move(word));
  });
  const uint32_t chineseLine = english ? 1 : 0;
  const uint32_t englishLine = english ? 0 : (showPinyin ? 2 : 1);

  for (size_t item = 0; item < result.bilingual.size(); ++item) {
    const ResultSentence& s = result.bilingual[item];
    const std::string chinese8 = Utf16ToUtf8(s.chinese);
    const std::string english8 = Utf16ToUtf8(s.english);
    const std::vector<std::string> tokens = SplitEnglish(english8);
    const std::vector<std::string_view> tokenViews(tokens.begin(), tokens.end());
    const std::vector<AlignLink> links = aligner.Align(SplitTokens(chinese8), tokenViews);
    if (links.empty()) continue;
    const std::vector<Place> chinese = ChinesePlaces(s.chinese);
    const std::vector<Place> englishPlaces = EnglishPlaces(english8, tokens);

    // Which words the page marked red: Chinese words equal to a query word, or English tokens
    // inside a space-separated word that equals one once normalised.
    std::vector<bool> matched(english ? tokens.size() : chinese.size(), false);
    if (english) {
      std::u16string word;
      size_t start = 0;
      ForEachField<char16_t>(s.english, u" ", [&](std::u16string_view w) {
        word = w;
        NormaliseWord(word);
        if (!w.empty() && queryWords.contains(word)) {
          for (size_t t = 0; t < englishPlaces.size(); ++t) {
            const Place& p = englishPlaces[t];
            if (p.length > 0 && p.start >= start && p.start + p.length <= start + w.size() && HasWord(tokens[t])) {
              matched[t] = true;
            }
          }
        }
        start += w.size() + 1;
      });
    } else {
      for (size_t i = 0; i < chinese.size(); ++i) {
        matched[i] = queryWords.contains(std::u16string(s.chinese.substr(chinese[i].start, chinese[i].length)));
      }
    }

    std::vector<bool> marked(english ? chinese.size() : tokens.size(), false);
    for (const AlignLink& link : links) {
      const uint32_t from = english ? link.english : link.chinese;
      const uint32_t to = english ? link.chinese : link.english;
      if (from < matched.size() && matched[from] && to < marked.size()) marked[to] = true;
    }
    for (size_t i = 0; i < marked.size(); ++i) {
      if (!marked[i]) continue;
      const Place& p = english ? chinese[i] : englishPlaces[i];
      if (p.length == 0) continue;
      marks.push_back({static_cast<uint32_t>(item), english ? chineseLine : englishLine, p.start, p.length});
    }
  }
  return marks;
}

std::string AlignmentMarksJson(const std::vector<LineMark>& marks) {
  std::string json = "[";
  for (size_t i = 0; i < marks.size(); ++i) {
    const LineMark& m = marks[i];
    if (i > 0) json += ',';
    json += '[' + std::to_string(m.item) + ',' + std::to_string(m.line) + ',' + std::to_string(m.start) + ',' +
            std::to_string(m.length) + ']';
  }
  json += ']';
  return json;
}

}  // namespace tamrel
