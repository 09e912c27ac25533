// Writes a small corpus from its sentence groups alone: the dictionary (keys with posting lists)
// is derived from the groups, so a test states only the sentences and the order of the Chinese
// word list. Used by the quiz engine's suite and the window suites.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamrel::test {

struct SentenceGroup {
  std::string chinese;  // tokens separated by single spaces (UTF-8)
  std::string pinyin;   // one token per Chinese token
  std::string english;
};

// Writes BDict/word.dict<tag> and BDict/sents.final<tag> in the current directory and builds the
// corpus. The Chinese keys listed in `chineseFirst` (each must occur in a group) open the
// dictionary in that order; every other key follows in order of first appearance, Chinese, then
// pinyin, then English. Returns the build's result: 0 on success, -1 on failure.
int WriteCorpus(std::u16string_view tag, const std::vector<SentenceGroup>& groups,
                const std::vector<std::string>& chineseFirst = {});

}  // namespace tamrel::test
