#include "runtime/shipped_files.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "files/fault_injection.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

const char* const kCorpusFiles[] = {"BDict/sents.finalBI", "BDict/word.dictBI", "BDict/sents.finalMO",
                                    "BDict/word.dictMO"};

// An installed folder (share/tamrel) with a corpus of one version and a page, and the user's
// folder, not made yet.
class ShippedFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { Ship("1"); }

  // Installs version `version` of every shipped file: each holds its name and the version.
  void Ship(const std::string& version) {
    fs::create_directories(shipped_ / "BDict");
    fs::create_directories(shipped_ / "data");
    for (const char* name : kCorpusFiles) WriteBytes(shipped_ / name, std::string(name) + " v" + version);
    WriteBytes(shipped_ / "data/welcome.html", "welcome v" + version);
    WriteBytes(shipped_ / "corpus.stamp", "corpus v" + version);
  }

  ShippedUpdate Update() {
    ShippedUpdate update;
    EXPECT_TRUE(UpdateFromShipped(user_, shipped_, &update).ok());
    return update;
  }

  test::RuntimeFolder scratch_;
  const fs::path shipped_ = scratch_ / "usr/share/tamrel";
  const fs::path user_ = scratch_ / "home/.local/share/tamrel";
};

TEST_F(ShippedFilesTest, FirstStartCopiesTheCorpusAndThePages) {
  const ShippedUpdate update = Update();
  EXPECT_TRUE(update.changed);
  EXPECT_TRUE(update.keptCorpora.empty());
  for (const char* name : kCorpusFiles) EXPECT_EQ(ReadBytes(user_ / name), std::string(name) + " v1");
  EXPECT_EQ(ReadBytes(user_ / "data/welcome.html"), "welcome v1");
}

TEST_F(ShippedFilesTest, SameInstallationCopiesNothingAgain) {
  Update();
  WriteBytes(user_ / "data/welcome.html", "changed");
  WriteBytes(user_ / "BDict/sents.finalBI", "imported");
  EXPECT_FALSE(Update().changed);
  EXPECT_EQ(ReadBytes(user_ / "data/welcome.html"), "changed");
  EXPECT_EQ(ReadBytes(user_ / "BDict/sents.finalBI"), "imported");
}

TEST_F(ShippedFilesTest, NewCorpusReplacesTheShippedCopyAndKeepsSettings) {
  Update();
  WriteBytes(user_ / "data/config.data", "settings");
  WriteBytes(user_ / "data/options.json", "{}");
  Ship("2");
  const ShippedUpdate update = Update();
  EXPECT_TRUE(update.changed);
  for (const char* name : kCorpusFiles) EXPECT_EQ(ReadBytes(user_ / name), std::string(name) + " v2");
  EXPECT_EQ(ReadBytes(user_ / "data/welcome.html"), "welcome v2");
  EXPECT_EQ(ReadBytes(user_ / "data/config.data"), "settings");
  EXPECT_EQ(ReadBytes(user_ / "data/options.json"), "{}");
  Ship("3");  // and again: the record names the second copy now
  Update();
  EXPECT_EQ(ReadBytes(user_ / "BDict/word.dictMO"), "BDict/word.dictMO v3");
}

TEST_F(ShippedFilesTest, NewCorpusRemovesTheIndexOfTheReplacedCorpusOnly) {
  Update();
  WriteBytes(user_ / "BDict/sents.finalBI", "imported sentences");
  for (const char* index : {"data/index1.datBI", "data/index1.datMO", "data/index21.datMO", "data/keytable.datMO"}) {
    WriteBytes(user_ / index, "index");
  }
  Ship("2");
  Update();
  EXPECT_TRUE(fs::exists(user_ / "data/index1.datBI"));  // the user's corpus keeps its index
  EXPECT_FALSE(fs::exists(user_ / "data/index1.datMO"));
  EXPECT_FALSE(fs::exists(user_ / "data/index21.datMO"));
  EXPECT_FALSE(fs::exists(user_ / "data/keytable.datMO"));
}

