// `xbtool index`, `order`, `seek` and `check` as a user runs them: the built
// binary over a small table in a temporary folder, its output lines and exit
// codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

struct ToolRun {
  int code = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

std::string ShellWord(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class XbtoolIndexTest : public ::testing::Test {
 protected:
  // CODE C6, AMOUNT N8.2, BORN D, OK L; record 3 deleted. The bag "t" the
  // tests build is the table's structural bag, which check opens.
  void SetUp() override {
    auto env = fs::NewHostEnv();
    ASSERT_TRUE(Table::Create(*env, dir_.Sub("t.dbf"),
                              {{"CODE", 'C', 6, 0},
                               {"AMOUNT", 'N', 8, 2},
                               {"BORN", 'D', 8, 0},
                               {"OK", 'L', 1, 0}},
                              /*structural_bag=*/true, testutil::kToday)
                    .ok());
    EngineSettings settings;
    WorkArea area(testutil::MustOpen(*env, dir_.Sub("t.dbf"), testutil::Exclusive()), "T",
                  &settings);
    struct Row {
      const char* code;
      double amount;
      const char* born;
      bool ok;
    };
    for (const Row& r : {Row{"beta", 2.5, "20200102", true}, Row{"alpha", -1, "", false},
                         Row{"Beta", 10, "19991231", true}}) {
      ASSERT_TRUE(*area.Append());
      ASSERT_TRUE(area.Put("CODE", rt::Value(r.code)).ok());
      ASSERT_TRUE(area.Put("AMOUNT", rt::Value::Num(r.amount, 8, 2)).ok());
      ASSERT_TRUE(area.Put("BORN", rt::Value(rt::Date::FromDtos(r.born))).ok());
      ASSERT_TRUE(area.Put("OK", rt::Value(r.ok)).ok());
    }
    ASSERT_TRUE(area.Delete().ok());
    ASSERT_TRUE(area.Close().ok());
  }

  // Runs xbtool VERB t.dbf ARGS... in the temporary folder.
  ToolRun Tool(const std::string& verb, const std::vector<std::string>& args) {
    std::string command = "cd " + ShellWord(dir_.path()) + " && " + XBTOOL_PATH + " " + verb +
                          " t.dbf";
    for (const std::string& a : args) command += " " + ShellWord(a);
    command += " 2>" + ShellWord(dir_.Sub("stderr.txt"));
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) run.out.append(buf, n);
    const int status = pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = qv::testing::ReadHostFile(dir_.Sub("stderr.txt"));
    return run;
  }

  ToolRun Index(const std::string& tag, const std::vector<std::string>& more) {
    std::vector<std::string> args = {"--bag", "t", "--tag", tag};
    args.insert(args.end(), more.begin(), more.end());
    return Tool("index", args);
  }

  qv::testing::TempDir dir_;
};

TEST_F(XbtoolIndexTest, OrderListsEachTagInKeyOrder) {
  ASSERT_EQ(Index("CODE", {"--key", "UPPER(CODE)"}).code, 0);
  ASSERT_EQ(Index("AMT", {"--key", "AMOUNT", "--descending"}).code, 0);
  ASSERT_EQ(Index("BORN", {"--key", "BORN", "--for", "OK"}).code, 0);
  ASSERT_EQ(Index("OKU", {"--key", "OK", "--unique"}).code, 0);
  ASSERT_EQ(Index("EVERYBORN", {"--key", "BORN"}).code, 0);
  struct Case {
    const char* tag;
    std::vector<std::string> more;
    const char* want;
  };
  const Case cases[] = {
      {"CODE", {}, "2\tALPHA \n1\tBETA  \n3\tBETA  \n"},
      {"CODE", {"--deleted", "on"}, "2\tALPHA \n1\tBETA  \n"},
      {"CODE", {"--deleted", "off"}, "2\tALPHA \n1\tBETA  \n3\tBETA  \n"},
      {"AMT", {}, "3\t10\n1\t2.5\n2\t-1\n"},
      {"BORN", {}, "3\t19991231\n1\t20200102\n"},
      {"EVERYBORN", {}, "2\t\n3\t19991231\n1\t20200102\n"},
      {"OKU", {}, "2\tF\n1\tT\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    std::vector<std::string> args = {"--bag", "t", "--tag", c.tag};
    args.insert(args.end(), c.more.begin(), c.more.end());
    ToolRun run = Tool("order", args);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, c.want);
  }
}

TEST_F(XbtoolIndexTest, SeekPrintsTheFoundRecordAndExitsByFound) {
  ASSERT_EQ(Index("CODE", {"--key", "UPPER(CODE)"}).code, 0);
  ASSERT_EQ(Index("AMT", {"--key", "AMOUNT"}).code, 0);
  ASSERT_EQ(Index("BORN", {"--key", "BORN"}).code, 0);
  ASSERT_EQ(Index("OK", {"--key", "OK"}).code, 0);
  struct Case {
    const char* tag;
    std::vector<std::string> key;
    int code;
    const char* out;
  };
  const Case cases[] = {
      {"CODE", {"ALPHA"}, 0, "2\tALPHA \n"},
      {"CODE", {"BE"}, 0, "1\tBETA  \n"},        // a prefix finds the first
      {"CODE", {"AZ"}, 1, ""},                   // not found: no line
      {"CODE", {"AZ", "--soft"}, 1, "1\tBETA  \n"},  // soft: the next key, still exit 1
      {"CODE", {"ZZ", "--soft"}, 1, ""},         // past the end
      {"AMT", {"2.5"}, 0, "1\t2.5\n"},
      {"AMT", {"-1"}, 0, "2\t-1\n"},
      {"AMT", {"3"}, 1, ""},
      {"BORN", {"19991231"}, 0, "3\t19991231\n"},
      {"BORN", {""}, 0, "2\t\n"},
      {"OK", {"T"}, 0, "1\tT\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tag) + " " + c.key.front());
    std::vector<std::string> args = {"--bag", "t", "--tag", c.tag};
    args.insert(args.end(), c.key.begin(), c.key.end());
    ToolRun run = Tool("seek", args);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
  ToolRun bad = Tool("seek", {"--bag", "t", "--tag", "AMT", "many"});
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.err.find("not a number"), std::string::npos) << bad.err;
}

TEST_F(XbtoolIndexTest, CheckVerifiesTheBagsTags) {
  ASSERT_EQ(Index("CODE", {"--key", "UPPER(CODE)"}).code, 0);
  ASSERT_EQ(Index("AMT", {"--key", "AMOUNT", "--unique"}).code, 0);
  ToolRun sound = Tool("check", {});
  EXPECT_EQ(sound.code, 0) << sound.out << sound.err;
  EXPECT_NE(sound.out.find("sound"), std::string::npos);

  std::string bytes = qv::testing::ReadHostFile(dir_.Sub("t.cdx"));
  ASSERT_GT(bytes.size(), 1024u);
  std::fill(bytes.end() - 512, bytes.end(), '\xff');  // the last tag's root page
  qv::testing::WriteHostFile(dir_.Sub("t.cdx"), bytes);
  ToolRun damaged = Tool("check", {});
  EXPECT_EQ(damaged.code, 1);
  EXPECT_EQ(damaged.out.rfind("fault: t.cdx: tag AMT: ", 0), 0u) << damaged.out;
}

TEST_F(XbtoolIndexTest, MalformedCommandsShowTheUsage) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"index", {"--bag", "t", "--tag", "X"}},                        // no --key
      {"order", {"--bag", "t"}},                                      // no --tag
      {"order", {"--bag", "t", "--tag", "X", "--deleted", "maybe"}},  //
      {"seek", {"--bag", "t", "--tag", "X"}},                         // no KEY
      {"order", {"--bag", "t", "--tag", "X", "--unique"}},            // index's option
  };
  for (const auto& [verb, args] : cases) {
    SCOPED_TRACE(verb + " " + args.back());
    ToolRun run = Tool(verb, args);
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("usage: xbtool index"), std::string::npos) << run.err;
  }
  ToolRun missing = Tool("order", {"--bag", "t", "--tag", "NOSUCH"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_FALSE(missing.err.empty());
}

}  // namespace
}  // namespace qv::rdd
