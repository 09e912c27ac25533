// One line of Chinese text as an importer needs it: its words and one reading per word. The
// text is simplified before segmentation; the words keep the line's own characters (traditional
// stays traditional) whenever simplifying kept every character in place.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lexicon/lexicon.h"
#include "lexicon/segmenter.h"
#include "lexicon/simplify.h"

namespace tamrel {

struct AnalysedLine {
  std::vector<std::u16string> words;     // every token but white space, in order
  std::vector<std::u16string> readings;  // one per word
};

// Segments `line` (after `simplifier`, when it is open) with `segmenter`; without `readings`
// the readings stay empty, which saves their lookups when only the words are wanted.
AnalysedLine AnalyseLine(Segmenter& segmenter, const Lexicon& lexicon, const Simplifier& simplifier,
                         std::u16string_view line, bool readings = true);

// Appends `line` to `out` as its words separated by single spaces (white space dropped), the
// words chosen as AnalyseLine chooses them; faster than joining AnalyseLine's words.
void AppendSegmentedLine(Segmenter& segmenter, const Simplifier& simplifier, std::u16string_view line,
                         std::u16string& out);

}  // namespace tamrel
