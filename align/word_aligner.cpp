#include "align/word_aligner.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "align/english_forms.h"

namespace tamrel {

namespace {

// Scores of the kinds of link: a whole sense phrase above a word taken out of a longer one, and
// all dictionary links above co-occurrence (whose Dice coefficient is at most 1).
constexpr double kIdentical = 3.0;
constexpr double kPunctuation = 2.5;
constexpr double kPhrase = 2.0;
constexpr double kPhraseWord = 0.3;  // more for each further word of a phrase matched
constexpr double kSenseWord = 1.2;
constexpr double kRankStep = 0.03;   // less for each later sense
constexpr double kDecomposed = 0.3;  // less for a word read from its parts
constexpr double kPosition = 0.5;    // times the difference of relative positions

// Chinese punctuation and the English mark it stands for (not the dot inside a foreign name,
// 汤姆·汉克斯, which English writes as a space).
constexpr std::array<std::pair<std::string_view, std::string_view>, 13> kMarks = {{{"。", "."},
                                                                                   {"，", ","},
                                                                                   {"？", "?"},
                                                                                   {"！", "!"},
                                                                                   {"：", ":"},
                                                                                   {"；", ";"},
                                                                                   {"、", ","},
                                                                                   {"（", "("},
                                                                                   {"）", ")"},
                                                                                   {"“", "\""},
                                                                                   {"”", "\""},
                                                                                   {"…", "..."},
                                                                                   {"——", "-"}}};

bool IsAsciiAlnumChar(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string_view EnglishMark(std::string_view chinese) {
  for (const auto& [zh, en] : kMarks) {
    if (chinese == zh) return en;
  }
  if (chinese.size() == 1 && !IsAsciiAlnumChar(chinese[0])) return chinese;  // ASCII marks stand for themselves
  return {};
}

// `token` with full-width ASCII (Ａ, ３) made ASCII and lower case; empty when it holds anything
// but ASCII letters, digits and inner marks (a number such as 3.5 or a Latin word).
std::string LatinForm(std::string_view token) {
  std::string out;
  for (size_t i = 0; i < token.size();) {
    const unsigned char c = static_cast<unsigned char>(token[i]);
    if (c < 0x80) {
      out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
      ++i;
    } else if (c == 0xEF && i + 2 < token.size()) {
      // U+FF01..U+FF5E, encoded EF BC 81..EF BD 9E, are ASCII 0x21..0x7E.
      const unsigned char b1 = static_cast<unsigned char>(token[i + 1]), b2 = static_cast<unsigned char>(token[i + 2]);
      const int code = ((b1 & 0x3F) << 6) | (b2 & 0x3F);  // low 12 bits of U+Fxxx
      if (code < 0xF01 || code > 0xF5E) return {};
      char a = static_cast<char>(code - 0xF01 + 0x21);
      if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
      out += a;
      i += 3;
    } else {
      return {};
    }
  }
  if (std::none_of(out.begin(), out.end(), IsAsciiAlnumChar)) return {};
  return out;
}

// True when a sense word (its forms, the word itself first) and an English token (likewise) are
// the same word: one is a base form of the other, or they are the same. Two words that only
// share a base form (leaves, left -> leave) are not taken.
bool SameWord(const std::vector<std::string>& sense, const std::vector<std::string>& token) {
  if (sense.empty() || token.empty()) return false;
  if (std::find(token.begin(), token.end(), sense.front()) != token.end()) return true;
  return std::find(sense.begin() + 1, sense.end(), token.front()) != sense.end();
}

struct Unit {
  uint32_t chinese;
  uint32_t first, last;  // English tokens [first, last]
  double score;
};

}  // namespace

WordAligner::WordAligner(const DictionaryFile& dictionary, const CooccurrenceTable* table, AlignParts parts)
    : dictionary_(dictionary), table_(table), parts_(parts) {}

const std::vector<std::string>& WordAligner::FormsOf(std::string_view token) {
  auto it = forms_.find(token);
  if (it == forms_.end()) it = forms_.emplace(std::string(token), EnglishTokenForms(token)).first;
  return it->second;
}

const std::vector<SensePhrase>& WordAligner::PhrasesOf(std::string_view word) {
  auto it = phrases_.find(word);
  if (it != phrases_.end()) return it->second;
  std::vector<SensePhrase> phrases = SensePhrases(dictionary_, word);
  if (phrases.empty() && word.size() <= 24) {
    // A word the dictionary lacks (汤姆的, 我们的): the longest known parts from the left, ranked
    // below the words the dictionary holds.
    std::string_view rest = word;
    while (!rest.empty()) {
      size_t take = rest.size();
      std::vector<SensePhrase> part;
      for (; take > 0; --take) {
        if (take < rest.size() && (static_cast<unsigned char>(rest[take]) & 0xC0) == 0x80) continue;
        if (take == rest.size() && rest.size() == word.size()) continue;  // the whole word has none
        part = SensePhrases(dictionary_, rest.substr(0, take));
        if (!part.empty()) break;
      }
      if (take == 0) {
        // No known part starts here: skip one character.
        take = 1;
        while (take < rest.size() && (static_cast<unsigned char>(rest[take]) & 0xC0) == 0x80) ++take;
      }
      for (SensePhrase& p : part) {
        p.rank += kDecomposed / kRankStep;
        phrases.push_back(std::move(p));
      }
      rest.remove_prefix(take);
    }
  }
  return phrases_.emplace(std::string(word), std::move(phrases)).first->second;
}

bool WordAligner::SensesHold(std::string_view word, std::string_view lower) {
  for (const SensePhrase& phrase : PhrasesOf(word)) {
    for (const std::vector<std::string>& forms : phrase.words) {
      if (std::find(forms.begin(), forms.end(), lower) != forms.end()) return true;
    }
  }
  return false;
}

std::vector<AlignLink> WordAligner::Align(const std::vector<std::string_view>& chinese,
                                          const std::vector<std::string_view>& english) {
  std::vector<AlignLink> links;
  const size_t n = chinese.size(), m = english.size();
  if (n == 0 || m == 0 || n > kMaxWords || m > kMaxWords) return links;
  std::vector<const std::vector<std::string>*> forms(m);
  std::vector<std::string> latin(m), latinStem(m);
  std::vector<uint32_t> counted(m, CooccurrenceTable::kUnknown);
  const bool cooccurrence = parts_.cooccurrence && table_ != nullptr;
  for (size_t j = 0; j < m; ++j) {
    forms[j] = &FormsOf(english[j]);
    latin[j] = LatinForm(english[j]);
    // A possessive is its noun too: Tom's is Tom.
    if (latin[j].ends_with("'s")) latinStem[j] = latin[j].substr(0, latin[j].size() - 2);
    // Punctuation and numbers have links of their own.
    if (cooccurrence && !forms[j]->empty()) counted[j] = table_->EnglishId(forms[j]->front());
  }
  std::vector<Unit> units;
  auto add = [&](size_t i, size_t first, size_t last, double score) {
    const double zhAt = (i + 0.5) / n, enAt = ((first + last) / 2.0 + 0.5) / m;
    units.push_back({static_cast<uint32_t>(i), static_cast<uint32_t>(first), static_cast<uint32_t>(last),
                     score - kPosition * std::abs(zhAt - enAt)});
  };
  for (size_t i = 0; i < n; ++i) {
    const std::string_view word = chinese[i];
    if (parts_.punctuation) {
      if (const std::string_view mark = EnglishMark(word); !mark.empty()) {
        for (size_t j = 0; j < m; ++j) {
          if (english[j] == mark) add(i, j, j, kPunctuation);
        }
        continue;
      }
    }
    if (parts_.identical) {
      if (const std::string own = LatinForm(word); !own.empty()) {
        for (size_t j = 0; j < m; ++j) {
          if (latin[j] == own || latinStem[j] == own) add(i, j, j, kIdentical);
        }
      }
    }
    if (parts_.dictionary) {
      for (const SensePhrase& phrase : PhrasesOf(word)) {
        const size_t k = phrase.words.size();
        // "be" is a translation only in a word's first sense: 是 "to be", but not 做 "to be" (a
        // later one), which would link every "is" and "'re".
        if (k == 1 && phrase.rank >= 1 && phrase.words.front().front() == "be") continue;
        const double rank = kRankStep * std::min(phrase.rank, 20.0f);
        for (size_t j = 0; j + k <= m; ++j) {
          size_t x = 0;
          while (x < k && SameWord(phrase.words[x], *forms[j + x])) ++x;
          if (x == k) add(i, j, j + k - 1, kPhrase + kPhraseWord * (k - 1) - rank);
        }
        if (k == 1) continue;
        for (const std::vector<std::string>& w : phrase.words) {
          if (IsFunctionWord(w.front())) continue;
          for (size_t j = 0; j < m; ++j) {
            if (SameWord(w, *forms[j])) add(i, j, j, kSenseWord - rank);
          }
        }
      }
    }
    if (cooccurrence) {
      if (const uint32_t id = table_->ChineseId(word); id != CooccurrenceTable::kUnknown) {
        for (size_t j = 0; j < m; ++j) {
          const double dice = table_->Dice(id, counted[j]);
          if (dice >= kMinimumDice) add(i, j, j, dice);
        }
      }
    }
  }
  // Competitive linking: the best unit first, each word in one unit, but a contraction (I'm,
  // isn't) in two, since it holds two words (我 and 是).
  std::stable_sort(units.begin(), units.end(), [](const Unit& a, const Unit& b) { return a.score > b.score; });
  std::vector<char> zhUsed(n, 0), enRoom(m, 1);
  for (size_t j = 0; j < m; ++j) {
    if (IsContraction(*forms[j])) enRoom[j] = 2;
  }
  for (const Unit& u : units) {
    if (zhUsed[u.chinese]) continue;
    bool free = true;
    for (uint32_t j = u.first; j <= u.last && free; ++j) free = enRoom[j] > 0;
    if (!free) continue;
    zhUsed[u.chinese] = 1;
    for (uint32_t j = u.first; j <= u.last; ++j) {
      --enRoom[j];
      links.push_back({u.chinese, j});
    }
  }
  std::sort(links.begin(), links.end());
  return links;
}

}  // namespace tamrel
