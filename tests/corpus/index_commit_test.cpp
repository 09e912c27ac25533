// A build killed at any point of its commit, builds racing with loads, and two builds of one
// corpus at once: every load answers from one whole build.
#include "corpus/index_commit.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <future>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "corpus/corpus_index.h"
#include "corpus/dict_prepare.h"
#include "corpus/index_build.h"
#include "corpus/index_records.h"
#include "files/durable_files.h"
#include "files/fault_injection.h"
#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::RuntimeFolder;
using test::WriteBytes;

// Two corpora that share no word: every key and English line of A holds "alpha", of B "beta";
// their sizes differ, so a table of one read with the data of the other gives other keys,
// other offsets or reads past the end.
struct Sources {
  std::string dictionary, sentences;
};
const Sources kAlpha = {"3alpha\t0:1 1:1\n3alpha1\t1:1\n", "\n\nalpha\n\n\nalpha alpha1\n"};
const Sources kBeta = {"0贝\t0:1 1:1 2:1\n3beta\t0:1 1:1 2:1\n3beta2\t2:1\n3beta1\t1:1\n",
                       "贝\n\nbeta\n贝\n\nbeta1 beta\n贝\n\nbeta beta2\n"};

void WriteSources(const std::filesystem::path& root, const Sources& s) {
  WriteBytes(CorpusFileName(root, CorpusFile::kDictionary, u"BI"), s.dictionary);
  WriteBytes(CorpusFileName(root, CorpusFile::kSentences, u"BI"), s.sentences);
}

// Everything a search can reach in a loaded index, spelled out: each key with the sentences of
// its posting block, then each sentence's tokens as keys. "?" marks what could not be read.
std::string Contents(const CorpusIndex& index) {
  std::string text;
  const StringList& words = index.words();
  for (size_t k = 0; k < words.size(); ++k) {
    text += Utf16ToUtf8(words[k]) + ":";
    PostingBlock block;
    const auto offset = index.PostingOffset(words[k]);
    if (!offset || !ReadPostingBlock(index, *offset, block)) text += "?";
    for (int32_t id : block.sentenceIds) text += " " + std::to_string(id);
    text += "\n";
  }
  for (size_t j = 0; j < index.sentenceCount(); ++j) {
    SentenceRecord record;
    if (!ReadSentenceRecord(index, static_cast<int64_t>(j), record)) text += "?";
    for (const auto* line : {&record.chinese, &record.pinyin, &record.english}) {
      text += "|";
      for (uint32_t id : *line) text += " " + (id < words.size() ? Utf16ToUtf8(words[id]) : "?");
    }
    text += "\n";
  }
  return text;
}

// The contents of the index built from `sources` alone.
std::string ContentsOf(const Sources& sources) {
  RuntimeFolder folder;
  WriteSources(folder.path(), sources);
  EXPECT_TRUE(BuildCorpus(folder.path(), u"BI").ok());
  CorpusIndex index(folder.path(), u"BI");
  EXPECT_TRUE(LoadCorpus(index).ok());
  return Contents(index);
}

// The contents of the index in `root` as a fresh load sees them, or "not loaded: REASON".
std::string Load(const std::filesystem::path& root) {
  CorpusIndex index(root, u"BI");
  const Status status = LoadCorpus(index);
  return status.ok() ? Contents(index) : "not loaded: " + status.ToString();
}

// Files in data/ other than the index, its lock and its stamp: what a crash left behind.
std::set<std::string> Leftovers(const RuntimeFolder& folder) {
  const std::set<std::string> expected = {"index1.datBI", "index11.datBI", "index2.datBI",  "index21.datBI",
                                          "index.lockBI", "stamp.datBI",   "keytable.datBI"};
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder / "data")) {
    if (!expected.contains(e.path().filename().string())) names.insert(e.path().filename().string());
  }
  return names;
}

