// tamrel-cli align as a script runs it: one output line per input line, with empty lines, lines
// without "|||" and one-sided lines answered by an empty line (and a message for the line without
// a separator) rather than a crash or a shifted answer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/program_run.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

TEST(AlignCliTest, AnswersEveryLineInOrderAndSurvivesBadLines) {
  const test::RuntimeFolder dir;
  const std::string input =
      "我 喜欢 奶酪 。 ||| I like cheese .\n"
      "\n"
      "no separator here\n"
      " ||| \n"
      "我 |||\n"
      "|||\n"
      "我 喜欢 ||| I like";  // no final line break
  const test::ProgramRun run = test::RunProgram(TAMREL_CLI, dir.path(), {"align", "--no-corpus"}, input);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "0-0 1-1 2-2 3-3\n\n\n\n\n\n0-0 1-1\n");
  EXPECT_NE(run.err.find("line 3 has no \"|||\""), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("line 2"), std::string::npos) << run.err;
}

TEST(AlignCliTest, AMissingCorpusIsRefused) {
  const test::RuntimeFolder dir;
  const test::ProgramRun run =
      test::RunProgram(TAMREL_CLI, dir.path(), {"align", "--corpus", "no-such-file"}, "我 ||| I\n");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("the corpus cannot be read"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tamrel
