#include "runtime/shipped_files.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "corpus/corpus_files.h"
#include "corpus/index_presence.h"
#include "corpus/key_table_file.h"
#include "files/durable_files.h"
#include "files/mapped_file.h"
#include "files/staged_file.h"

namespace tamrel {

namespace {

constexpr const char* kRecordHeader = "tamrel shipped files 1";
constexpr const char* kStampFile = "corpus.stamp";

// A file's identity in the record: its size and digest.
struct FileId {
  uint64_t size = 0;
  uint64_t digest = 0;
  bool operator<(const FileId& other) const { return size != other.size ? size < other.size : digest < other.digest; }
};

// The record: the installed stamp it was made from, and for each copied corpus file (by its name
// inside the runtime folder) the identities that count as the shipped copy.
struct Record {
  uint64_t stamp = 0;
  bool complete = false;
  std::map<std::string, std::set<FileId>> files;
};

std::string Hex(uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016" PRIx64, value);
  return text;
}

FileId IdOf(std::string_view bytes) { return {bytes.size(), Digest64(bytes)}; }

// A record whose bytes are not one counts as none: then no file counts as the shipped copy, and only
// missing files are copied, so a damaged record never costs the user a corpus. A record that is
// there but cannot be opened fails the update instead, which the next start tries again.
Status ReadRecord(const std::filesystem::path& path, Record& record) {
  record = Record();
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return Status::Ok();
  MappedFile file;
  if (Status opened = file.OpenChecked(path); !opened.ok()) return opened;
  std::istringstream in{std::string(file.bytes())};
  std::string line;
  if (!std::getline(in, line) || line != kRecordHeader) return Status::Ok();
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name;
    std::string first;
    fields >> name >> first;
    if (name == "stamp") {
      record.stamp = std::strtoull(first.c_str(), nullptr, 16);
      record.complete = true;
    } else if (!name.empty()) {
      std::string digest;
      fields >> digest;
      record.files[name].insert(
          {std::strtoull(first.c_str(), nullptr, 10), std::strtoull(digest.c_str(), nullptr, 16)});
    }
  }
  return Status::Ok();
}

// `complete` false writes a record without its stamp: the update it describes is under way.
Status WriteRecord(const std::filesystem::path& path, const Record& record, bool complete) {
  std::string text = std::string(kRecordHeader) + '\n';
  if (complete) text += "stamp " + Hex(record.stamp) + '\n';
  for (const auto& [name, ids] : record.files) {
    for (const FileId& id : ids) text += name + ' ' + std::to_string(id.size) + ' ' + Hex(id.digest) + '\n';
  }
  return WriteFileStaged(path, text, StagedFile::Naming::kUnique);
}

// Whether the user's file `target` is the shipped copy the record names, or is missing. Fails when
// it is there but cannot be read: it may be the user's, so nothing is decided about it.
Status IsShippedCopy(const Record& record, const std::string& name, const std::filesystem::path& target,
                     bool& shipped) {
  std::error_code error;
  shipped = !std::filesystem::exists(target, error);
  if (shipped) return Status::Ok();
  MappedFile file;
  if (Status opened = file.OpenChecked(target); !opened.ok()) return opened;
  const auto found = record.files.find(name);
  shipped = found != record.files.end() && found->second.count(IdOf(file.bytes())) > 0;
  return Status::Ok();
}

Status UpdateLocked(const std::filesystem::path& root, const std::filesystem::path& shipped, ShippedUpdate& update) {
  const std::filesystem::path recordPath = ShippedRecordFileName(root);
  Record record;
  if (Status read = ReadRecord(recordPath, record); !read.ok()) return read;
  MappedFile stamp;
  const uint64_t shippedStamp = stamp.Open(shipped / kStampFile) ? Digest64(stamp.bytes()) : 0;
  if (record.complete && record.stamp == shippedStamp) return Status::Ok();

  // The corpus files to copy: both files of a corpus, when both are the shipped copy or missing.
  struct Copy {
    std::string name;
    MappedFile source;
  };
  std::vector<Copy> copies;
  for (std::u16string_view tag : {kTagBilingual, kTagMonolingual}) {
    std::vector<Copy> corpus;
    bool shippedCopy = true;
    for (CorpusFile kind : {CorpusFile::kSentences, CorpusFile::kDictionary}) {
      const std::filesystem::path name = CorpusFileName("", kind, tag);
      Copy copy{name.string(), MappedFile()};
      if (const Status opened = copy.source.OpenChecked(shipped / name); !opened.ok()) return opened;
      bool shippedFile = false;
      if (Status read = IsShippedCopy(record, copy.name, root / name, shippedFile); !read.ok()) return read;
      shippedCopy = shippedCopy && shippedFile;
      corpus.push_back(std::move(copy));
    }
    if (!shippedCopy) {
      update.keptCorpora.push_back(std::string(tag.begin(), tag.end()));
      continue;
    }
    for (Copy& copy : corpus) copies.push_back(std::move(copy));
  }

  // Recorded first with the identities old and new, and no stamp: a crash from here on leaves
  // every file the one or the other, and the next start copies again.
  for (const Copy& copy : copies) record.files[copy.name].insert(IdOf(copy.source.bytes()));
  for (const char* folder : {"BDict", "data"}) {
    if (Status made = CreateFolders(root / folder); !made.ok()) return made;
  }
  if (Status written = WriteRecord(recordPath, record, false); !written.tookEffect()) return written;

  // The index of a corpus whose sources are replaced goes first, so that it is built again (the
  // front ends build a missing index) even after a crash in the middle of the copies.
  for (std::u16string_view tag : {kTagBilingual, kTagMonolingual}) {
    const std::string name = CorpusFileName("", CorpusFile::kSentences, tag).string();
    const bool replaced = std::any_of(copies.begin(), copies.end(), [&](const Copy& c) { return c.name == name; });
    if (Status removed = replaced ? RemoveIndex(root, tag) : Status::Ok(); !removed.ok()) return removed;
  }
  if (Status synced = SyncFolder(root / "data"); !synced.ok()) return synced;

  for (const Copy& copy : copies) {
    if (Status written = WriteFileStaged(root / copy.name, copy.source.bytes(), StagedFile::Naming::kUnique);
        !written.tookEffect()) {
      return written;
    }
    record.files[copy.name] = {IdOf(copy.source.bytes())};
    update.changed = true;
  }
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(shipped / "data", error)) {
    if (!entry.is_regular_file(error)) continue;
    MappedFile page;
    if (Status opened = page.OpenChecked(entry.path()); !opened.ok()) return opened;
    const std::filesystem::path target = root / "data" / entry.path().filename();
    if (Status written = WriteFileStaged(target, page.bytes(), StagedFile::Naming::kUnique); !written.tookEffect()) {
      return written;
    }
    update.changed = true;
  }
  if (error) return Status::IoError(shipped / "data", "cannot be read: " + error.message());