TEST(CrashDuringCommitTest, EveryStepLeavesAWholeIndex) {
  const std::string alpha = ContentsOf(kAlpha), beta = ContentsOf(kBeta);
  ASSERT_NE(alpha, beta);
  constexpr int kStops = 8;  // staged, record written, four files placed, stamp written, record removed
  for (int stop = 0; stop < kStops; ++stop) {
    RuntimeFolder folder;
    WriteSources(folder.path(), kAlpha);
    ASSERT_TRUE(BuildCorpus(folder.path(), u"BI").ok());
    WriteSources(folder.path(), kBeta);
    // The child builds B and ends at once after step `stop`, as kill -9 or a power cut would end it.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      BuildReport report;
      int step = 0;
      report.onCommitStep = [&](CommitStep) {
        if (step++ == stop) _exit(42);
      };
      (void)BuildCorpus(folder.path(), u"BI", &report);
      _exit(1);
    }
    int wstatus = 0;
    ASSERT_EQ(waitpid(child, &wstatus, 0), child);
    ASSERT_TRUE(WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 42) << "stop " << stop;
    // Before the record the old index stays; from the record on the commit is finished.
    EXPECT_EQ(Load(folder.path()), stop == 0 ? alpha : beta) << "stop " << stop;
    EXPECT_EQ(Leftovers(folder), std::set<std::string>{}) << "stop " << stop;
    // A build after the crash goes on as usual.
    WriteSources(folder.path(), kAlpha);
    ASSERT_TRUE(BuildCorpus(folder.path(), u"BI").ok()) << "stop " << stop;
    EXPECT_EQ(Load(folder.path()), alpha) << "stop " << stop;
  }
}

// An import commits the sentence file and the dictionary with the index: stopped after any step,
// the next load finds the sources and the index of one corpus, A's before the record, B's after.
TEST(CrashDuringCommitTest, SourcesCommittedWithTheIndexStayWithIt) {
  const std::string alpha = ContentsOf(kAlpha), beta = ContentsOf(kBeta);
  RuntimeFolder staging;
  WriteSources(staging.path(), kBeta);
  ASSERT_TRUE(BuildCorpus(staging.path(), u"BI").ok());
  constexpr int kStops = 10;  // staged, record written, six files placed, stamp written, record removed
  for (int stop = 0; stop < kStops; ++stop) {
    RuntimeFolder folder;
    WriteSources(folder.path(), kAlpha);
    ASSERT_TRUE(BuildCorpus(folder.path(), u"BI").ok());
    for (CorpusFile f : {CorpusFile::kSentences, CorpusFile::kDictionary, CorpusFile::kWordTable, CorpusFile::kPostings,
                         CorpusFile::kSentenceTable, CorpusFile::kSentenceRecords}) {
      WriteBytes(CorpusFileName(folder.path(), f, u"BI").string() + ".new",
                 ReadBytes(CorpusFileName(staging.path(), f, u"BI")));
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int step = 0;
      (void)CommitCorpusFiles(folder.path(), u"BI", [&](CommitStep) {
        if (step++ == stop) _exit(42);
      });
      _exit(1);
    }
    int wstatus = 0;
    ASSERT_EQ(waitpid(child, &wstatus, 0), child);
    ASSERT_TRUE(WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 42) << "stop " << stop;
    const Sources& expected = stop == 0 ? kAlpha : kBeta;
    EXPECT_EQ(Load(folder.path()), stop == 0 ? alpha : beta) << "stop " << stop;
    EXPECT_EQ(ReadBytes(CorpusFileName(folder.path(), CorpusFile::kSentences, u"BI")), expected.sentences)
        << "stop " << stop;
    EXPECT_EQ(ReadBytes(CorpusFileName(folder.path(), CorpusFile::kDictionary, u"BI")), expected.dictionary)
        << "stop " << stop;
    EXPECT_EQ(Leftovers(folder), std::set<std::string>{}) << "stop " << stop;
    std::set<std::string> sources;
    for (const auto& e : std::filesystem::directory_iterator(folder / "BDict")) sources.insert(e.path().filename());
    EXPECT_EQ(sources, (std::set<std::string>{"sents.finalBI", "word.dictBI"})) << "stop " << stop;
  }
}

