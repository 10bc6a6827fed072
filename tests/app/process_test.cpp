// The program as a process: the forms of its command line and its exit
// codes, run headless in a start folder holding a small menu table. Each run
// is bounded in time.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "menu_tables.h"
#include "platform/fs/env.h"
#include "testing/testing.h"

namespace qv::app {
namespace {

using qv::testing::ReadHostFile;
using qv::testing::WriteHostFile;

struct Outcome {
  int code = -1;
  std::string out;
  std::string err;
  // Transcript lines (standard output, or the --transcript file).
  std::vector<std::string> Lines(const std::string& text) const {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
  }
  std::vector<std::string> lines() const { return Lines(out); }
  std::string last() const { return lines().empty() ? "" : lines().back(); }
};

class ProcessTest : public ::testing::Test {
 protected:
  ProcessTest() {
    std::unique_ptr<fs::Env> env = fs::NewHostEnv();
    EXPECT_TRUE(env->MakeDir(dir_.Sub("c")).ok());
    EXPECT_TRUE(env->MakeDir(dir_.Sub("d")).ok());
    EXPECT_TRUE(env->MakeDir(dir_.Sub("d/exe")).ok());
    WriteHostFile(dir_.Sub("d/exe/ctl3d.dll"), "3-D controls (test)");
    shell::testing::WriteMenuTable(*env, dir_.Sub("d/menuset.dbf"),
                                   {{"Help", "About and leaving", ""},
                                    {"  About", "About it", R"({|| CHECK_PASS("ABOUT")})"},
                                    {"  -----", "", ""},
                                    {"  Exit", "Leave", R"({|| CHECK_PASS("CANCELNOW")})"}});
    shell::testing::WriteMessageTable(*env, dir_.Sub("d/message.dbf"),
                                      {{234, R"("Exit ZENTHOR Now. Y/N")"},
                                       {238, R"("A nice picture of TEAM ZENTHOR will be shown")"}});
  }

  // Runs the program in drive D's root with args; script goes to its
  // standard input.
  Outcome Run(const std::string& args, const std::string& script = "",
              const std::string& drives = "") {
    WriteHostFile(dir_.Sub("stdin.txt"), script);
    const std::string map = drives.empty() ? "C=" + dir_.Sub("c") + ";D=" + dir_.Sub("d") : drives;
    const std::string command = "cd '" + dir_.Sub("d") + "' && QUORVANTA_DRIVES='" + map +
                                "' QUORVANTA_TODAY=2026-12-11 QUORVANTA_PRINTER=none timeout 120 " +
                                QV_SETUP_BINARY + " " + args + " < '" + dir_.Sub("stdin.txt") +
                                "' > '" + dir_.Sub("stdout.txt") + "' 2> '" +
                                dir_.Sub("stderr.txt") + "'";
    const int status = std::system(command.c_str());
    Outcome outcome;
    outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = ReadHostFile(dir_.Sub("stdout.txt"));
    outcome.err = ReadHostFile(dir_.Sub("stderr.txt"));
    return outcome;
  }