  record.stamp = shippedStamp;
  return WriteRecord(recordPath, record, true);
}

}  // namespace

std::filesystem::path ShippedRecordFileName(const std::filesystem::path& root) {
  return root / "data" / "shipped-files";
}

Status UpdateFromShipped(const std::filesystem::path& root, const std::filesystem::path& shipped,
                         ShippedUpdate* update) {
  ShippedUpdate ignored;
  ShippedUpdate& done = update != nullptr ? *update : ignored;
  done = ShippedUpdate();
  if (Status made = CreateFolders(root / "data"); !made.ok()) return made;
  FileLock lock;
  if (Status locked = lock.Acquire(root / "data" / "shipped-files.lock"); !locked.ok()) return locked;
  return UpdateLocked(root, shipped, done);
}

Status PrepareRuntimeFolder(const RuntimeFolder& chosen, ShippedUpdate* update) {
  if (update != nullptr) *update = ShippedUpdate();
  if (chosen.shipped.empty()) return Status::Ok();
  std::error_code error;
  const bool ownCorpus = std::filesystem::exists(chosen.folder / "BDict", error) &&
                         !std::filesystem::exists(ShippedRecordFileName(chosen.folder), error);
  if (chosen.source == RuntimeFolder::Source::kGiven && ownCorpus) return Status::Ok();
  return UpdateFromShipped(chosen.folder, chosen.shipped, update);
}

}  // namespace tamrel
