#include "files/staged_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "corpus/corpus_files.h"
#include "files/durable_files.h"
#include "files/fault_injection.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::RuntimeFolder;
using test::WriteBytes;

// Writes `bytes` to the open staged file.
void Put(StagedFile& staged, std::string_view bytes) { ASSERT_TRUE(staged.file().Write(bytes.data(), bytes.size())); }

TEST(StagedFileNameTest, NewAppendedToTheFinalName) {
  EXPECT_EQ(StagedFileName("data/config.data"), "data/config.data.new");
  EXPECT_EQ(StagedFileName(CorpusFileName("/runtime", CorpusFile::kWordTable, u"BI")),
            "/runtime/data/index1.datBI.new");
  EXPECT_EQ(StagedFileName(CorpusFileName("/runtime", CorpusFile::kDictionary, u"MO")),
            "/runtime/BDict/word.dictMO.new");
}

// Writers without a lock of their own stage under names that no other writer uses.
TEST(StagedFileNameTest, UniqueNamesCarryTheProcessAndACounter) {
  const std::string prefix = "data/config.data.new." + std::to_string(getpid()) + ".";
  const std::string first = UniqueStagedFileName("data/config.data").string();
  const std::string second = UniqueStagedFileName("data/config.data").string();
  EXPECT_TRUE(first.starts_with(prefix)) << first;
  EXPECT_TRUE(second.starts_with(prefix)) << second;
  EXPECT_NE(first, second);
  RuntimeFolder folder;
  StagedFile staged(folder / "data/config.data", StagedFile::Naming::kUnique);
  EXPECT_TRUE(staged.stagedPath().string().starts_with((folder / "data/config.data.new.").string()));
  ASSERT_TRUE(staged.Open().ok());
  Put(staged, "x");
  ASSERT_TRUE(staged.Commit().ok());
  EXPECT_EQ(ReadBytes(folder / "data/config.data"), "x");
  EXPECT_FALSE(std::filesystem::exists(staged.stagedPath()));
}

TEST(StagedFileTest, CommitReplacesTheTargetAndLeavesNoStagedFile) {
  RuntimeFolder folder;
  const auto target = folder / "data/config.data";
  WriteBytes(target, "old contents");
  StagedFile staged(target);
  EXPECT_EQ(staged.stagedPath(), folder / "data/config.data.new");
  ASSERT_TRUE(staged.Open().ok());
  Put(staged, "new");
  // Until the commit the target is the old file and the bytes wait under the staged name.
  EXPECT_EQ(ReadBytes(target), "old contents");
  EXPECT_TRUE(std::filesystem::exists(folder / "data/config.data.new"));
  const Status status = staged.Commit();
  ASSERT_TRUE(status.ok()) << status.ToString();
  EXPECT_EQ(ReadBytes(target), "new");
  EXPECT_FALSE(std::filesystem::exists(folder / "data/config.data.new"));
}

TEST(StagedFileTest, CommitCreatesAMissingTarget) {
  RuntimeFolder folder;
  const auto target = folder / "data/config.data";
  {
    StagedFile staged(target);
    ASSERT_TRUE(staged.Open(TextFile::Mode::kCreateUtf16).ok());
    ASSERT_TRUE(staged.file().WriteText(u"a"));
    ASSERT_TRUE(staged.Commit().ok());
  }
  EXPECT_EQ(ReadBytes(target), std::string("\xFF\xFE"
                                           "a\0",
                                           4));
  EXPECT_FALSE(std::filesystem::exists(folder / "data/config.data.new"));
}

TEST(StagedFileTest, AbandonedFileLeavesThePreviousTargetWhole) {
  RuntimeFolder folder;
  const auto target = folder / "data/config.data";
  WriteBytes(target, "old contents");
  {
    StagedFile staged(target);
    ASSERT_TRUE(staged.Open().ok());
    Put(staged, "half written");
    ASSERT_TRUE(std::filesystem::exists(folder / "data/config.data.new"));
  }  // destroyed without a commit, as when a write fails halfway
  EXPECT_EQ(ReadBytes(target), "old contents");
  EXPECT_FALSE(std::filesystem::exists(folder / "data/config.data.new"));
}

TEST(StagedFileTest, OpenEmptiesAStagedFileLeftByAnEarlierRun) {
  RuntimeFolder folder;
  const auto target = folder / "data/config.data";
  WriteBytes(folder / "data/config.data.new", "leftover from a crash");
  StagedFile staged(target);
  ASSERT_TRUE(staged.Open().ok());
  Put(staged, "ok");
  ASSERT_TRUE(staged.Commit().ok());
  EXPECT_EQ(ReadBytes(target), "ok");
}

// Kept files wait under their staged names for a commit of several files together.
TEST(StagedFileTest, KeepLeavesTheStagedFileAndTheTarget) {
  RuntimeFolder folder;
  const auto target = folder / "data/index1.datBI";
  WriteBytes(target, "old");
  {
    StagedFile staged(target);
    ASSERT_TRUE(staged.Open().ok());
    Put(staged, "next");
    ASSERT_TRUE(staged.Keep().ok());
  }
  EXPECT_EQ(ReadBytes(target), "old");
  EXPECT_EQ(ReadBytes(folder / "data/index1.datBI.new"), "next");
}