TEST_F(ShippedFilesTest, NewCorpusKeepsACorpusTheUserImported) {
  Update();
  // An import rewrites the sentence file and the dictionary of its corpus.
  WriteBytes(user_ / "BDict/sents.finalBI", "imported sentences");
  WriteBytes(user_ / "BDict/word.dictBI", "imported dictionary");
  Ship("2");
  const ShippedUpdate update = Update();
  EXPECT_EQ(update.keptCorpora, std::vector<std::string>{"BI"});
  EXPECT_EQ(ReadBytes(user_ / "BDict/sents.finalBI"), "imported sentences");
  EXPECT_EQ(ReadBytes(user_ / "BDict/word.dictBI"), "imported dictionary");
  EXPECT_EQ(ReadBytes(user_ / "BDict/sents.finalMO"), "BDict/sents.finalMO v2");
  Ship("3");  // the imported corpus stays the user's at every later installation
  EXPECT_EQ(Update().keptCorpora, std::vector<std::string>{"BI"});
  EXPECT_EQ(ReadBytes(user_ / "BDict/sents.finalBI"), "imported sentences");
}

// Every file operation of an upgrade fails in turn (a full disk at that step): the update reports
// it, the imported corpus and the settings are never touched, and the next start finishes the
// upgrade.
TEST_F(ShippedFilesTest, UpgradeFailingAtAnyStepIsFinishedByTheNextStart) {
  for (int64_t n = 1;; ++n) {
    fs::remove_all(user_);
    Ship("1");
    Update();
    WriteBytes(user_ / "BDict/sents.finalBI", "imported sentences");
    WriteBytes(user_ / "data/config.data", "settings");
    Ship("2");
    InjectNthFileFault(n, ENOSPC);
    const Status failed = UpdateFromShipped(user_, shipped_);
    const std::string operation = FailedFileOperation();
    const bool met = !operation.empty();
    ClearFileFaults();
    EXPECT_EQ(ReadBytes(user_ / "BDict/sents.finalBI"), "imported sentences") << "fault " << n;
    EXPECT_EQ(ReadBytes(user_ / "data/config.data"), "settings") << "fault " << n;
    if (!met) {
      EXPECT_TRUE(failed.ok());
      break;
    }
    Update();
    EXPECT_EQ(ReadBytes(user_ / "BDict/sents.finalMO"), "BDict/sents.finalMO v2") << "fault " << n << ": " << operation;
    EXPECT_EQ(ReadBytes(user_ / "BDict/sents.finalBI"), "imported sentences") << "fault " << n;
    EXPECT_EQ(ReadBytes(user_ / "data/welcome.html"), "welcome v2") << "fault " << n;
    ASSERT_LT(n, 200) << "the upgrade never ends without a fault";
  }
}

TEST_F(ShippedFilesTest, DamagedRecordNeverCostsTheUserACorpus) {
  Update();
  WriteBytes(user_ / "BDict/sents.finalBI", "imported sentences");
  WriteBytes(ShippedRecordFileName(user_), "\x01garbage");
  fs::remove(user_ / "BDict/sents.finalMO");
  fs::remove(user_ / "BDict/word.dictMO");
  Ship("2");
  Update();
  EXPECT_EQ(ReadBytes(user_ / "BDict/sents.finalBI"), "imported sentences");
  EXPECT_EQ(ReadBytes(user_ / "BDict/sents.finalMO"), "BDict/sents.finalMO v2");  // missing: copied
}

TEST_F(ShippedFilesTest, GivenFolderWithItsOwnCorpusIsLeftAlone) {
  RuntimeFolder own;
  own.folder = scratch_.path();  // holds BDict/ and data/, made by hand
  own.source = RuntimeFolder::Source::kGiven;
  own.shipped = shipped_;
  EXPECT_TRUE(PrepareRuntimeFolder(own).ok());
  EXPECT_FALSE(fs::exists(scratch_ / "BDict/sents.finalBI"));

  RuntimeFolder empty = own;
  empty.folder = scratch_ / "empty";  // no corpus yet: made from the installation
  EXPECT_TRUE(PrepareRuntimeFolder(empty).ok());
  EXPECT_EQ(ReadBytes(empty.folder / "BDict/sents.finalBI"), "BDict/sents.finalBI v1");
}

}  // namespace
}  // namespace tamrel
