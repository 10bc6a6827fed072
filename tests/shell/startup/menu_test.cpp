// The menu table becomes the main menu: levels from leading blanks,
// separators, the first-row rule, nesting and odd indents; actions compiled
// once with the record number appended.
#include <gtest/gtest.h>

#include "platform/rdd/table.h"
#include "shell/startup/menu_action.h"
#include "shell/startup/menu_table.h"
#include "startup_fixture.h"

namespace qv::shell::testing {
namespace {

struct TreeCase {
  const char* name;
  std::vector<std::string> captions;
  std::vector<std::string> menu;  // MENU paths as the transcript lists them
};

const TreeCase kTrees[] = {
    {"two drop-downs",
     {"File", "  Install", "  Update", "Help", "  About"},
     {"File", "File>Install", "File>Update", "Help", "Help>About"}},
    {"separators, but not in the first row",
     {"----- first", "  Install", "  -----", "  Update"},
     {"----- first", "----- first>Install", "----- first>-", "----- first>Update"}},
    {"three levels, dropping two at once",
     {"A", "  B", "    C", "    D", "E"},
     {"A", "A>B", "A>B>C", "A>B>D", "E"}},
    {"the last row's levels are closed at the end", {"A", "  B", "    C"}, {"A", "A>B", "A>B>C"}},
    {"odd indents: each rise begins one submenu, a drop closes whole levels",
     {"File", " Open", "  Save", "Help"},
     {"File", "File>Open", "File>Open>Save", "File>Help"}},
    {"three blanks are level 1.5", {"A", "   B", "C"}, {"A", "A>B", "C"}},
    {"a rise by two begins one submenu; the drop cannot close the bar",
     {"A", "    B", "C", "  D"},
     {"A", "A>B", "C", "C>D"}},
};

std::vector<std::string> Paths(const std::vector<gui::MenuItem>& items,
                               const std::string& prefix = "") {
  std::vector<std::string> out;
  for (const gui::MenuItem& item : items) {
    const std::string path = prefix + (item.separator ? "-" : item.caption);
    out.push_back(path);
    for (const std::string& sub : Paths(item.items, path + ">")) out.push_back(sub);
  }
  return out;
}

TEST(MenuTree, FollowsTheLevelRules) {
  for (const TreeCase& c : kTrees) {
    std::vector<MenuRow> rows;
    for (const std::string& caption : c.captions) rows.push_back(MenuRow{0, caption, "", "", " "});
    EXPECT_EQ(Paths(BuildMenuTree(rows, nullptr)), c.menu) << c.name;
  }
}

TEST(MenuTree, IndentCountsBlanksByTwo) {
  EXPECT_EQ(Indent("File"), 0);
  EXPECT_EQ(Indent("  Install"), 1);
  EXPECT_EQ(Indent("   Odd"), 1.5);
  EXPECT_EQ(Indent("    Deep  "), 2);
}

TEST(MenuTree, ActionTextGetsTheRecordNumber) {
  EXPECT_EQ(BuiltActionText(R"({|| CHECK_PASS("INSTALL_S")}   )", 12),
            R"({|| CHECK_PASS("INSTALL_S",        12)})");
  // ") }" loses the blank and the brace, not the two closing characters.
  EXPECT_EQ(BuiltActionText(R"({|| CHECK_PASS("X") })", 3), R"({|| CHECK_PASS("X"),         3)})");
}

class MenuTest : public StartupTest {};

TEST_F(MenuTest, TranscriptShowsTheTreeWithCaptionsAndMessagesTrimmed) {
  Menu({{"File ", "  Things to do with files  ", ""},
        {"  Install", "Install it", R"({|| CHECK_PASS("INSTALL_S")})", "D"},
        {"  -----", "", R"({|| CHECK_PASS("NEVER")})"},
        {"  Deep", "", ""},
        {"    Deeper", "Down here", R"({|| CHECK_PASS("DEEP")})"},
        {"Help", "", ""},
        {"  About", "About it", R"({|| CHECK_PASS("ABOUT")})"}});
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(Lines({"MENU"}), (std::vector<std::string>{
                                 "MENU\tFile\tThings to do with files",
                                 "MENU\tFile>Install\tInstall it",
                                 "MENU\tFile>-\t",
                                 "MENU\tFile>Deep\t",
                                 "MENU\tFile>Deep>Deeper\tDown here",
                                 "MENU\tHelp\t",
                                 "MENU\tHelp>About\tAbout it",
                             }));
  EXPECT_TRUE(Lines({"ERROR"}).empty());
}

TEST_F(MenuTest, AnActionThatDoesNotCompileIsReportedAtStartUp) {
  Menu({{"File", "", ""},
        {"  Broken", "", R"({|| CHECK_PASS("OPEN") })"},
        {"  Good", "", R"({|| CHECK_PASS("OPEN")})"}});
  Command("OPEN");
  EXPECT_EQ(Run({Choose("File>Broken"), Choose("File>Good")}), 1);
  const std::vector<std::string> errors = Lines({"ERROR"});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("ERROR\tSyntax error\t", 0), 0u) << errors[0];
  EXPECT_NE(errors[0].find(R"(CHECK_PASS("OPEN"),         2)})"), std::string::npos) << errors[0];
  // Reported before the window opened; the broken item runs nothing.
  EXPECT_LT(transcript_.str().find("ERROR"), transcript_.str().find("WINDOW"));
  ASSERT_EQ(ran_.size(), 1u);
}

TEST_F(MenuTest, AMissingMenuTableIsReportedAndTheWindowHasNoMenu) {
  EXPECT_EQ(Run(), 1);
  const std::vector<std::string> errors = Lines({"ERROR"});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "ERROR\tOpen error\tmenuset\tdefault\t(default)");
  EXPECT_TRUE(Lines({"MENU"}).empty());
  EXPECT_EQ(Lines({"WINDOW"}).size(), 1u);
}

TEST_F(MenuTest, AMissingFieldIsReportedOnce) {
  std::vector<rdd::FieldSpec> fields = {{"MEN_DESC", 'C', 20, 0}, {"MEN_LOAD", 'C', 60, 0}};
  ASSERT_TRUE(rdd::Table::Create(*env_, D("menuset.dbf"), fields).ok());
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(Lines({"ERROR"}),
            (std::vector<std::string>{
                "ERROR\tField not found\tMENUSET->MEN_MESSAG\tdefault\t(default)",
                "ERROR\tField not found\tMENUSET->MEN_XXVKEY\tdefault\t(default)"}));
}

}  // namespace
}  // namespace qv::shell::testing