// Committed without syncs, the file is whole in place and no staged file is left; a target that
// cannot be replaced (a folder stands there) is reported, and the staged file removed.
TEST(StagedFileTest, CommitUnsyncedPutsTheWholeFileInPlace) {
  RuntimeFolder folder;
  const auto target = folder / "data/keytable.datBI";
  WriteBytes(target, "old");
  {
    StagedFile staged(target);
    ASSERT_TRUE(staged.Open().ok());
    Put(staged, "keys");
    ASSERT_TRUE(staged.CommitUnsynced().ok());
  }
  EXPECT_EQ(ReadBytes(target), "keys");
  EXPECT_FALSE(std::filesystem::exists(StagedFileName(target)));

  const auto blocked = folder / "data/blocked";
  std::filesystem::create_directories(blocked / "inside");
  {
    StagedFile staged(blocked);
    ASSERT_TRUE(staged.Open().ok());
    Put(staged, "keys");
    const Status status = staged.CommitUnsynced();
    EXPECT_EQ(status.kind(), Status::Kind::kIoError);
    EXPECT_EQ(status.file(), blocked);
  }
  EXPECT_FALSE(std::filesystem::exists(StagedFileName(blocked)));
  EXPECT_TRUE(std::filesystem::is_directory(blocked));
}

TEST(StagedFileTest, TargetFolderMissing) {
  RuntimeFolder folder;
  const auto target = folder / "absent/config.data";
  const Status status = WriteFileStaged(target, "bytes");
  EXPECT_EQ(status.kind(), Status::Kind::kIoError);
  EXPECT_EQ(status.file(), folder / "absent/config.data.new");
  EXPECT_FALSE(status.reason().empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "absent"));

  StagedFile staged(target);
  const Status open = staged.Open();
  EXPECT_FALSE(open.ok());
  EXPECT_EQ(open.file(), folder / "absent/config.data.new");
}

TEST(StagedFileTest, FolderInPlaceOfTheTarget) {
  RuntimeFolder folder;
  const auto target = folder / "data/config.data";
  std::filesystem::create_directory(target);
  WriteBytes(target / "inside", "kept");
  {
    StagedFile staged(target);
    ASSERT_TRUE(staged.Open().ok());
    Put(staged, "new");
    const Status status = staged.Commit();
    EXPECT_EQ(status.kind(), Status::Kind::kIoError);
    EXPECT_EQ(status.file(), target);
    EXPECT_FALSE(status.reason().empty());
  }
  EXPECT_TRUE(std::filesystem::is_directory(target));
  EXPECT_EQ(ReadBytes(target / "inside"), "kept");
  EXPECT_FALSE(std::filesystem::exists(folder / "data/config.data.new"));

  const Status status = WriteFileStaged(target, "new");
  EXPECT_EQ(status.kind(), Status::Kind::kIoError);
  EXPECT_EQ(status.file(), target);
  EXPECT_EQ(ReadBytes(target / "inside"), "kept");
  EXPECT_FALSE(std::filesystem::exists(folder / "data/config.data.new"));
}

TEST(WriteFileStagedTest, ReplacesTheTargetWhole) {
  RuntimeFolder folder;
  const auto target = folder / "data/config.data";
  WriteBytes(target, "a longer old file");
  ASSERT_TRUE(WriteFileStaged(target, std::string("x\0y", 3)).ok());
  EXPECT_EQ(ReadBytes(target), std::string("x\0y", 3));
  ASSERT_TRUE(WriteFileStaged(target, "").ok());
  EXPECT_EQ(ReadBytes(target), "");
  EXPECT_TRUE(std::filesystem::is_regular_file(target));
  EXPECT_FALSE(std::filesystem::exists(folder / "data/config.data.new"));
}

// The seam tests fail file operations through: an armed fault fails the operation on its path the
// number of times asked, after the number skipped, with the error asked; other paths and other
// operations go through.
TEST(FileFaultTest, ArmedOperationsFailWithTheChosenErrorAndOnlyThose) {
  RuntimeFolder folder;
  const auto target = folder / "data/config.data";
  WriteBytes(target, "old");
  InjectFileFault(FileOperation::kRename, target, EIO, /*times=*/1, /*skip=*/1);
  InjectFileFault(FileOperation::kSync, folder / "data", ENOSPC);
  InjectFileFault(FileOperation::kRemove, folder / "gone", EBUSY);
  // The file is in place; only its folder's sync failed, so the write took effect.
  const Status unsynced = WriteFileStaged(target, "skipped");
  EXPECT_EQ(unsynced.kind(), Status::Kind::kUnfinished);
  EXPECT_EQ(unsynced.ToString(), (folder / "data").string() + ": cannot be synced: the disk is full");
  EXPECT_EQ(ReadBytes(target), "skipped");
  const Status renamed = WriteFileStaged(target, "new");
  EXPECT_EQ(renamed.ToString(), target.string() + ": cannot be replaced: Input/output error");
  EXPECT_EQ(ReadBytes(target), "skipped");
  EXPECT_FALSE(std::filesystem::exists(StagedFileName(target)));
  EXPECT_EQ(RemoveFile(folder / "gone").ToString(),
            (folder / "gone").string() + ": cannot be removed: Device or resource busy");
  EXPECT_TRUE(RemoveFile(folder / "gone").ok());  // once only, and a missing file is no failure
  EXPECT_TRUE(WriteFileStaged(target, "new").ok());
  EXPECT_EQ(ReadBytes(target), "new");
  InjectFileFault(FileOperation::kSync, target, EIO);
  EXPECT_EQ(SyncFile(target).ToString(), target.string() + ": cannot be synced: Input/output error");
  InjectFileFault(FileOperation::kSync, target, EIO);
  ClearFileFaults();
  EXPECT_TRUE(SyncFile(target).ok());
}

}  // namespace
}  // namespace tamrel
