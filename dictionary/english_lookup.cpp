#include "dictionary/english_lookup.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <unordered_map>

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

// The words of one ';'-separated part of a sense, lower case: those outside parentheses (`core`)
// and all of them; the pinyin of references ("[xian3]") is left out.
void PartWords(std::string_view part, std::vector<std::string>& core, std::vector<std::string>& all) {
  core.clear();
  all.clear();
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
}

// The core without a leading "to", "a", "an" or "the" when more than `wordCount` words are left.
void DropLeadingWord(std::vector<std::string>& core, size_t wordCount) {
  if (!core.empty() && core.size() > wordCount &&
      std::find(std::begin(kLeadingWords), std::end(kLeadingWords), core.front()) != std::end(kLeadingWords)) {
    core.erase(core.begin());
  }
}

// How central a part is for `words` (lower is more central) from its words, the leading word
// dropped; negative when the part does not hold them.
double ScoreOfPart(const std::vector<std::string>& core, const std::vector<std::string>& all,
                   const std::vector<std::string>& words) {
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

// What the place of a part adds: its sense's position among the entry's, a part after the first
// of its sense, a rare register.
double PlaceScore(size_t senseIndex, size_t partIndex, std::string_view sense) {
  return std::min<double>(static_cast<double>(senseIndex), 6.0) + (partIndex > 0 ? 0.5 : 0.0) + RegisterPenalty(sense);
}

// Calls fn(senseIndex, partIndex, sense, part) for each part of each sense of `senses` that does
// not only point elsewhere.
template <typename Fn>
void ForEachPart(std::string_view senses, Fn&& fn) {
  for (size_t index = 0; !senses.empty(); ++index) {
    const size_t slash = senses.find('/');
    const std::string_view sense = senses.substr(0, slash);
    senses.remove_prefix(slash == std::string_view::npos ? senses.size() : slash + 1);
    if (IsPointerSense(sense)) continue;
    std::string_view parts = sense;
    for (size_t p = 0; !parts.empty(); ++p) {
      const size_t semicolon = parts.find(';');
      fn(index, p, sense, parts.substr(0, semicolon));
      parts.remove_prefix(semicolon == std::string_view::npos ? parts.size() : semicolon + 1);
    }
  }
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
  std::vector<std::string> core, all, one(1);
  std::vector<std::pair<std::string, float>> best;  // of the entry being read, by word (few)
  for (size_t i = 0; i < file.size(); ++i) {
    const uint32_t rank = file.FrequencyRank(i);
    const bool proper = file.IsProperNoun(i);
    const bool han = ContainsHan(Utf8ToUtf16(file.Headword(i)));
    best.clear();
    ForEachPart(file.Field(i, 3), [&](size_t index, size_t p, std::string_view sense, std::string_view part) {
      PartWords(part, core, all);
      DropLeadingWord(core, 1);
      const double place = PlaceScore(index, p, sense);
      for (const std::string& word : all) {
        one[0] = word;
        const double score = ScoreOfPart(core, all, one) + place;
        const auto at = std::find_if(best.begin(), best.end(), [&](const auto& b) { return b.first == word; });
        if (at == best.end()) {
          best.emplace_back(word, static_cast<float>(score));
        } else if (score < at->second) {
          at->second = static_cast<float>(score);
        }
      }
    });
    const double entry = FrequencyScore(rank) + (proper ? 6.0 : 0.0) + (han ? 0.0 : 10.0);
    for (const auto& [word, sense] : best) {
      byWord_[word].push_back({static_cast<uint32_t>(i), sense, static_cast<float>(sense + entry), proper});
    }
  }
  // The best first: a one-word look-up takes the head of its list.
  for (auto& [word, postings] : byWord_) {
    std::sort(postings.begin(), postings.end(), [](const Posting& x, const Posting& y) {
      return std::tie(x.total, x.entry) < std::tie(y.total, y.entry);
    });
  }
}

double EnglishLookup::SenseScore(size_t i, const std::vector<std::string>& words) const {
  std::vector<std::string> core, all;
  double best = -1;
  ForEachPart(file_.Field(i, 3), [&](size_t index, size_t p, std::string_view sense, std::string_view part) {
    PartWords(part, core, all);
    DropLeadingWord(core, words.size());
    const double score = ScoreOfPart(core, all, words);
    if (score < 0) return;
    const double total = score + PlaceScore(index, p, sense);
    if (best < 0 || total < best) best = total;
  });
  return best;
}

std::vector<size_t> EnglishLookup::Find(std::u16string_view text, size_t limit, bool* central) const {
  if (central != nullptr) *central = false;
  const std::vector<std::string> typed = EnglishWords(Utf16ToUtf8(text));
  if (typed.empty() || limit == 0) return {};
  // (total, entry, central) of the candidates; an entry found twice keeps its better total.
  struct Candidate {
    float total;
    uint32_t entry;
    bool central;
  };
  std::vector<Candidate> candidates;
  const auto consider = [&](const Posting& posting, float sense, float penalty) {
    const float total = posting.total + penalty;
    const bool isCentral = !posting.proper && sense + penalty < kCentralScore;
    for (Candidate& c : candidates) {
      if (c.entry != posting.entry) continue;
      if (total < c.total) c = {total, posting.entry, isCentral};
      return;
    }
    candidates.push_back({total, posting.entry, isCentral});
  };

  if (typed.size() == 1) {
    // The word, then its base forms a little below it (studies finds 学习): the head of each list.
    std::vector<std::pair<std::string, float>> tries = {{typed.front(), 0.0f}};
    for (const std::u16string& form : EnglishBaseForms(Ascii(typed.front())))
      tries.push_back({Utf16ToUtf8(form), 2.0f});
    for (const auto& [word, penalty] : tries) {
      const auto found = byWord_.find(word);
      if (found == byWord_.end()) continue;
      for (size_t k = 0; k < found->second.size() && k < limit; ++k) {
        consider(found->second[k], found->second[k].sense, penalty);
      }
    }
  } else {
    // A phrase: the entries of its rarest word whose senses hold the whole phrase.
    const std::vector<Posting>* rarest = nullptr;
    for (const std::string& w : typed) {
      const auto found = byWord_.find(w);
      if (found == byWord_.end()) return {};
      if (rarest == nullptr || found->second.size() < rarest->size()) rarest = &found->second;
    }
    for (const Posting& posting : *rarest) {
      const double sense = SenseScore(posting.entry, typed);
      if (sense < 0) continue;
      Posting phrase = posting;
      phrase.total = static_cast<float>(posting.total - posting.sense + sense);
      consider(phrase, static_cast<float>(sense), 0.0f);
    }
  }
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& x, const Candidate& y) {
    return std::tie(x.total, x.entry) < std::tie(y.total, y.entry);
  });
  std::vector<size_t> out;
  for (size_t k = 0; k < candidates.size() && k < limit; ++k) {
    out.push_back(candidates[k].entry);
    if (central != nullptr && candidates[k].central) *central = true;
  }
  return out;
}

}  // namespace tamrel
