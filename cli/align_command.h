// tamrel-cli align: word links of sentence pairs given on standard input.
#pragma once

#include <string>
#include <vector>

namespace tamrel::cli {

// Reads lines "CHINESE WORDS ||| ENGLISH WORDS" (tokens as given, separated by spaces, never
// re-cut) and prints one line per input line: its links "i-j" (0-based Chinese word, 0-based
// English token) separated by spaces, the format word aligners share. An empty line, or a line
// with nothing on one side, prints an empty line; a line without "|||" prints an empty line and
// a message on stderr naming it. Co-occurrence statistics come from `corpus` (a sents.final file),
// by default the runtime folder's BDict/sents.finalBI when there is one; `noCorpus` leaves them out.
// `without` names kinds of link left out ("dictionary", "identical", "punctuation",
// "cooccurrence"), to measure what each adds. 0, or 2 when the dictionary or a named corpus
// cannot be read.
int Align(const std::string& corpus, bool noCorpus, const std::vector<std::string>& without = {});

}  // namespace tamrel::cli