// The next build, too, finishes a commit left half done before it stages anything.
TEST(CrashDuringCommitTest, NextBuildFinishesTheCommit) {
  RuntimeFolder folder;
  WriteSources(folder.path(), kAlpha);
  ASSERT_TRUE(BuildCorpus(folder.path(), u"BI").ok());
  const uint64_t alphaStamp = ReadBuildStamp(folder.path(), u"BI");
  EXPECT_NE(alphaStamp, 0u);
  WriteSources(folder.path(), kBeta);
  BuildReport report;
  report.onCommitStep = [](CommitStep step) {
    if (step == CommitStep::kFilePlaced) throw std::runtime_error("stopped");  // the first file is in place
  };
  EXPECT_THROW((void)BuildCorpus(folder.path(), u"BI", &report), std::runtime_error);
  EXPECT_TRUE(std::filesystem::exists(CommitRecordFileName(folder.path(), u"BI")));
  WriteSources(folder.path(), kAlpha);
  // The build rolls B forward, then builds A over it.
  report.onCommitStep = [&](CommitStep step) {
    if (step == CommitStep::kStaged) {
      EXPECT_EQ(Load(folder.path()), ContentsOf(kBeta));
    }
  };
  ASSERT_TRUE(BuildCorpus(folder.path(), u"BI", &report).ok());
  EXPECT_EQ(Load(folder.path()), ContentsOf(kAlpha));
  EXPECT_NE(ReadBuildStamp(folder.path(), u"BI"), alphaStamp);
  EXPECT_EQ(Leftovers(folder), std::set<std::string>{});
}

// The commit of earlier versions moved the files in place aside (*.old) and then renamed the
// staged ones in; killed in between, it left data/ without some index files, and every search
// failed until a build succeeded.
TEST(CrashDuringCommitTest, HalfDoneCommitOfAnOlderVersionIsRolledBack) {
  RuntimeFolder next;
  WriteSources(next.path(), kBeta);
  ASSERT_TRUE(BuildCorpus(next.path(), u"BI").ok());
  const auto index = [](const std::filesystem::path& root, const char* name) { return root / "data" / name; };
  const char* kNames[] = {"index11.datBI", "index1.datBI", "index21.datBI", "index2.datBI"};
  // Killed after two of four moves aside, then after all four and two staged files placed.
  for (int placed : {-2, 2}) {
    RuntimeFolder folder;
    WriteSources(folder.path(), kAlpha);
    ASSERT_TRUE(BuildCorpus(folder.path(), u"BI").ok());
    std::filesystem::remove(BuildStampFileName(folder.path(), u"BI"));  // an older version wrote none
    for (int i = 0; i < 4; ++i) {
      const auto path = index(folder.path(), kNames[i]);
      WriteBytes(path.string() + ".new", ReadBytes(index(next.path(), kNames[i])));
      if (placed < 0 && i >= -placed) continue;
      std::filesystem::rename(path, path.string() + ".old");
      if (i < placed) std::filesystem::rename(path.string() + ".new", path);
    }
    EXPECT_EQ(Load(folder.path()), ContentsOf(kAlpha)) << placed;
    EXPECT_EQ(Leftovers(folder), std::set<std::string>{}) << placed;
  }
}

