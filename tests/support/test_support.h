// Helpers shared by the core's tests: a temporary runtime folder, and reading and writing whole
// files as bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/string_list.h"
#include "files/status.h"
#include "lexicon/simplify.h"

namespace tamrel::test {

// Creates a fresh folder with BDict/ and data/ and removes it on destruction. The current
// directory is left alone: tests pass path() to the core as the runtime folder.
class RuntimeFolder {
 public:
  RuntimeFolder();
  ~RuntimeFolder();
  RuntimeFolder(const RuntimeFolder&) = delete;
  RuntimeFolder& operator=(const RuntimeFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // A path inside the folder: folder / "data/config.data".
  std::filesystem::path operator/(const std::filesystem::path& relative) const { return path_ / relative; }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);

// Makes a FIFO (a named pipe, mkfifo(3)) at `path`, removing a file that is there; fails the
// test when it cannot.
void MakeFifo(const std::filesystem::path& path);

// Runs `work` on a thread of its own and fails the test when it has not returned within `seconds`,
// as a reader that blocks on a FIFO would not. Each of `fifos` is then opened for reading and
// writing and closed again, over and over, which releases an open that waits for its partner and
// lets a blocked read see the end, so the test fails instead of hanging the suite (after 10 s
// more the process aborts). True when `work` returned in time.
bool ReturnsWithin(double seconds, const std::vector<std::filesystem::path>& fifos, const std::function<void()>& work);

// Writes BDict/word.dict<tag> and BDict/sents.final<tag> in the runtime folder `root` and builds
// the corpus; fails the test when the build fails.
void BuildSmallCorpus(const std::filesystem::path& root, std::u16string_view tag, std::string_view dictionary,
                      std::string_view sentences);

// Little-endian byte strings, for spelling out expected file contents. Made with shifts, not with
// the byte coding of the core, so that a fault there cannot hide in the expectations too.
std::string U32(uint32_t v);
std::string U64(uint64_t v);

// The strings of a list, in order, for comparing a whole word table at once.
std::vector<std::u16string> StringsOf(const StringList& list);

// The folder of the shared Tatoeba corpus, or empty when it is not there.
std::filesystem::path SharedTatoebaFolder();

// OpenCC's converter of traditional characters, opened once for the test process.
const Simplifier& OpenedSimplifier();

// Runs `operation` once for every N, its Nth file operation failing with `error` as on a full
// disk (files/fault_injection.h), until a run meets no fault, and hands `check` each faulted run's
// status and the operation that failed ("write data/options.json.new"). Returns the count of file
// operations of the run without a fault.
int64_t ForEachFileFault(const std::function<Status()>& operation,
                         const std::function<void(const Status& status, const std::string& failed)>& check, int error);

// Fails the test unless the failed `status`, of an operation whose `failed` file operation failed
// with ENOSPC, names that operation's file and says that the disk is full.
void ExpectToldTheDiskIsFull(const Status& status, const std::string& failed);

}  // namespace tamrel::test
