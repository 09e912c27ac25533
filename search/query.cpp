#include "search/query.h"

#include <algorithm>

#include "text/code_points.h"
#include "text/text_utils.h"

namespace tamrel {

Language DecideLanguage(std::u16string_view query) {
  return !query.empty() && IsAsciiLetter(query[0]) ? Language::kEnglish : Language::kChinese;
}

std::u16string SegmentQuery(const CorpusIndex& dictionary, std::u16string_view query) {
  return SegmentQuery(std::vector<const CorpusIndex*>{&dictionary}, query);
}

std::u16string SegmentQuery(const std::vector<const CorpusIndex*>& dictionaries, std::u16string_view query) {
  const auto known = [&](std::u16string_view key) {
    for (const CorpusIndex* dictionary : dictionaries) {
      if (dictionary->HasKey(key)) return true;
    }
    return false;
  };
  // The longest word any dictionary holds that begins with `first`: longer candidates are never
  // found, so they are not looked up (a query of a million unknown characters would otherwise
  // cost ten lookups per character and dictionary).
  const auto longestFrom = [&](char16_t first) {
    size_t longest = 0;
    for (const CorpusIndex* dictionary : dictionaries)
      longest = std::max(longest, dictionary->LongestChineseKeyFrom(first));
    return longest;
  };
  std::u16string out;
  std::u16string key;
  size_t p = 0;
  while (p < query.size()) {
    // Nothing matches: one character, both units of a surrogate pair, so that an astral
    // character outside the dictionary stays whole (its halves alone are not text).
    const size_t single = CharacterUnitsAt(query, p);
    size_t n = std::min({query.size() - p, kLongestCandidate, std::max(single, longestFrom(query[p]))});
    for (; n > single; --n) {
      if (PairStartsAt(query, p + n - 1)) continue;  // would end between the halves of a pair
      key.assign(1, u'0');
      key.append(query.substr(p, n));
      if (known(key)) break;
    }
    out.append(query.substr(p, n));
    out.push_back(u' ');
    p += n;
  }
  return out;
}

void NormaliseQuery(std::u16string& query) {
  std::u16string collapsed;
  collapsed.reserve(query.size());
  for (char16_t c : query) {
    if (c == u' ' && !collapsed.empty() && collapsed.back() == u' ') continue;
    collapsed.push_back(c);
  }
  if (!collapsed.empty() && collapsed.back() == u' ') collapsed.pop_back();
  query = std::move(collapsed);
}

std::vector<std::u16string> SplitTerms(std::u16string_view query) { return SplitString(query, u" "); }

TermKeyResult TermKey(std::u16string_view term) {
  TermKeyResult result;
  result.normalised = term;
  if (!term.empty() && IsAsciiLetter(term[0])) NormaliseWord(result.normalised);
  result.key = NormalisedTermKey(result.normalised);
  return result;
}

std::u16string NormalisedTermKey(std::u16string_view normalisedTerm) {
  std::u16string key(!normalisedTerm.empty() && IsAsciiLetter(normalisedTerm[0]) ? u"2" : u"0");
  key += normalisedTerm;
  return key;
}

}  // namespace tamrel
