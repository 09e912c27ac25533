#include "explorer/level_table.h"

#include <algorithm>

#include "corpus/index_commit.h"
#include "corpus/index_records.h"
#include "dictionary/dictionary.h"
#include "files/durable_files.h"
#include "files/mapped_file.h"
#include "search/level_file.h"
#include "text/code_points.h"

namespace tamrel {

namespace {

// Chinese numerals (and digits among them): a word of these alone is a number.
bool IsNumeral(char16_t c) {
  static constexpr std::u16string_view kNumerals = u"0123456789０１２３４５６７８９零〇一二两三四五六七八九十百千万亿";
  return kNumerals.find(c) != std::u16string_view::npos;
}

LevelFileIdentity IdentityOf(const CorpusIndex& index, const HskLevels& hsk) {
  return {index.words().size(), index.sentenceCount(), ReadBuildStamp(index.root(), index.tag()), hsk.digest};
}

}  // namespace

uint8_t WordBucket(std::u16string_view key, const HskLevels& hsk) {
  if (key.empty() || key[0] != u'0') return kBucketNotChinese;
  const std::u16string_view word = key.substr(1);
  if (!ContainsHan(word) || std::all_of(word.begin(), word.end(), IsNumeral)) return kBucketNotChinese;
  const auto at = hsk.bucketOf.find(std::u16string(word));
  return at == hsk.bucketOf.end() ? kBucketNotInHsk : at->second;
}

SentenceLevels MakeSentenceLevels(const CorpusIndex& index, const HskLevels& hsk) {
  SentenceLevels levels;
  const StringList& words = index.words();
  levels.wordBuckets.resize(words.size());
  for (size_t i = 0; i < words.size(); ++i) levels.wordBuckets[i] = WordBucket(words[i], hsk);
  levels.sentences.resize(index.sentenceCount());
  MappedFile temporary;
  std::string_view file;
  if (!SentenceRecordBytes(index, temporary, file)) return levels;
  SentenceRecordView record;
  for (size_t id = 0; id < levels.sentences.size(); ++id) {
    if (!ViewSentenceRecord(index, file, static_cast<int64_t>(id), record)) continue;
    auto& counts = levels.sentences[id];
    for (size_t i = 0; i < record.chinese.size(); ++i) {
      const uint8_t bucket = levels.BucketOf(record.chinese[i]);
      if (bucket < kCountedBuckets && counts[bucket] < UINT8_MAX) ++counts[bucket];
    }
  }
  return levels;
}

Status LoadSentenceLevels(const CorpusIndex& index, const HskLevels& hsk, SentenceLevels& levels) {
  const LevelFileIdentity identity = IdentityOf(index, hsk);
  const auto path = LevelFileName(index.root(), index.tag());
  MappedFile file;
  if (file.Open(path) && DecodeLevelFile(path, file.bytes(), identity, levels).ok()) return Status::Ok();
  levels = MakeSentenceLevels(index, hsk);
  // Written only when no build replaced the index meanwhile: the file would not be this one's. An
  // index without a stamp (made by an older version) gets one with its next build, which makes
  // a file of stamp 0 stale then.
  if (ReadBuildStamp(index.root(), index.tag()) != identity.stamp) {
    return Status::IoError(BuildStampFileName(index.root(), index.tag()),
                           "did not read the same twice: the level file is made at the next search at a level");
  }
  return WriteLevelFile(index.root(), index.tag(), levels, identity);
}

Status MakeLevelFiles(const std::filesystem::path& root, std::initializer_list<std::u16string_view> tags) {
  HskLevels hsk;
  // Without a dictionary every Chinese word is not in HSK, as a search at a level counts them; a
  // dictionary there that cannot be read would give files that the next search makes again.
  if (Status read = ReadHskLevels(FindDictionary(root), hsk); !read.ok() && read.kind() != Status::Kind::kNotFound) {
    for (std::u16string_view tag : tags) (void)RemoveFile(LevelFileName(root, tag));  // none of an older build
    return read;
  }
  return MakeLevelFiles(root, tags, hsk);
}

Status MakeLevelFiles(const std::filesystem::path& root, std::initializer_list<std::u16string_view> tags,
                      const HskLevels& hsk) {
  Status first;
  for (std::u16string_view tag : tags) {
    CorpusIndex index(root, tag);
    Status status = LoadCorpus(index);
    SentenceLevels levels;
    if (status.ok()) status = LoadSentenceLevels(index, hsk, levels);
    if (status.ok()) continue;
    // As with the key table file: none rather than one of an older build.
    (void)RemoveFile(LevelFileName(root, tag));
    if (first.ok()) first = status;
  }
  return first;
}

}  // namespace tamrel
