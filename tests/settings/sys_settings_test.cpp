#include "settings/sys_settings.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::WriteBytes;

constexpr std::string_view kAllOn =
    "\xEF\xBB\xBF"
    "FIRST\nFLAGPRON##TRUE\nFLAGBI##TRUE\nFLAGMONO##TRUE\nFLAGSTARTUP##TRUE\n";

SysSettings AllOff() { return SysSettings{false, false, false, false}; }

SysSettings With(bool startup, bool pron, bool bi, bool mono) { return SysSettings{startup, pron, bi, mono}; }

// Passes when `status` is ok; otherwise shows which file failed and why.
::testing::AssertionResult Ok(const Status& status) {
  if (status.ok()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << status.ToString();
}

class SysSettingsTest : public ::testing::Test {
 protected:
  // The settings read from a settings file holding `bytes`.
  SysSettings ReadFrom(std::string_view bytes) {
    WriteBytes(configFile_, bytes);
    SysSettings s = AllOff();
    EXPECT_TRUE(Ok(ReadConfig(s, root())));
    return s;
  }

  const std::filesystem::path& root() const { return folder_.path(); }

  test::RuntimeFolder folder_;
  const std::filesystem::path configFile_ = ConfigFileName(folder_.path());
};

// A FIFO in place of the settings file once made the read wait for a writer forever.
TEST_F(SysSettingsTest, AFifoIsRefusedAtOnceAndTheDefaultsStay) {
  test::MakeFifo(configFile_);
  SysSettings s = AllOff();
  Status read;
  EXPECT_TRUE(test::ReturnsWithin(5, {configFile_}, [&] { read = ReadConfig(s, root()); }));
  EXPECT_EQ(read.kind(), Status::Kind::kIoError) << read.ToString();
  EXPECT_EQ(read.file(), configFile_);
  EXPECT_EQ(read.reason(), "is a FIFO, not a regular file");
  EXPECT_EQ(s, SysSettings{});
}

TEST_F(SysSettingsTest, FileInsideTheDataFolder) { EXPECT_EQ(configFile_, folder_ / "data/config.data"); }

TEST_F(SysSettingsTest, MissingFileGivesDefaultsAndIsNotCreated) {
  SysSettings s = AllOff();
  const Status read = ReadConfig(s, root());
  EXPECT_FALSE(read.ok());
  EXPECT_EQ(read.kind(), Status::Kind::kNotFound);
  EXPECT_EQ(read.file(), configFile_);
  EXPECT_EQ(s, SysSettings{});
  EXPECT_EQ(s, With(true, true, true, true));
  EXPECT_FALSE(std::filesystem::exists(configFile_));
}

TEST_F(SysSettingsTest, WrittenBytes) {
  ASSERT_TRUE(Ok(WriteConfig(SysSettings{}, root())));
  EXPECT_EQ(ReadBytes(configFile_), kAllOn);
  EXPECT_EQ(ReadBytes(configFile_).size(), 70u);
  ASSERT_TRUE(Ok(WriteConfig(With(true, false, true, true), root())));
  EXPECT_EQ(ReadBytes(configFile_),
            "\xEF\xBB\xBF"
            "FIRST\nFLAGPRON##FALSE\nFLAGBI##TRUE\nFLAGMONO##TRUE\nFLAGSTARTUP##TRUE\n");
  EXPECT_EQ(ReadBytes(configFile_).size(), 71u);
  ASSERT_TRUE(Ok(WriteConfig(AllOff(), root())));
  EXPECT_EQ(ReadBytes(configFile_),
            "\xEF\xBB\xBF"
            "FIRST\nFLAGPRON##FALSE\nFLAGBI##FALSE\nFLAGMONO##FALSE\nFLAGSTARTUP##FALSE\n");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "data/config.data.new"));
}

