#include "dictionary/english_lookup.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "lexicon/english_base_forms.h"
#include "text/code_points.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

// Senses in a register a learner rarely wants first.
constexpr std::string_view kRareRegisters[] = {"(literary)", "(archaic)", "(old)",       "(dialect)",  "(classical)",
                                               "(Tw)",       "(slang)",   "(Cantonese)", "(euphemism)"};
// Words a sense part starts with that leave its meaning as it is ("to study" is "study").
constexpr std::string_view kLeadingWords[] = {"to", "a", "an", "the"};

double RegisterPenalty(std::string_view sense) {
  for (const std::string_view r : kRareRegisters) {
    if (sense.starts_with(r)) return 4.0;
  }
  return sense.starts_with("(bound form)") ? 1.5 : 0.0;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// True when `words` occur one after another in `tokens`.
bool HoldsPhrase(const std::vector<std::string>& tokens, const std::vector<std::string>& words) {
  if (words.empty() || tokens.size() < words.size()) return false;
  return std::search(tokens.begin(), tokens.end(), words.begin(), words.end()) != tokens.end();
}

// The score of one ';'-separated part of a sense: lower is more central; negative when the part
// does not hold the words.
double PartScore(std::string_view part, const std::vector<std::string>& words) {
  std::vector<std::string> core, all;  // the words outside parentheses, and all of them
  int depth = 0;
  std::string word;
  const auto flush = [&] {
    if (word.empty()) return;
    if (depth == 0) core.push_back(word);
    all.push_back(std::move(word));
    word.clear();
  };
  bool inReading = false;
  for (const char c : part) {
    if (inReading) {
      inReading = c != ']';
      continue;
    }
    if (IsLetter(c)) {
      word += Lower(c);
      continue;
    }
    flush();
    if (c == '(') ++depth;
    if (c == ')' && depth > 0) --depth;
    inReading = c == '[';
  }
  flush();
  if (!core.empty() && core.size() > words.size() &&
      std::find(std::begin(kLeadingWords), std::end(kLeadingWords), core.front()) != std::end(kLeadingWords)) {
    core.erase(core.begin());
  }
  double score;
  if (HoldsPhrase(core, words)) {
    score = core == words ? 0.0 : 4.0;
  } else if (HoldsPhrase(all, words)) {
    score = 10.0;  // only inside a parenthesis: "(of eyes) bright" does not translate "eyes"
  } else {
    return -1;
  }
  return score + 0.5 * static_cast<double>(std::min<size_t>(core.size(), 8));
}

// What a word's frequency adds to its score: more for rarer words, most for unknown ones.
double FrequencyScore(uint32_t rank) { return rank == 0 ? 12.0 : 0.6 * std::log2(static_cast<double>(rank)); }

}  // namespace

std::vector<std::string> EnglishWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool inReading = false;
  for (const char c : text) {
    if (inReading) {
      inReading = c != ']';
    } else if (c == '[') {
      inReading = true;
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else if (IsLetter(c)) {
      word += Lower(c);
    } else if (!word.empty()) {
      words.push_back(std::move(word));
      word.clear();
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

EnglishLookup::EnglishLookup(const DictionaryFile& file) : file_(file) {
  for (size_t i = 0; i < file.size(); ++i) {
    for (std::string& word : EnglishWords(file.Field(i, 3))) {
      std::vector<uint32_t>& lines = byWord_[std::move(word)];
      if (lines.empty() || lines.back() != i) lines.push_back(static_cast<uint32_t>(i));
    }
  }
}

double EnglishLookup::SenseScore(size_t i, const std::vector<std::string>& words) const {
  std::string_view senses = file_.Field(i, 3);
  double best = -1;
  for (size_t index = 0; !senses.empty(); ++index) {
    const size_t slash = senses.find('/');
    const std::string_view sense = senses.substr(0, slash);
    senses.remove_prefix(slash == std::string_view::npos ? senses.size() : slash + 1);
    if (IsPointerSense(sense)) continue;
    std::string_view parts = sense;
    for (size_t p = 0; !parts.empty(); ++p) {
      const size_t semicolon = parts.find(';');
      const double score = PartScore(parts.substr(0, semicolon), words);
      parts.remove_prefix(semicolon == std::string_view::npos ? parts.size() : semicolon + 1);
      if (score < 0) continue;
      const double total =
          score + std::min<double>(static_cast<double>(index), 6.0) + (p > 0 ? 0.5 : 0.0) + RegisterPenalty(sense);
      if (best < 0 || total < best) best = total;
    }
  }
  return best;
}

std::vector<size_t> EnglishLookup::Find(std::u16string_view text, size_t limit, bool* central) const {
  if (central != nullptr) *central = false;
  const std::vector<std::string> typed = EnglishWords(Utf16ToUtf8(text));
  if (typed.empty()) return {};
  std::vector<std::pair<std::vector<std::string>, double>> tries = {{typed, 0.0}};
  if (typed.size() == 1) {
    for (const std::u16string& form : EnglishBaseForms(Ascii(typed.front()))) {
      tries.push_back({{Utf16ToUtf8(form)}, 2.0});
    }
  }
  std::vector<std::pair<double, size_t>> scored;
  std::unordered_set<size_t> seen;
  for (const auto& [words, penalty] : tries) {
    const std::vector<uint32_t>* rarest = nullptr;
    for (const std::string& w : words) {
      const auto found = byWord_.find(w);
      if (found == byWord_.end()) {
        rarest = nullptr;
        break;
      }
      if (rarest == nullptr || found->second.size() < rarest->size()) rarest = &found->second;
    }
    if (rarest == nullptr) continue;
    for (const uint32_t i : *rarest) {
      const double sense = SenseScore(i, words);
      if (sense < 0 || !seen.insert(i).second) continue;
      if (central != nullptr && sense + penalty < kCentralScore && !file_.IsProperNoun(i)) *central = true;
      double total = sense + penalty + FrequencyScore(file_.FrequencyRank(i));
      if (file_.IsProperNoun(i)) total += 6.0;
      if (!ContainsHan(Utf8ToUtf16(file_.Headword(i)))) total += 10.0;
      scored.emplace_back(total, i);
    }
  }
  std::sort(scored.begin(), scored.end());
  std::vector<size_t> out;
  for (size_t k = 0; k < scored.size() && k < limit; ++k) out.push_back(scored[k].second);
  return out;
}

}  // namespace tamrel
