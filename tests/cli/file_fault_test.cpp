// Every file operation of the commands that change files, made to fail one at a time: each command
// runs as tamrel-cli-faults (TAMREL_CLI_FAULTS) once for every N, with its Nth open, write, sync,
// rename, removal or folder creation failing as on a full disk, until a run meets no fault. After
// each run:
// - a failure is told: exit code not 0, and the message names the file whose operation failed
//   and says that the disk is full;
// - the exit code tells the truth: after the next command (a search, by tamrel-cli itself), the
//   runtime folder holds, byte for byte, what it held before (exit 1: "not changed") or what a run
//   without a fault leaves (exit 0, or 3: "took effect, finished by the next start") - so the
//   corpus is whole and every leftover, scratch folders included, is gone.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "tests/support/corpus_writer.h"
#include "tests/support/program_run.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

const fs::path kSourceDir = TAMREL_SOURCE_DIR;

// Every file under `folder` but the lock files by its relative path, with its bytes. A build stamp is random, so that
// a stamp file reads "<stamp>" and its 8 bytes in the key table file of its corpus read "<stamp>"
// too (as do those of a level file): a key table of another build still differs.
using FolderBytes = std::map<std::string, std::string>;

FolderBytes Snapshot(const fs::path& folder) {
  FolderBytes files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    // A lock file is made at a lock's first use and stays: removing one another process may be
    // about to lock would let two processes hold "the" lock.
    if (name.find(".lock") != std::string::npos) continue;
    files[name] = entry.is_regular_file() ? ReadBytes(entry.path()) : "<not a regular file>";
  }
  for (const char* tag : {"BI", "MO"}) {
    const auto stamp = files.find(std::string("data/stamp.dat") + tag);
    if (stamp == files.end() || stamp->second.size() != 8) continue;
    const auto table = files.find(std::string("data/keytable.dat") + tag);
    if (table != files.end() && table->second.size() >= 32 && table->second.compare(24, 8, stamp->second) == 0) {
      table->second.replace(24, 8, "<stamp>");
    }
    const auto levels = files.find(std::string("data/levels.dat") + tag);
    if (levels != files.end() && levels->second.size() >= 32 && levels->second.compare(24, 8, stamp->second) == 0) {
      levels->second.replace(24, 8, "<stamp>");
    }
    stamp->second = "<stamp>";
  }
  return files;
}

// The names of the files in which two snapshots differ, for the failure message.
std::string Differences(const FolderBytes& actual, const FolderBytes& expected) {
  std::string text;
  for (const auto& [name, bytes] : actual) {
    const auto it = expected.find(name);
    if (it == expected.end()) {
      text += "  left over: " + name + "\n";
    } else if (it->second != bytes) {
      text += "  differs: " + name + "\n";
    }
  }
  for (const auto& [name, bytes] : expected) {
    if (!actual.contains(name)) text += "  missing: " + name + "\n";
  }
  return text;
}

struct FaultedRun {
  test::ProgramRun run;
  int64_t operations = -1;  // the file operations the run counted
  std::string failed;       // "write data/index1.datBI.new", or empty when none failed
};

// One command of tamrel-cli in a runtime folder made for the test: the corpora of the CLI suite,
// the shipped pages, their indexes, and an import file beside the folder.
class FileFaultTest : public ::testing::Test {
 public:
  void SetUp() override {
    template_ = scratch_ / "template";
    fs::create_directories(template_ / "BDict");
    fs::create_directories(template_ / "data");
    ASSERT_TRUE(
        test::WriteCorpus(template_, u"BI",
                          {{"今天 天气 很 好 。", "jīntiān tiānqì hěn hǎo 。", "The weather is good today."},
                           {"我 喜欢 下雨 的 天气 。", "wǒ xǐhuan xiàyǔ de tiānqì 。", "I like rainy weather."}})
            .ok());
    ASSERT_TRUE(test::WriteCorpus(template_, u"MO", {{"天气 冷 了 。", "tiānqì lěng le 。", ""}}).ok());
    for (const char* page : {"Help.html", "welcome.html", "cantfind.html"}) {
      fs::copy_file(kSourceDir / "data" / page, template_ / "data" / page);
    }
    WriteBytes(scratch_ / "pairs.txt", "I drink tea.\t我喝茶。\nThe weather is cold.\t天气很冷。\n");
  }

  // Runs `args` in a fresh copy of the template, the Nth file operation failing with `error`.
  FaultedRun RunFaulted(const std::vector<std::string>& args, int64_t n, int error) {
    Fresh();
    const fs::path report = scratch_ / "report";
    fs::remove(report);
    FaultedRun faulted;
    faulted.run =
        test::RunProgram(TAMREL_CLI_FAULTS, work(), args, "", {}, 120,
                         {"TAMREL_FAULT_AT=" + std::to_string(n), "TAMREL_FAULT_ERROR=" + std::to_string(error),
                          "TAMREL_FAULT_REPORT=" + report.string()});
    const std::string text = ReadBytes(report);
    const size_t lineEnd = text.find('\n');
    if (lineEnd == std::string::npos) return faulted;  // no report: the test fails on operations
    faulted.operations = std::stoll(text.substr(0, lineEnd));
    faulted.failed = text.substr(lineEnd + 1, text.find('\n', lineEnd + 1) - lineEnd - 1);
    return faulted;
  }

