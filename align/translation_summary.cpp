#include "align/translation_summary.h"

#include <algorithm>
#include <unordered_map>

#include "align/english_forms.h"
#include "align/english_tokens.h"

namespace tamrel {

namespace {

bool IsChineseText(std::string_view word) {
  return std::any_of(word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The form an English translation is counted under: one word by its first base form that the
// corpus holds (wanted -> want, not the candidate "wante"), several as written. `word` is the
// Chinese word translated.
std::string EnglishTranslation(WordAligner& aligner, std::string_view word,
                               const std::vector<std::string_view>& tokens) {
  const CooccurrenceTable* table = aligner.table();
  if (tokens.size() == 1) {
    const std::vector<std::string> forms = EnglishTokenForms(tokens.front());
    if (forms.empty()) return EnglishKey(tokens.front());
    // A contraction: the part the word's senses name (是 and it's: be), else the whole.
    if (forms.front().find('\'') != std::string::npos) {
      for (size_t k = 1; k < forms.size(); ++k) {
        if (aligner.SensesHold(word, forms[k])) return forms[k];
      }
      return forms.front();
    }
    if (table == nullptr) return forms.front();
    for (size_t k = 1; k < forms.size(); ++k) {
      if (table->EnglishId(forms[k]) != CooccurrenceTable::kUnknown) return forms[k];
    }
    return forms.front();
  }
  std::string text;
  for (std::string_view t : tokens) text += (text.empty() ? "" : " ") + EnglishKey(t);
  return text;
}

}  // namespace

std::vector<Translation> SummariseTranslations(WordAligner& aligner, std::string_view word,
                                               const std::vector<SentencePair>& pairs, size_t limit) {
  const bool chinese = IsChineseText(word);
  const std::string key = chinese ? std::string(word) : EnglishKey(word);
  std::vector<Translation> counted;
  std::unordered_map<std::string, size_t> at;
  const auto count = [&](std::string text) {
    if (text.empty()) return;
    const auto [it, added] = at.try_emplace(text, counted.size());
    if (added) counted.push_back({std::move(text), 0});
    ++counted[it->second].count;
  };
  for (const SentencePair& pair : pairs) {
    const std::vector<std::string_view> zh = SplitTokens(pair.chinese);
    const std::vector<std::string> enTokens = SplitEnglish(pair.english);
    const std::vector<std::string_view> en(enTokens.begin(), enTokens.end());
    std::vector<char> holds(chinese ? zh.size() : en.size(), 0);
    bool any = false;
    for (size_t k = 0; k < holds.size(); ++k) {
      if (chinese) {
        holds[k] = zh[k] == key;
      } else {
        const std::vector<std::string> forms = EnglishTokenForms(en[k]);
        holds[k] = std::find(forms.begin(), forms.end(), key) != forms.end();
      }
      any = any || holds[k];
    }
    if (!any) continue;
    const std::vector<AlignLink> links = aligner.Align(zh, en);
    for (size_t k = 0; k < holds.size(); ++k) {
      if (!holds[k]) continue;
      if (chinese) {
        std::vector<std::string_view> words;
        for (const AlignLink& l : links) {
          if (l.chinese == k) words.push_back(en[l.english]);
        }
        if (!words.empty()) count(EnglishTranslation(aligner, key, words));
      } else {
        std::string text;
        for (const AlignLink& l : links) {
          if (l.english == k) text += zh[l.chinese];
        }
        count(std::move(text));
      }
    }
  }
  std::stable_sort(counted.begin(), counted.end(),
                   [](const Translation& a, const Translation& b) { return a.count > b.count; });
  if (counted.size() > limit) counted.resize(limit);
  return counted;
}

}  // namespace tamrel
