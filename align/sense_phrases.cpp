#include "align/sense_phrases.h"

#include <algorithm>
#include <array>

#include "align/english_forms.h"
#include "dictionary/english_lookup.h"

namespace tamrel {

namespace {

// The sense without its notes in parentheses (nested ones too).
std::string WithoutNotes(std::string_view sense) {
  std::string out;
  int depth = 0;
  for (char c : sense) {
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      depth = std::max(0, depth - 1);
    } else if (depth == 0) {
      out += c;
    }
  }
  return out;
}

bool IsPlaceholder(std::string_view w) {
  static constexpr std::array<std::string_view, 9> kWords = {"sb",      "sth", "something", "somebody", "someone",
                                                             "oneself", "one", "etc",       "esp"};
  return std::find(kWords.begin(), kWords.end(), w) != kWords.end();
}

void AddPart(std::string_view part, float rank, std::vector<SensePhrase>& phrases) {
  std::vector<std::string> words = EnglishWords(part);
  std::erase_if(words, [](const std::string& w) { return IsPlaceholder(w); });
  if (words.size() > 1 && words.front() == "to") words.erase(words.begin());
  if (words.size() > 1 && (words.front() == "a" || words.front() == "an" || words.front() == "the")) {
    words.erase(words.begin());
  }
  // Longer parts are explanations, not translations.
  if (words.empty() || words.size() > 4) return;
  SensePhrase phrase;
  phrase.rank = rank;
  for (const std::string& w : words) {
    std::vector<std::string> forms = EnglishTokenForms(w);
    if (forms.empty()) return;
    phrase.words.push_back(std::move(forms));
  }
  phrases.push_back(std::move(phrase));
}

}  // namespace

bool IsFunctionWord(std::string_view lower) {
  static constexpr std::array<std::string_view, 40> kWords = {
      "a",    "an",   "the",  "of",   "to",   "be",   "in",    "on",   "at",    "for",  "with", "and",  "or",   "by",
      "from", "as",   "so",   "it",   "that", "this", "up",    "out",  "do",    "have", "get",  "make", "take", "into",
      "off",  "over", "down", "very", "much", "some", "about", "than", "there", "such", "way",  "thing"};
  return std::find(kWords.begin(), kWords.end(), lower) != kWords.end();
}

std::vector<SensePhrase> SensePhrases(const DictionaryFile& file, std::string_view word) {
  std::vector<SensePhrase> phrases;
  const auto [first, last] = file.FindHeadword(word);
  // The less common readings of a word (吗 "what?" beside the question particle) only when it
  // has no common one: their senses link words that are seldom meant.
  bool common = false;
  for (size_t i = first; i < last && !common; ++i) common = !file.IsSecondary(i);
  float order = 0;
  for (size_t i = first; i < last; ++i) {
    if (common && file.IsSecondary(i)) continue;
    const float secondary = file.IsSecondary(i) ? 1.0f : 0.0f;
    std::string_view senses = file.Field(i, 3);
    while (!senses.empty()) {
      const size_t slash = senses.find('/');
      const std::string_view sense = senses.substr(0, slash);
      senses = slash == std::string_view::npos ? std::string_view() : senses.substr(slash + 1);
      if (IsPointerSense(sense)) continue;
      const std::string plain = WithoutNotes(sense);
      std::string_view rest = plain;
      while (!rest.empty()) {
        const size_t cut = rest.find_first_of(";,");
        AddPart(rest.substr(0, cut), order + secondary, phrases);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
      }
      order += 1;
    }
  }
  return phrases;
}

}  // namespace tamrel