// A build committing while another process or thread loads once paired the word table of one
// build with the posting file of the other (garbled sentences), or found index files missing.
TEST(ConcurrentBuildTest, EveryLoadComesFromOneBuild) {
  const std::string alpha = ContentsOf(kAlpha), beta = ContentsOf(kBeta);
  RuntimeFolder folder;
  WriteSources(folder.path(), kAlpha);
  ASSERT_TRUE(BuildCorpus(folder.path(), u"BI").ok());
  std::atomic<bool> stop{false};
  std::atomic<int> builds{0}, failedBuilds{0};
  std::thread builder([&] {
    for (int i = 1; !stop; ++i) {
      WriteSources(folder.path(), i % 2 == 0 ? kAlpha : kBeta);
      if (!BuildCorpus(folder.path(), u"BI").ok()) ++failedBuilds;
      ++builds;
    }
  });
  int loads = 0, fromAlpha = 0, fromBeta = 0;
  std::string firstBad;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
  while (std::chrono::steady_clock::now() < end || builds < 4) {
    const std::string seen = Load(folder.path());
    ++loads;
    fromAlpha += seen == alpha;
    fromBeta += seen == beta;
    if (seen != alpha && seen != beta && firstBad.empty()) firstBad = seen;
  }
  stop = true;
  builder.join();
  EXPECT_EQ(fromAlpha + fromBeta, loads) << "first mixed or failed load:\n" << firstBad;
  EXPECT_EQ(failedBuilds, 0);
  std::cout << loads << " loads (" << fromAlpha << " A, " << fromBeta << " B) during " << builds << " builds\n";
}

// Two builds of one corpus at once (the window and tamrel-cli) once wrote into the same staged
// files and removed or renamed each other's.
TEST(ConcurrentBuildTest, TwoBuildsOfOneCorpus) {
  RuntimeFolder folder;
  WriteSources(folder.path(), kBeta);
  std::atomic<int> failed{0};
  const auto build = [&] {
    for (int i = 0; i < 15; ++i) failed += !BuildCorpus(folder.path(), u"BI").ok();
  };
  std::thread other(build);
  build();
  other.join();
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(Load(folder.path()), ContentsOf(kBeta));
}

