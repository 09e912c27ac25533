#include "cli/align_command.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "align/cooccurrence.h"
#include "align/english_tokens.h"
#include "align/word_aligner.h"
#include "dictionary/dictionary.h"
#include "dictionary/dictionary_file.h"

namespace tamrel::cli {

int Align(const std::string& corpus, bool noCorpus, const std::vector<std::string>& without) {
  AlignParts parts;
  for (const std::string& kind : without) {
    if (kind == "dictionary") parts.dictionary = false;
    if (kind == "identical") parts.identical = false;
    if (kind == "punctuation") parts.punctuation = false;
    if (kind == "cooccurrence") noCorpus = true;
  }
  DictionaryFile dictionary;
  if (Status status = dictionary.Open(FindDictionary(std::filesystem::path())); !status.ok()) {
    std::cerr << "tamrel-cli align: the dictionary cannot be read: " << status.ToString() << '\n';
    return 2;
  }
  std::unique_ptr<CooccurrenceTable> table;
  if (!noCorpus) {
    const std::filesystem::path named =
        corpus.empty() ? std::filesystem::path("BDict/sents.finalBI") : std::filesystem::path(corpus);
    std::error_code error;
    if (!corpus.empty() || std::filesystem::is_regular_file(named, error)) {
      table = std::make_unique<CooccurrenceTable>();
      if (Status status = table->Learn(named); !status.ok()) {
        std::cerr << "tamrel-cli align: the corpus cannot be read: " << status.ToString() << '\n';
        return 2;
      }
    }
  }
  WordAligner aligner(dictionary, table.get(), parts);

  std::string line, out;
  size_t number = 0;
  while (std::getline(std::cin, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t bar = line.find("|||");
    if (bar == std::string::npos) {
      if (line.find_first_not_of(" \t") != std::string::npos) {
        std::cerr << "tamrel-cli align: line " << number << " has no \"|||\" between its sides; left without links\n";
      }
      out += '\n';
      continue;
    }
    const std::string_view text(line);
    const std::vector<AlignLink> links =
        aligner.Align(SplitTokens(text.substr(0, bar)), SplitTokens(text.substr(bar + 3)));
    for (size_t k = 0; k < links.size(); ++k) {
      if (k > 0) out += ' ';
      out += std::to_string(links[k].chinese);
      out += '-';
      out += std::to_string(links[k].english);
    }
    out += '\n';
    if (out.size() > (1 << 16)) {
      std::cout << out;
      out.clear();
    }
  }
  std::cout << out;
  return 0;
}

}  // namespace tamrel::cli
