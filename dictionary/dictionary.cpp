#include "dictionary/dictionary.h"

#include <algorithm>
#include <utility>

#include "text/text_utils.h"

namespace tamrel {

Dictionary::Dictionary() = default;
Dictionary::~Dictionary() = default;

Status Dictionary::Open(const std::filesystem::path& file) {
  pinyin_.reset();
  english_.reset();
  byTraditional_.reset();
  return file_.Open(file);
}

Status Dictionary::Parse(std::string bytes, const std::filesystem::path& file) {
  pinyin_.reset();
  english_.reset();
  byTraditional_.reset();
  return file_.Parse(std::move(bytes), file);
}

Status Dictionary::Read(const std::vector<size_t>& indexes, std::vector<DictionaryEntry>& entries) const {
  entries.clear();
  entries.reserve(indexes.size());
  for (const size_t i : indexes) {
    DictionaryEntry entry;
    if (Status status = file_.ReadEntry(i, entry); !status.ok()) return status;
    entries.push_back(std::move(entry));
  }
  return Status::Ok();
}

void Dictionary::BuildTraditionalIndex() const {
  if (byTraditional_) return;
  // Only entries whose traditional form differs are listed; the rest are found by headword.
  auto sorted = std::make_unique<std::vector<uint32_t>>();
  for (size_t i = 0; i < file_.size(); ++i) {
    if (!file_.Field(i, 1).empty()) sorted->push_back(static_cast<uint32_t>(i));
  }
  std::stable_sort(sorted->begin(), sorted->end(),
                   [&](uint32_t a, uint32_t b) { return file_.Field(a, 1) < file_.Field(b, 1); });
  byTraditional_ = std::move(sorted);
}

void Dictionary::BuildIndexes() {
  BuildTraditionalIndex();
  if (!pinyin_) pinyin_ = std::make_unique<PinyinLookup>(file_);
  if (!english_) english_ = std::make_unique<EnglishLookup>(file_);
}

Status Dictionary::LookUpChinese(std::u16string_view word, std::vector<DictionaryEntry>& entries) const {
  const std::string utf8 = Utf16ToUtf8(word);
  std::vector<size_t> indexes;
  const auto [first, last] = file_.FindHeadword(utf8);
  for (size_t i = first; i < last; ++i) indexes.push_back(i);
  if (indexes.empty() && !utf8.empty()) {
    BuildTraditionalIndex();
    const auto less = [&](uint32_t i, std::string_view w) { return file_.Field(i, 1) < w; };
    for (auto at = std::lower_bound(byTraditional_->begin(), byTraditional_->end(), std::string_view(utf8), less);
         at != byTraditional_->end() && file_.Field(*at, 1) == utf8; ++at) {
      indexes.push_back(*at);
    }
  }
  return Read(indexes, entries);
}

Status Dictionary::LookUpPinyin(std::u16string_view text, const SentenceCount& count,
                                std::vector<DictionaryEntry>& entries) const {
  if (!pinyin_) pinyin_ = std::make_unique<PinyinLookup>(file_);
  return Read(pinyin_->Find(text, count), entries);
}

Status Dictionary::LookUpEnglish(std::u16string_view text, size_t limit, std::vector<DictionaryEntry>& entries,
                                 bool* central) const {
  if (!english_) english_ = std::make_unique<EnglishLookup>(file_);
  return Read(english_->Find(text, limit, central), entries);
}

std::filesystem::path FindDictionary(const std::filesystem::path& root) {
  std::vector<std::filesystem::path> candidates;
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    candidates.push_back(executable.parent_path() / "dictionary.tsv");
    candidates.push_back(executable.parent_path().parent_path() / "share/tamrel/dictionary.tsv");  // installed
  }
  candidates.push_back(root / "resources/lexicon/dictionary.tsv");
  for (const std::filesystem::path& file : candidates) {
    if (std::filesystem::is_regular_file(file, error)) return file;
  }
  return candidates.back();
}

}  // namespace tamrel
