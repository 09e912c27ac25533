#include "cli/translations_command.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <vector>

#include "align/cooccurrence.h"
#include "align/translation_summary.h"
#include "align/word_aligner.h"
#include "dictionary/dictionary.h"
#include "dictionary/dictionary_file.h"
#include "files/mapped_file.h"

namespace tamrel::cli {

int Translations(const std::string& word, const std::string& corpus, size_t limit) {
  const std::filesystem::path file =
      corpus.empty() ? std::filesystem::path("BDict/sents.finalBI") : std::filesystem::path(corpus);
  DictionaryFile dictionary;
  if (Status status = dictionary.Open(FindDictionary(std::filesystem::path())); !status.ok()) {
    std::cerr << "tamrel-cli translations: the dictionary cannot be read: " << status.ToString() << '\n';
    return 2;
  }
  CooccurrenceTable table;
  MappedFile mapped;
  for (Status status : {table.Learn(file), mapped.OpenChecked(file)}) {
    if (!status.ok()) {
      std::cerr << "tamrel-cli translations: the corpus cannot be read: " << status.ToString() << '\n';
      return 2;
    }
  }
  // For a Chinese word, the pairs whose Chinese line holds its bytes at all; for an English one,
  // which may be inflected or capitalised, every pair. The summary then finds the word among
  // their words.
  const bool chinese =
      std::any_of(word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  std::vector<SentencePair> pairs;
  std::string_view rest = mapped.bytes();
  std::string_view lines[3];
  size_t have = 0;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    lines[have++] = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (have < 3) continue;
    have = 0;
    if (!chinese || lines[0].find(word) != std::string_view::npos) pairs.push_back({lines[0], lines[2]});
  }
  WordAligner aligner(dictionary, &table);
  const std::vector<Translation> translations = SummariseTranslations(aligner, word, pairs, limit);
  if (translations.empty()) {
    std::cerr << "No aligned translation of \"" << word << "\".\n";
    return 1;
  }
  for (const Translation& t : translations) std::cout << t.text << '\t' << t.count << '\n';
  return 0;
}

}  // namespace tamrel::cli
