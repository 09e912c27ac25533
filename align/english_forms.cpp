#include "align/english_forms.h"

#include <algorithm>

#include "lexicon/english_base_forms.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

void Add(std::vector<std::string>& forms, std::string form) {
  if (form.empty() || std::find(forms.begin(), forms.end(), form) != forms.end()) return;
  forms.push_back(std::move(form));
}

// The subject form of an English pronoun's other forms (your -> you, him -> he), which
// dictionary senses rarely list: 你 "you" is also "your".
std::string_view PronounBase(std::string_view word) {
  static constexpr std::pair<std::string_view, std::string_view> kForms[] = {
      {"me", "i"},         {"my", "i"},         {"mine", "i"},
      {"myself", "i"},     {"your", "you"},     {"yours", "you"},
      {"yourself", "you"}, {"him", "he"},       {"his", "he"},
      {"himself", "he"},   {"her", "she"},      {"hers", "she"},
      {"herself", "she"},  {"us", "we"},        {"our", "we"},
      {"ours", "we"},      {"ourselves", "we"}, {"them", "they"},
      {"their", "they"},   {"theirs", "they"},  {"themselves", "they"},
      {"its", "it"},       {"itself", "it"}};
  for (const auto& [form, base] : kForms) {
    if (word == form) return base;
  }
  return {};
}

void AddWithBases(std::vector<std::string>& forms, const std::string& word) {
  Add(forms, word);
  if (const std::string_view base = PronounBase(word); !base.empty()) Add(forms, std::string(base));
  for (const std::u16string& base : EnglishBaseForms(Utf8ToUtf16(word))) Add(forms, Utf16ToUtf8(base));
}

bool AllLetters(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return IsAsciiLetter(c); });
}

}  // namespace

bool IsContraction(const std::vector<std::string>& forms) {
  return !forms.empty() && forms.front().find('\'') != std::string::npos && forms.size() > 2;
}

std::string LowerAscii(std::string_view token) {
  std::string lower(token);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string EnglishKey(std::string_view token) {
  std::string lower = LowerAscii(token);
  for (size_t at; (at = lower.find("\xE2\x80\x99")) != std::string::npos;) lower.replace(at, 3, "'");
  return lower;
}

std::vector<std::string> EnglishTokenForms(std::string_view token) {
  std::vector<std::string> forms;
  if (std::none_of(token.begin(), token.end(), [](char c) { return IsAsciiLetter(c); })) return forms;
  const std::string lower = EnglishKey(token);
  Add(forms, lower);
  if (AllLetters(lower)) {
    AddWithBases(forms, lower);
    return forms;
  }
  // Contractions: the word before the apostrophe and what the ending stands for.
  struct Ending {
    std::string_view text;
    std::string_view meaning;
  };
  static constexpr Ending kEndings[] = {{"n't", "not"},  {"'m", "be"},    {"'re", "be"},  {"'s", "be"},
                                        {"'ll", "will"}, {"'ve", "have"}, {"'d", "would"}};
  for (const Ending& e : kEndings) {
    if (lower.size() <= e.text.size() || !lower.ends_with(e.text)) continue;
    std::string stem = lower.substr(0, lower.size() - e.text.size());
    if (stem == "ca") stem = "can";   // can't
    if (stem == "wo") stem = "will";  // won't
    if (AllLetters(stem)) AddWithBases(forms, stem);
    if (!e.meaning.empty()) Add(forms, std::string(e.meaning));
    return forms;
  }
  // Hyphenated and other mixed tokens: their letter runs.
  std::string run;
  for (size_t i = 0; i <= lower.size(); ++i) {
    if (i < lower.size() && IsAsciiLetter(lower[i])) {
      run += lower[i];
    } else if (!run.empty()) {
      AddWithBases(forms, run);
      run.clear();
    }
  }
  return forms;
}

}  // namespace tamrel