  // The next command, as the user would run it: a search, which first finishes or undoes what a
  // failed command left.
  test::ProgramRun Next() { return test::RunProgram(TAMREL_CLI, work(), {"search", "--json", "--no-page", "天气"}); }

  // What the runtime folder holds after `args` and the next command, without a fault (or, with
  // empty `args`, after the next command alone).
  FolderBytes Outcome(const std::vector<std::string>& args) {
    Fresh();
    if (!args.empty()) {
      const test::ProgramRun run = test::RunProgram(TAMREL_CLI, work(), args);
      EXPECT_EQ(run.exitCode, 0) << run.err;
    }
    EXPECT_EQ(Next().exitCode, 0);
    return Snapshot(work());
  }

  // Runs `args` once for every N until a run meets no fault, checking each run as the file's
  // comment says; returns the count of file operations of the command. `notChanged` is the exit
  // code of a command that failed and changed nothing.
  int64_t CheckEveryFault(const std::vector<std::string>& args, int notChanged) {
    const FolderBytes unchanged = Outcome({});
    const FolderBytes changed = Outcome(args);
    for (int64_t n = 1;; ++n) {
      const FaultedRun faulted = RunFaulted(args, n, ENOSPC);
      const std::string what = "run " + std::to_string(n) + ", failing: " + faulted.failed + "\nexit code " +
                               std::to_string(faulted.run.exitCode) + "\n--- stdout\n" + faulted.run.out +
                               "--- stderr\n" + faulted.run.err;
      if (faulted.operations < 0) {
        ADD_FAILURE() << "no report of the file operations; " << what;
        return -1;
      }
      if (faulted.failed.empty()) {
        EXPECT_EQ(faulted.run.exitCode, 0) << what;
        return faulted.operations;
      }
      const int exitCode = faulted.run.exitCode;
      EXPECT_TRUE(exitCode == 0 || exitCode == notChanged || exitCode == 3) << what;
      if (exitCode != 0) {
        const fs::path file = faulted.failed.substr(faulted.failed.find(' ') + 1);
        EXPECT_NE(faulted.run.err.find(file.string()), std::string::npos) << "names the file; " << what;
        EXPECT_NE(faulted.run.err.find("the disk is full"), std::string::npos) << "says why; " << what;
      }
      const test::ProgramRun next = Next();
      EXPECT_EQ(next.exitCode, 0) << "the next command: " << next.err << "\n" << what;
      FolderBytes expected = exitCode == notChanged ? unchanged : changed;
      const FolderBytes after = Snapshot(work());
      // A key table file only spares loads some work: a build that says it could not write one
      // leaves none.
      if (faulted.run.err.find("ey table file could not be written") != std::string::npos) {
        for (const char* table : {"data/keytable.datBI", "data/keytable.datMO"}) {
          if (!after.contains(table)) expected.erase(table);
        }
      }
      // So does a level file: one a build or an import could not make, or did not make because
      // its commit is finished by the next start, is made by a search at a level.
      if (faulted.run.err.find("could not be made") != std::string::npos || exitCode == 3) {
        for (const char* levels : {"data/levels.datBI", "data/levels.datMO"}) {
          if (!after.contains(levels)) expected.erase(levels);
        }
      }
      EXPECT_TRUE(after == expected) << (exitCode == notChanged ? "not as before" : "not as changed")
                                     << " after the next command:\n"
                                     << Differences(after, expected) << what;
      if (::testing::Test::HasFailure()) return -1;
    }
  }

  const fs::path& work() const { return work_; }
  const fs::path& templateFolder() const { return template_; }

 private:
  void Fresh() {
    fs::remove_all(work_);
    fs::copy(template_, work_, fs::copy_options::recursive);
  }

  test::RuntimeFolder folder_;  // holds the template and the copy each run works in
  fs::path scratch_ = folder_.path();
  fs::path template_;
  fs::path work_ = scratch_ / "work";
};

// Each command and the count of its file operations, every one of which fails in one run.
void ExpectEveryFaultHolds(FileFaultTest& test, const std::vector<std::string>& args, int notChanged = 1) {
  const int64_t operations = test.CheckEveryFault(args, notChanged);
  EXPECT_GT(operations, 0);
  std::string line = "tamrel-cli";
  for (const std::string& a : args) line += " " + a;
  std::cout << line << ": " << operations << " file operations, each made to fail in a run of its own\n";
}

TEST_F(FileFaultTest, Build) { ExpectEveryFaultHolds(*this, {"build"}); }

TEST_F(FileFaultTest, ImportReplacing) { ExpectEveryFaultHolds(*this, {"import", "BI", "../pairs.txt"}); }

TEST_F(FileFaultTest, ImportAppending) { ExpectEveryFaultHolds(*this, {"import", "--append", "BI", "../pairs.txt"}); }

TEST_F(FileFaultTest, Prepare) {
  // A group that the dictionary does not hold yet, so that prepare changes it.
  std::string sentences = ReadBytes(templateFolder() / "BDict/sents.finalBI");
  sentences += "我 喝 茶 。\nwǒ hē chá 。\nI drink tea.\n";
  WriteBytes(templateFolder() / "BDict/sents.finalBI", sentences);
  ExpectEveryFaultHolds(*this, {"prepare", "BI"});
}

TEST_F(FileFaultTest, Settings) { ExpectEveryFaultHolds(*this, {"settings", "FLAGPRON=FALSE", "FLAGMONO=FALSE"}, 2); }

}  // namespace
}  // namespace tamrel
