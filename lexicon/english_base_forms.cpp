#include "lexicon/english_base_forms.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "lexicon/english_exceptions_data.h"

namespace tamrel {

namespace {

// WordNet's detachment rules, in its order: a form ending in `suffix` may be the base ending in
// `ending` instead, for the part of speech `noun` or not (verbs and adjectives).
struct Rule {
  bool noun;
  std::string_view suffix;
  std::string_view ending;
};
constexpr Rule kRules[] = {
    {true, "s", ""},      {true, "ses", "s"},   {true, "xes", "x"}, {true, "zes", "z"}, {true, "ches", "ch"},
    {true, "shes", "sh"}, {true, "men", "man"}, {true, "ies", "y"}, {false, "s", ""},   {false, "ies", "y"},
    {false, "es", "e"},   {false, "es", ""},    {false, "ed", "e"}, {false, "ed", ""},  {false, "ing", "e"},
    {false, "ing", ""},   {false, "er", ""},    {false, "est", ""}, {false, "er", "e"}, {false, "est", "e"},
};
constexpr size_t kShortestRuleBase = 3;

// Each irregular form with the base forms of its exception lines, in the file's order (nouns,
// verbs, adjectives, adverbs), space-separated per line.
using Exceptions = std::unordered_map<std::string_view, std::vector<std::string_view>>;

Exceptions ReadExceptions() {
  Exceptions exceptions;
  for (size_t i = 0; i < kEnglishExceptionLineCount; ++i) {
    const std::string_view line = kEnglishExceptionLines[i];
    if (line.empty() || line.front() == '#') continue;
    const size_t tab = line.find('\t');
    const size_t second = tab == std::string_view::npos ? tab : line.find('\t', tab + 1);
    if (second == std::string_view::npos) continue;
    exceptions[line.substr(0, tab)].push_back(line.substr(second + 1));
  }
  return exceptions;
}

}  // namespace

std::vector<std::u16string> EnglishBaseForms(std::u16string_view word) {
  std::vector<std::u16string> out;
  std::string ascii;
  for (const char16_t c : word) {
    if (c < u'a' || c > u'z') return out;
    ascii += static_cast<char>(c);
  }
  const auto add = [&](std::string_view base) {
    if (base == ascii) return;
    const std::u16string wide(base.begin(), base.end());
    if (std::find(out.begin(), out.end(), wide) == out.end()) out.push_back(wide);
  };

  static const Exceptions exceptions = ReadExceptions();
  if (const auto found = exceptions.find(ascii); found != exceptions.end()) {
    for (std::string_view bases : found->second) {
      while (!bases.empty()) {
        const size_t space = bases.find(' ');
        add(bases.substr(0, space));
        bases.remove_prefix(space == std::string_view::npos ? bases.size() : space + 1);
      }
    }
  }

  const std::string_view w = ascii;
  for (const Rule& rule : kRules) {
    // As WordNet does, no noun rule for a word of two letters; and no "s" rule at all for
    // "glass", which WordNet would refuse by its word index, unread here.
    if (rule.noun && w.size() <= 2) continue;
    if (w.ends_with("ss") && rule.suffix == "s") continue;
    if (!w.ends_with(rule.suffix) || w.size() <= rule.suffix.size()) continue;
    const std::string_view stem = w.substr(0, w.size() - rule.suffix.size());
    // "thing" is no form of "the", but "dries" is one of "dry".
    if (stem.find_first_of("aeiouy") == std::string_view::npos && rule.ending != "y") continue;
    std::string base(stem);
    base += rule.ending;
    if (base.size() >= kShortestRuleBase) add(base);
  }
  // Two regular patterns WordNet leaves to its exception lists, which miss rarer verbs: a doubled
  // last consonant (blogged, blogging) and -ied (copied).
  for (const std::string_view suffix : {std::string_view("ed"), std::string_view("ing")}) {
    if (!w.ends_with(suffix) || w.size() < suffix.size() + 3) continue;
    const std::string_view stem = w.substr(0, w.size() - suffix.size());
    const char last = stem.back();
    if (last == stem[stem.size() - 2] && std::string_view("aeiou").find(last) == std::string_view::npos) {
      add(stem.substr(0, stem.size() - 1));
    }
  }
  if (w.ends_with("ied") && w.size() > 4) add(std::string(w.substr(0, w.size() - 3)) + "y");
  return out;
}

}  // namespace tamrel
