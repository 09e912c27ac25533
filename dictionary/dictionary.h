// The dictionary beside the examples: a Chinese word, typed pinyin or an English word to the
// CC-CEDICT entries it names. Opening maps the file and finds its lines (no parsing); the pinyin
// and English look-ups build their indexes at their first use. One thread at a time.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_entry.h"
#include "dictionary/dictionary_file.h"
#include "dictionary/english_lookup.h"
#include "dictionary/pinyin_lookup.h"
#include "files/status.h"

namespace tamrel {

class Dictionary {
 public:
  Dictionary();
  ~Dictionary();
  Dictionary(const Dictionary&) = delete;
  Dictionary& operator=(const Dictionary&) = delete;

  // Opens `file` (DictionaryFile::Open); on failure the dictionary is empty.
  [[nodiscard]] Status Open(const std::filesystem::path& file);
  // The same from bytes; `file` only names them in a refusal.
  [[nodiscard]] Status Parse(std::string bytes, const std::filesystem::path& file);

  // The entries of the Chinese `word`: those of its simplified headword, or else those whose
  // traditional form it is. InvalidInput naming the line when an entry is damaged (`entries`
  // then holds the ones read before it).
  [[nodiscard]] Status LookUpChinese(std::u16string_view word, std::vector<DictionaryEntry>& entries) const;

  // The entries read as the pinyin `text`, the commonest first (PinyinLookup::Find).
  [[nodiscard]] Status LookUpPinyin(std::u16string_view text, const SentenceCount& count,
                                    std::vector<DictionaryEntry>& entries) const;

  // At most `limit` entries that translate the English `text`, best first; `central` as
  // EnglishLookup::Find sets it.
  [[nodiscard]] Status LookUpEnglish(std::u16string_view text, size_t limit, std::vector<DictionaryEntry>& entries,
                                     bool* central = nullptr) const;

  // Builds now the indexes the look-ups would build at their first use (a few hundred
  // milliseconds), so that a program can build them on another thread before it looks up.
  void BuildIndexes();

  size_t size() const { return file_.size(); }

 private:
  void BuildTraditionalIndex() const;
  [[nodiscard]] Status Read(const std::vector<size_t>& indexes, std::vector<DictionaryEntry>& entries) const;

  DictionaryFile file_;
  mutable std::unique_ptr<PinyinLookup> pinyin_;
  mutable std::unique_ptr<EnglishLookup> english_;
  mutable std::unique_ptr<std::vector<uint32_t>> byTraditional_;  // entry indexes by traditional form
};

// Where the dictionary is: dictionary.tsv beside the running program (the build copies it there),
// else in PREFIX/share/tamrel of an installed program, else the runtime folder's resources/lexicon/dictionary.tsv.
// Returns the first that is a file, or the last candidate when none is (for the message).
std::filesystem::path FindDictionary(const std::filesystem::path& root);

}  // namespace tamrel
