// `xbtool eval` as a user runs it: every reference case through the tool,
// the output form, the exit codes, and FILE() under QUORVANTA_DRIVES.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "testing/testing.h"

namespace qv::xb {
namespace {

struct ToolRun {
  int exit_code = -1;
  std::string out;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs the tool with env assignments (already shell-quoted) in front.
ToolRun Xbtool(const std::string& expr, const std::string& env = "") {
  std::string command = "env QUORVANTA_TODAY=2026-12-11T10:20:30 " + env + " " + XBTOOL_PATH +
                        " eval " + Quote(expr) + " 2>&1";
  ToolRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) run.out.append(buf, n);
  int status = pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(XbtoolEvalTest, EveryReferenceCase) {
  QV_REQUIRE_SHARED();
  qv::testing::TempDir dir;
  std::ifstream in(qv::testing::CopyFixture("expr/cases.tsv", dir.path()), std::ios::binary);
  int count = 0;
  for (std::string line; std::getline(in, line);) {
    size_t tab = line.find('\t');
    if (tab == std::string::npos || line.size() < tab + 3) continue;
    std::string expr = line.substr(0, tab);
    std::string want = line.substr(tab + 1);
    ToolRun run = Xbtool(expr);
    ++count;
    ASSERT_EQ(run.exit_code, 0) << expr << ": " << run.out;
    std::string got = run.out.substr(0, run.out.size() - 1);  // the newline
    if (want[0] == 'N') {
      EXPECT_EQ(got.substr(0, 2), "N\t") << expr;
      EXPECT_DOUBLE_EQ(std::strtod(got.c_str() + 2, nullptr),
                       std::strtod(want.c_str() + 2, nullptr))
          << expr;
    } else {
      EXPECT_EQ(got, want) << expr;
    }
  }
  EXPECT_GE(count, 90);
}

TEST(XbtoolEvalTest, OutputFormsAndExitCodes) {
  EXPECT_EQ(Xbtool("{|| 1}").out, "B\t{block}\n");
  EXPECT_EQ(Xbtool("{1, {2}}").out, "A\t{array 2}\n");
  EXPECT_EQ(Xbtool("NIL").out, "U\tNIL\n");
  EXPECT_EQ(Xbtool("DATE()").out, "D\t12/11/26\n");
  EXPECT_EQ(Xbtool("TIME()").out.substr(0, 7), "C\t10:20");
  EXPECT_EQ(Xbtool("1/3").out, "N\t0.33\n");
  EXPECT_EQ(Xbtool("\"  padded  \"").out, "C\t  padded  \n");

  ToolRun bad = Xbtool("1 +* 2");
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_NE(bad.out.find("position 4"), std::string::npos) << bad.out;
  EXPECT_NE(bad.out.find("1 +* 2"), std::string::npos) << bad.out;
  ToolRun failing = Xbtool("UPPER(1)");
  EXPECT_EQ(failing.exit_code, 1);
  EXPECT_NE(failing.out.find("Argument error: UPPER"), std::string::npos) << failing.out;
  ToolRun unknown = Xbtool("NO_SUCH_ROUTINE(1)");
  EXPECT_EQ(unknown.exit_code, 1);
  EXPECT_NE(unknown.out.find("Undefined function"), std::string::npos) << unknown.out;
}

TEST(XbtoolEvalTest, FileAnswersForTheMappedDrive) {
  qv::testing::TempDir dir;
  ::mkdir(dir.Sub("Quorvanta").c_str(), 0755);
  ::mkdir(dir.Sub("Quorvanta/exe").c_str(), 0755);
  qv::testing::WriteHostFile(dir.Sub("Quorvanta/exe/a.exe"), "x");
  std::string drives = "QUORVANTA_DRIVES=" + Quote("C=" + dir.path());
  EXPECT_EQ(Xbtool("FILE(\"c:\\QUORVA~1\\exe\\a.exe\")", drives).out, "L\t.T.\n");
  EXPECT_EQ(Xbtool("FILE(\"c:\\QUORVA~1\\exe\\b.exe\")", drives).out, "L\t.F.\n");
}

}  // namespace
}  // namespace qv::xb