TEST_F(SysSettingsTest, RoundTripOfEveryCombination) {
  for (int bits = 0; bits < 16; ++bits) {
    const SysSettings written = With(bits & 1, bits & 2, bits & 4, bits & 8);
    ASSERT_TRUE(Ok(WriteConfig(written, root())));
    SysSettings read = With(!(bits & 1), !(bits & 2), !(bits & 4), !(bits & 8));
    ASSERT_TRUE(Ok(ReadConfig(read, root())));
    EXPECT_EQ(read, written) << bits;
  }
}

TEST_F(SysSettingsTest, FieldsSplitAtTheSeparator) {
  EXPECT_EQ(ReadFrom("FLAGPRON##\n"), SysSettings{});
  EXPECT_EQ(ReadFrom("FLAGPRON##FALSE##\n"), With(true, false, true, true));
  EXPECT_EQ(ReadFrom("FLAGPRON##FALSE##x\n"), SysSettings{});
  EXPECT_EQ(ReadFrom("FLAGPRON#FALSE\nFLAGPRON FALSE\n\n##FALSE\n"), SysSettings{});
  EXPECT_EQ(ReadFrom(" FLAGBI##FALSE\nFLAGBI ##FALSE\nflagbi##FALSE\nFLAG##FALSE\n"), SysSettings{});
  EXPECT_EQ(ReadFrom("FLAGSTARTUP##FALSE"), With(false, true, true, true));  // no final LF
}

TEST_F(SysSettingsTest, OnlyExactFalseTurnsAnOptionOff) {
  EXPECT_EQ(ReadFrom("FLAGBI##FALSE\r\n"), With(true, true, false, true));
  EXPECT_EQ(ReadFrom("FLAGBI##False\r\n"), SysSettings{});
  EXPECT_EQ(ReadFrom("FLAGBI##false\nFLAGMONO##0\nFLAGPRON##FALSE \nFLAGSTARTUP##NO\n"), SysSettings{});
  EXPECT_EQ(ReadFrom("FLAGMONO##FALSE\r\r\n"), SysSettings{});  // only one CR is removed
}

TEST_F(SysSettingsTest, AnyOrderAndTheLastLineWins) {
  EXPECT_EQ(ReadFrom("FLAGMONO##FALSE\nFLAGSTARTUP##FALSE\nFLAGMONO##TRUE\nFLAGPRON##FALSE\n"),
            With(false, false, true, true));
}

TEST_F(SysSettingsTest, ByteOrderMarkStaysOnTheFirstLine) {
  EXPECT_EQ(ReadFrom("\xEF\xBB\xBF"
                     "FLAGPRON##FALSE\nFLAGBI##FALSE\n"),
            With(true, true, false, true));
  EXPECT_EQ(ReadFrom("\xEF\xBB\xBF"
                     "FIRST\nFLAGPRON##FALSE\n"),
            With(true, false, true, true));
}

TEST_F(SysSettingsTest, Utf16LittleEndianFile) {
  std::string bytes("\xFF\xFE", 2);
  for (char c : std::string_view("FLAGMONO##FALSE\r\nFLAGPRON##FALSE\nFLAGBI##FALSE\n")) {
    bytes += c;
    bytes += '\0';
  }
  // The mark stays in front of the first line, which is therefore not a setting.
  EXPECT_EQ(ReadFrom(bytes), With(true, false, false, true));
}

TEST_F(SysSettingsTest, WriteIntoMissingFolderFails) {
  // A runtime folder that does not exist: nothing is created on the way.
  EXPECT_FALSE(WriteConfig(SysSettings{}, folder_ / "nowhere").ok());
  EXPECT_FALSE(std::filesystem::exists(folder_ / "nowhere"));
}

TEST_F(SysSettingsTest, FailedWriteLeavesTheOldFileWhole) {
  ASSERT_TRUE(Ok(WriteConfig(With(false, true, false, true), root())));
  const std::string before = ReadBytes(configFile_);
  // A folder in the way of the lock file makes the write fail before anything is staged.
  std::filesystem::remove(ConfigLockFileName(root()));
  std::filesystem::create_directory(ConfigLockFileName(root()));
  EXPECT_FALSE(WriteConfig(SysSettings{}, root()).ok());
  EXPECT_EQ(ReadBytes(configFile_), before);
  SysSettings s;
  EXPECT_TRUE(Ok(ReadConfig(s, root())));
  EXPECT_EQ(s, With(false, true, false, true));
}

