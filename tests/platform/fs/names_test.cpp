// Windows path syntax, short names and DOS wildcards: tables of cases.
#include <gtest/gtest.h>

#include "platform/fs/short_name.h"
#include "platform/fs/wildcard.h"
#include "platform/fs/win_path.h"

namespace qv::fs {
namespace {

TEST(WinPathTest, ParsesThePathsTheProgramBuilds) {
  struct Case {
    const char* path;
    char drive;
    bool rooted;
    std::vector<std::string> parts;
  } cases[] = {
      {"c:\\QUORVA~1\\1.co\\GLM.DBF", 'C', true, {"QUORVA~1", "1.co", "GLM.DBF"}},
      {"\\EXE", 0, true, {"EXE"}},
      {"C:*.*", 'C', false, {"*.*"}},
      {"D:\\\\exe\\ctl3d.dll", 'D', true, {"exe", "ctl3d.dll"}},
      {"exe/sub//x.dbf", 0, false, {"exe", "sub", "x.dbf"}},
      {"C:", 'C', false, {}},
      {"1.co\\name .  \\..\\a", 0, false, {"1.co", "name", "..", "a"}},
  };
  for (const Case& c : cases) {
    Result<WinPath> p = ParseWinPath(c.path);
    ASSERT_TRUE(p.ok()) << c.path;
    EXPECT_EQ(p->drive, c.drive) << c.path;
    EXPECT_EQ(p->rooted, c.rooted) << c.path;
    EXPECT_EQ(p->parts, c.parts) << c.path;
  }
  for (const char* bad : {"C:\\a|b", "C:\\a\"b", "1:\\x", "C:\\a:b", "a\tb"}) {
    EXPECT_TRUE(ParseWinPath(bad).status().IsInvalidArgument()) << bad;
  }
}

TEST(WinPathTest, DotDotStaysOnTheDrive) {
  EXPECT_EQ(*JoinParts({"a", "b"}, {"..", "c", "."}), (std::vector<std::string>{"a", "c"}));
  EXPECT_TRUE(JoinParts({"a"}, {"..", ".."}).status().IsInvalidArgument());
  EXPECT_TRUE(JoinParts({}, {".."}).status().IsInvalidArgument());
}

TEST(ShortNameTest, FollowsTheWindowsRule) {
  struct Case {
    std::vector<std::string> folder;  // the entries of one folder
    std::vector<std::string> want;
  } cases[] = {
      {{"Documents and Settings", "All Users", "Start Menu", "Program Files"},
       {"DOCUME~1", "ALLUSE~1", "STARTM~1", "PROGRA~1"}},
      // Names that are 8.3 already are their own short names, in any case.
      {{"GLM.DBF", "exe", "1.co", "ctl3d.dll", "QUORVA~1"},
       {"GLM.DBF", "exe", "1.co", "ctl3d.dll", "QUORVA~1"}},
      // Namesakes are numbered in case-insensitive order of their long names.
      {{"Quorvanta_Scheduler", "quorvanta_old", "Quorvanta"}, {"QUORVA~3", "QUORVA~2", "QUORVA~1"}},
      {{"Quorvanta Scheduler.lnk", "readme.html", "a b.txt", "my.file.name.txt", ".profile",
        "x+y=z", "Program Files.d"},
       {"QUORVA~1.LNK", "README~1.HTM", "AB~1.TXT", "MYFILE~1.TXT", "PROFIL~1", "XYZ~1",
        "PROGRA~1.D"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortNames(c.folder), c.want);

  std::vector<std::string> many;
  for (int i = 10; i < 21; ++i) many.push_back("Quorvanta " + std::to_string(i));
  EXPECT_EQ(ShortNames(many)[9], "QUORV~10");  // the basis gives way to the number
  EXPECT_EQ(ShortNames({"Quorvanta_Scheduler", "quorva~1", "Quorvanta_X"}),
            (std::vector<std::string>{"QUORVA~2", "quorva~1", "QUORVA~3"}));
  EXPECT_EQ(ShortName("Quorvanta_Scheduler", {"exe", "fw"}), "QUORVA~1");
  EXPECT_EQ(ShortName("Quorvanta_Scheduler", {"Quorvanta_Old"}), "QUORVA~2");
  EXPECT_TRUE(IsShortName("L101.1"));
  EXPECT_FALSE(IsShortName("a.b.c"));
  EXPECT_FALSE(IsShortName("abc."));
}

TEST(WildcardTest, MatchesAsADosListingDoes) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*.*", "GLM.DBF", true},
      {"*.*", "exe", true},
      {"*", "a.b", true},
      {"*.dbf", "glm.DBF", true},
      {"*.dbf", "glm.dbt", false},
      {"*.dbf", "glm.dbf.bak", false},
      {"ckj*.dbf", "CKJ_1.DBF", true},
      {"ckj*.dbf", "ckj.dbf", true},
      {"ckj*.dbf", "xckj.dbf", false},
      {"*.prn", "a.b.prn", true},
      {"ckj*", "ckj1.dbf", true},
      {"RES.??", "RES.1", true},
      {"RES.??", "RES.12", true},
      {"RES.??", "RES.123", false},
      {"RES.??", "RES", true},
      {"RES.??", "RESX.1", false},
      {"L1??.??", "L101.1", true},
      {"L1??.??", "L1.12", true},
      {"L1??.??", "L1234.1", false},
      {"????.??", "ABCD.12", true},
      {"????.??", "ABCDE.1", false},
      {"?4??.??", "X4YZ.1", true},
      {"?4??.??", "X5YZ.1", false},
      {"K???.??", "K1.2", true},
      {"*.1", "EntryChk.1", true},
      {"*.1", "EntryChk.12", false},
      {".??", ".1", true},
      {"*.", "README", true},
      {"*.", "a.txt", false},
      {"GLM.DBF", "glm.dbf", true},
      {"GLM.DBF", "GLM.DBFX", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.match) << c.pattern << " vs " << c.name;
  }
}

}  // namespace
}  // namespace qv::fs
