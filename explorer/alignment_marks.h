// Which words of a result page to mark as the translations of the matched words: in each
// bilingual result, the words the aligner links with the words the search marked red (English
// ones for a Chinese or pinyin query, Chinese ones for an English query). The window marks them
// over the page through its web view, so the page file stays as the search wrote it; the places
// are given as the line of the result and the character range within that line's text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "align/word_aligner.h"
#include "explorer/search_result.h"

namespace tamrel {

struct LineMark {
  uint32_t item = 0;    // the bilingual result, 0 for the first shown
  uint32_t line = 0;    // the line of the result, counted from 0 (lines end at the page's <BR>)
  uint32_t start = 0;   // UTF-16 offset in the line's text
  uint32_t length = 0;  // in UTF-16 units
  bool operator==(const LineMark&) const = default;
};

// The marks of the bilingual results of `result` as its page shows them (`showPinyin`: the
// page has a pinyin line under the Chinese one).
std::vector<LineMark> AlignmentMarks(WordAligner& aligner, const SearchCommandResult& result, bool showPinyin);

// The marks as a JSON array of [item, line, start, length], for the page's script.
std::string AlignmentMarksJson(const std::vector<LineMark>& marks);

}  // namespace tamrel