TEST_F(SysSettingsTest, EachRuntimeFolderHasItsOwnFile) {
  test::RuntimeFolder other;
  ASSERT_TRUE(Ok(WriteConfig(With(true, true, true, false), other.path())));
  EXPECT_TRUE(std::filesystem::exists(ConfigFileName(other.path())));
  EXPECT_FALSE(std::filesystem::exists(configFile_));
  SysSettings s;
  ASSERT_TRUE(Ok(ReadConfig(s, other.path())));
  EXPECT_EQ(s, With(true, true, true, false));
  EXPECT_FALSE(ReadConfig(s, root()).ok());
}

// Two processes changing the settings at once: both once staged into data/config.data.new, so a
// reader could see a torn file and a writer fail, and a read-change-write without a lock lost the
// other process's change.
TEST_F(SysSettingsTest, ConcurrentWritersKeepTheFileWholeAndBothChanges) {
  ASSERT_TRUE(Ok(WriteConfig(SysSettings{}, root())));
  std::set<std::string> wholeFiles;
  for (int bits = 0; bits < 16; ++bits) {
    ASSERT_TRUE(Ok(WriteConfig(With(bits & 1, bits & 2, bits & 4, bits & 8), root())));
    wholeFiles.insert(ReadBytes(configFile_));
  }
  ASSERT_TRUE(Ok(WriteConfig(SysSettings{}, root())));
  constexpr int kWrites = 80;
  // Writer 0 toggles FLAGPRON and FLAGBI, writer 1 FLAGMONO and FLAGSTARTUP; each ends on false.
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = fork();
    ASSERT_GE(writers[w], 0);
    if (writers[w] != 0) continue;
    int failures = 0;
    for (int i = 1; i <= kWrites; ++i) {
      const bool value = i % 2 != 0;
      failures += !UpdateConfig(root(), [&](SysSettings& s) {
                     (w == 0 ? s.showPinyin : s.searchMonolingual) = value;
                     (w == 0 ? s.searchBilingual : s.greetAtStart) = value;
                   }).ok();
    }
    _exit(failures == 0 ? 0 : 1);
  }
  int snapshots = 0, torn = 0, running = 2;
  while (running > 0) {
    const std::string seen = ReadBytes(configFile_);
    ++snapshots;
    torn += !wholeFiles.contains(seen);
    for (pid_t& pid : writers) {
      int status = 0;
      if (pid > 0 && waitpid(pid, &status, WNOHANG) == pid) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write failed";
        pid = 0;
        --running;
      }
    }
  }
  EXPECT_EQ(torn, 0) << "of " << snapshots << " snapshots";
  SysSettings last;
  ASSERT_TRUE(Ok(ReadConfig(last, root())));
  EXPECT_EQ(last, AllOff());
  for (const auto& e : std::filesystem::directory_iterator(folder_ / "data")) {
    EXPECT_TRUE(e.path() == configFile_ || e.path() == ConfigLockFileName(root())) << e.path();
  }
}

// A staged file that a killed writer left goes at the next write.
TEST_F(SysSettingsTest, StagedFileOfAKilledWriterIsRemoved) {
  WriteBytes(folder_ / "data/config.data.new.99999.0", "half");
  ASSERT_TRUE(Ok(UpdateConfig(root(), [](SysSettings& s) { s.showPinyin = false; })));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "data/config.data.new.99999.0"));
  EXPECT_EQ(ReadBytes(configFile_),
            "\xEF\xBB\xBF"
            "FIRST\nFLAGPRON##FALSE\nFLAGBI##TRUE\nFLAGMONO##TRUE\nFLAGSTARTUP##TRUE\n");
}

}  // namespace
}  // namespace tamrel