// A second build waits for the first instead of failing.
TEST(ConcurrentBuildTest, BuildWaitsWhileTheLockIsHeld) {
  RuntimeFolder folder;
  WriteSources(folder.path(), kAlpha);
  FileLock held;
  ASSERT_TRUE(held.Acquire(BuildLockFileName(folder.path(), u"BI")).ok());
  FileLock other;
  EXPECT_FALSE(other.TryAcquire(BuildLockFileName(folder.path(), u"BI")));
  auto build = std::async(std::launch::async, [&] { return BuildCorpus(folder.path(), u"BI"); });
  EXPECT_EQ(build.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
  held.Release();
  EXPECT_TRUE(build.get().ok());
  EXPECT_EQ(Load(folder.path()), ContentsOf(kAlpha));
}

// What an import killed before its commit leaves besides staged files: its scratch runtime folder
// (data/import.tmpBI, a corpus of its own half built). A load, a build or a prepare of the corpus
// removes it once no process holds the build lock; while one does (an import that runs), it stays.
TEST(LeftoverScratchFolderTest, GoesAtTheNextLoadBuildOrPrepareUnlessTheLockIsHeld) {
  RuntimeFolder folder;
  WriteSources(folder.path(), kAlpha);
  ASSERT_TRUE(BuildCorpus(folder.path(), u"BI").ok());
  const std::string alpha = Load(folder.path());
  const std::filesystem::path scratch = folder / "data/import.tmpBI";
  const auto leave = [&] {
    std::filesystem::create_directories(scratch / "BDict");
    std::filesystem::create_directories(scratch / "data");
    WriteBytes(scratch / "BDict/sents.finalBI", kBeta.sentences);
    WriteBytes(scratch / "data/index11.datBI.new", "half");
  };
  leave();
  {
    FileLock held;
    ASSERT_TRUE(held.Acquire(BuildLockFileName(folder.path(), u"BI")).ok());
    EXPECT_EQ(Load(folder.path()), alpha);
    EXPECT_TRUE(std::filesystem::exists(scratch / "BDict/sents.finalBI"));
  }
  EXPECT_EQ(Load(folder.path()), alpha);
  EXPECT_FALSE(std::filesystem::exists(scratch));
  leave();
  ASSERT_TRUE(BuildCorpus(folder.path(), u"BI").ok());
  EXPECT_FALSE(std::filesystem::exists(scratch));
  leave();
  PrepareReport prepared;
  ASSERT_TRUE(PrepareDictionary(folder.path(), u"BI", prepared).ok());
  EXPECT_FALSE(std::filesystem::exists(scratch));
  // The scratch folder of the other corpus is that corpus's business.
  std::filesystem::create_directories(folder / "data/import.tmpMO");
  EXPECT_EQ(Load(folder.path()), alpha);
  EXPECT_TRUE(std::filesystem::exists(folder / "data/import.tmpMO"));
  EXPECT_EQ(Leftovers(folder), std::set<std::string>{"import.tmpMO"});
}

// A step of the commit that fails once the record is written: the commit has taken effect. It is
// finished at once by a second try, or, when that fails too, reported as kUnfinished naming the
// file, and finished by the next load once the cause is gone. Never "nothing changed".
TEST(FailureAfterTheRecordTest, IsFinishedAtOnceOrReportedAsUnfinished) {
  const std::string alpha = ContentsOf(kAlpha), beta = ContentsOf(kBeta);
  struct Fault {
    CommitStep armedAfter;
    FileOperation operation;
    const char* path;
    std::string expected;  // the status's message
  };
  const std::vector<Fault> faults = {
      // the folder sync that makes the record durable: the record is in place all the same
      {CommitStep::kStaged, FileOperation::kSync, "data", "data: cannot be synced: Input/output error"},
      {CommitStep::kRecordWritten, FileOperation::kRename, "data/index1.datBI",
       "data/index1.datBI: cannot be replaced: Input/output error"},
      {CommitStep::kRecordWritten, FileOperation::kSync, "data", "data: cannot be synced: Input/output error"},
      {CommitStep::kRecordWritten, FileOperation::kRename, "data/stamp.datBI",
       "data/stamp.datBI: cannot be replaced: Input/output error"},
      {CommitStep::kStampWritten, FileOperation::kRemove, "data/commit.datBI",
       "data/commit.datBI: cannot be removed: Input/output error"},
  };
  for (const Fault& fault : faults) {
    for (const int times : {1, 1000}) {
      const std::string what = std::string(fault.path) + " failing " + std::to_string(times) + " times";
      RuntimeFolder folder;
      WriteSources(folder.path(), kAlpha);
      ASSERT_TRUE(BuildCorpus(folder.path(), u"BI").ok());
      WriteSources(folder.path(), kBeta);
      BuildReport report;
      report.onCommitStep = [&](CommitStep step) {
        if (step == fault.armedAfter) InjectFileFault(fault.operation, folder / fault.path, EIO, times);
      };
      const Status status = BuildCorpus(folder.path(), u"BI", &report);
      ClearFileFaults();
      if (times == 1) {
        EXPECT_TRUE(status.ok()) << what << ": " << status.ToString();
      } else {
        EXPECT_EQ(status.kind(), Status::Kind::kUnfinished) << what << ": " << status.ToString();
        EXPECT_EQ(status.ToString(), (folder / fault.expected).string()) << what;
      }
      EXPECT_EQ(Load(folder.path()), beta) << what;
      EXPECT_EQ(Leftovers(folder), std::set<std::string>{}) << what;
      EXPECT_NE(ReadBuildStamp(folder.path(), u"BI"), 0u) << what;
    }
  }
}

// An index without stamp (made by an older version, or copied in) loads as stamp 0.
TEST(BuildStampTest, MissingStampCountsAsZero) {
  RuntimeFolder folder;
  WriteSources(folder.path(), kAlpha);
  ASSERT_TRUE(BuildCorpus(folder.path(), u"BI").ok());
  std::filesystem::remove(BuildStampFileName(folder.path(), u"BI"));
  EXPECT_EQ(ReadBuildStamp(folder.path(), u"BI"), 0u);
  EXPECT_EQ(Load(folder.path()), ContentsOf(kAlpha));
  EXPECT_EQ(BuildStampFileName(folder.path(), u"MO"), folder / "data/stamp.datMO");
  EXPECT_EQ(CommitRecordFileName(folder.path(), u"BI"), folder / "data/commit.datBI");
  EXPECT_EQ(BuildLockFileName(folder.path(), u"BI"), folder / "data/index.lockBI");
}

}  // namespace
}  // namespace tamrel
