// Writes a small corpus from its sentence groups alone: the dictionary (keys with posting lists)
// is derived from the groups, so a test states only the sentences and the order of the Chinese
// word list. Used by the quiz engine's suite and the window suites.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "files/status.h"

namespace tamrel::test {

struct SentenceGroup {
  std::string chinese;  // tokens separated by single spaces (UTF-8)
  std::string pinyin;   // one token per Chinese token
  std::string english;
};

// Writes BDict/word.dict<tag> and BDict/sents.final<tag> in the runtime folder `root` and builds
// the corpus. The Chinese keys listed in `chineseFirst` (each must occur in a group) open the
// dictionary in that order; every other key follows in order of first appearance, Chinese, then
// pinyin, then English. Returns the build's status.
Status WriteCorpus(const std::filesystem::path& root, std::u16string_view tag, const std::vector<SentenceGroup>& groups,
                   const std::vector<std::string>& chineseFirst = {});

}  // namespace tamrel::test