  qv::testing::TempDir dir_;
};

TEST_F(ProcessTest, HelpAndBadOptions) {
  Outcome help = Run("--help");
  EXPECT_EQ(help.code, 0);
  EXPECT_EQ(help.out.rfind("usage: quorvanta-setup", 0), 0u);
  for (const char* args : {"--bogus", "--script", "--transcript t.txt", "extra"}) {
    Outcome bad = Run(args);
    EXPECT_EQ(bad.code, 2) << args;
    EXPECT_NE(bad.err.find("quorvanta-setup:"), std::string::npos) << args;
  }
}

TEST_F(ProcessTest, NestedDriveMapIsRefused) {
  Outcome bad = Run("--headless", "", "C=" + dir_.Sub("c") + ";D=" + dir_.Sub("c/inner"));
  EXPECT_EQ(bad.code, 2);
  EXPECT_FALSE(bad.err.empty());
}

TEST_F(ProcessTest, WithoutInputTheProgramStartsShowsItsMenuAndEnds) {
  Outcome run = Run("--headless");
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_EQ(run.lines(), (std::vector<std::string>{
                             "WINDOW\t  Install    Quorvanta Scheduler",
                             "MENU\tHelp\tAbout and leaving",
                             "MENU\tHelp>About\tAbout it",
                             "MENU\tHelp>-\t",
                             "MENU\tHelp>Exit\tLeave",
                             "STATUS\tQuorvanta Scheduler setup: choose a task from the menu",
                             "WINDOW_CLOSED",
                             "EXIT\t1",
                         }));
  EXPECT_EQ(ReadHostFile(dir_.Sub("c/WINDOWS/system/ctl3d.dll")), "3-D controls (test)");
}

TEST_F(ProcessTest, ScriptLinesAndTheirExitCodes) {
  const std::string kQuestion = "eval MSG(0, \"Go on Y/N\", \"T\", \"N\")\n";
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += kQuestion;
  struct Case {
    std::string name;
    std::string script;
    int code;
    std::vector<std::string> tail;  // the transcript's last lines
  };
  const Case cases[] = {
      {"set and eval",
       "set FOO 40 + 2\neval FOO\neval SOURCE_DRV\n",
       1,
       {"EVAL\tN\t42", "EVAL\tC\tD:\\\\\\\\", "WINDOW_CLOSED", "EXIT\t1"}},
      {"close ends the run; later lines are not run",
       "close\neval 1\n# note\n",
       1,
       {"WINDOW_CLOSED", "NOT_RUN\teval 1", "EXIT\t1"}},
      {"a line that cannot be understood",
       "frobnicate now\neval 1\n",
       2,
       {"STOP\t2\tline 1: script line \"frobnicate now\": unknown word frobnicate",
        "NOT_RUN\teval 1", "EXIT\t2"}},
      {"a line that cannot be understood after answers read before start-up",
       "answer yes\n\nfrobnicate now\n",
       2,
       {"STOP\t2\tline 3: script line \"frobnicate now\": unknown word frobnicate", "EXIT\t2"}},
      {"a choose naming no item",
       "choose Help>Nothing\n",
       2,
       {"STOP\t2\tno menu item Help>Nothing that runs a command (give the captions down to "
        "the item)",
        "EXIT\t2"}},
      {"an eval that fails: Retry evaluates again, Default gives NIL",
       "set N 0\nanswer retry\neval iif((N := N + 1) < 2, NOSUCH, N)\neval 1+\"a\"\n",
       1,
       {"EVAL\tN\t2", "ERROR\tArgument error\t1+\"a\" (position 2)\tdefault\t(default)",
        "EVAL\tU\tNIL", "WINDOW_CLOSED", "EXIT\t1"}},
      {"an eval that does not compile", "eval 1 +\n", 2, {"EXIT\t2"}},
      {"a set that does not compile", "set X (\n", 2, {"EXIT\t2"}},
      {"an answer that does not fit",
       "answer value 5\n" + kQuestion,
       2,
       {"STOP\t2\tanswer \"value 5\" does not fit a yes/no question", "EXIT\t2"}},
      {"100 defaults in a row", hundred, 3, {"EXIT\t3"}},
      {"exit answered yes",
       "answer yes\nchoose Help>Exit\neval 2\n",
       0,
       {"QUESTION\tSelect an option\tExit ZENTHOR Now.?\tno\tyes", "NOT_RUN\teval 2", "EXIT\t0"}},
      {"exit answered no",
       "answer no\nchoose Help>Exit\n",
       1,
       {"QUESTION\tSelect an option\tExit ZENTHOR Now.?\tno\tno",
        "STATUS\tQuorvanta Scheduler setup: choose a task from the menu", "WINDOW_CLOSED",
        "EXIT\t1"}},
  };
  for (const Case& c : cases) {
    Outcome run = Run("--headless", c.script);
    EXPECT_EQ(run.code, c.code) << c.name << "\n" << run.out << run.err;
    std::vector<std::string> lines = run.lines();
    ASSERT_GE(lines.size(), c.tail.size()) << c.name;
    std::vector<std::string> tail(lines.end() - static_cast<long>(c.tail.size()), lines.end());
    EXPECT_EQ(tail, c.tail) << c.name;
  }
}

// Answers queued before the first line that needs the running program are
// there for the dialogs of the start-up, like those of any later command.
TEST_F(ProcessTest, StartUpDialogsTakeTheLeadingAnswers) {
  ASSERT_TRUE(fs::NewHostEnv()->Remove(dir_.Sub("d/exe/ctl3d.dll")).ok());
  // The transcript writes each backslash of D:\\exe\ctl3d.dll doubled.
  const std::string kCopyError =
      "ERROR\tOpen error\t" + std::string(R"(D:\\\\exe\\ctl3d.dll)") + "\t";
  struct Case {
    std::string script;
    int code;
    std::vector<std::string> tail;
  };
  const Case cases[] = {
      {"answer quit\nchoose Help>About\n",
       1,
       {kCopyError + "quit", "NOT_RUN\tchoose Help>About", "EXIT\t1"}},
      {"# the copy fails\nanswer default\nanswer yes\nchoose Help>Exit\n",
       0,
       {"QUESTION\tSelect an option\tExit ZENTHOR Now.?\tno\tyes", "EXIT\t0"}},
      // Without a leading answer the error takes its default, as before.
      {"eval 1\n", 1, {"EVAL\tN\t1", "WINDOW_CLOSED", "EXIT\t1"}},
  };
  for (const Case& c : cases) {
    Outcome run = Run("--headless", c.script);
    EXPECT_EQ(run.code, c.code) << c.script << "\n" << run.out << run.err;
    const std::vector<std::string> lines = run.lines();
    ASSERT_GE(lines.size(), c.tail.size()) << c.script;
    EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<long>(c.tail.size()), lines.end()),
              c.tail)
        << c.script;
    const bool copy_error_default =
        std::find(lines.begin(), lines.end(), kCopyError + "default\t(default)") != lines.end();
    EXPECT_EQ(copy_error_default, c.script == "eval 1\n") << run.out;
  }
}

TEST_F(ProcessTest, ScriptAndTranscriptFiles) {
  WriteHostFile(dir_.Sub("script.txt"), "choose Help>About\n");
  Outcome run = Run("--script '" + dir_.Sub("script.txt") + "' --transcript '" +
                    dir_.Sub("transcript.txt") + "'");
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_TRUE(run.out.empty());
  const std::vector<std::string> lines = run.Lines(ReadHostFile(dir_.Sub("transcript.txt")));
  EXPECT_NE(
      std::find(lines.begin(), lines.end(),
                "MESSAGE\tinformation\tInformation\tA nice picture of TEAM ZENTHOR will be shown"),
      lines.end());
  EXPECT_EQ(lines.back(), "EXIT\t1");
}

}  // namespace
}  // namespace qv::app
