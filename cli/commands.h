// The commands of tamrel-cli. Each works in the current directory (the runtime folder, holding
// BDict/ and data/), prints its answer to std::cout and returns the process exit code; main then
// checks that the answer was written (cli/standard_output.h).
#pragma once

#include <string>
#include <vector>

namespace tamrel::cli {

// Clears what a killed build or import left of either corpus in the runtime folder (a commit to
// finish or undo, staged files, the scratch folder of an import), unless a process that runs
// holds that corpus's build lock. Run before every command that works in the runtime folder.
void RemoveLeftovers();

// Rebuilds the indexes of "BI" then "MO"; 0 on success, 1 on failure, 3 when a new index has
// taken effect but a step after its commit record failed (the next command finishes it).
int Build();

// Lists words of the bilingual corpus from `start`; 0, or 2 when the corpus cannot be loaded.
int Words(bool chinese, int start, int count);

// How Search prints the sentences: numbered text, one JSON object per sentence, or the
// tab-separated notes of File > Export Results..., one for each sentence with both a Chinese and
// an English side (explorer/sentence_export.h).
enum class SearchOutput { kText, kJson, kTsv };

// Searches `text` with the settings of data/config.data and data/options.json (a file that cannot
// be read gives a warning and its defaults); 0 when something was found, 1 when nothing was, 2 when a
// corpus cannot be loaded. With an `offset`, the sentences after the first `offset` of each corpus,
// numbered from offset + 1 (1 when there are none). With a `level` (1-6), sentences of equal score
// come in the order of that HSK level (search/level_order.h). With `align` (JSON only), each
// bilingual result also gives its word links, "links": [[i, j], ...]: i a Chinese word as the
// spaces of "chinese" separate them, j an English token as SplitEnglish (align/english_tokens.h)
// cuts "english", both from 0.
int Search(const std::string& text, SearchOutput output, bool writePage, size_t offset = 0, int level = 0,
           bool align = false);

// Prints the options, or sets KEY=TRUE|FALSE pairs and writes them; 0, or 2 on a bad pair or
// when the file cannot be written, or 3 when it was written but could not be synced.
int Settings(const std::vector<std::string>& assignments);

// Writes BDict/word.dict<tag> from BDict/sents.final<tag>; 0, or 1 when the file is refused or
// cannot be written, or 3 when it was written but could not be synced.
int Prepare(const std::string& tag);

// Reads UTF-8 lines on standard input and prints, one output line per input line, each line's
// words separated by single spaces (`pinyin`: one reading per word instead). The lexicon is
// `lexicon`, or when empty the one FindLexicon finds from the current folder. With `simplify` traditional
// characters are simplified (OpenCC) before segmentation. 0, or 2 when the lexicon or the
// OpenCC configuration cannot be loaded.
int Segment(const std::string& lexicon, bool pinyin, bool simplify);

}  // namespace tamrel::cli
