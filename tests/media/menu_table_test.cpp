// The menu table: rows nest as the menu builder reads them, every action
// compiles in the form the builder makes of it (the record number appended
// to the last call), and choosing each item reaches its command with the
// right mode key and the variables the command expects.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "cell_value.h"
#include "media_sources.h"
#include "menu_soon.h"
#include "platform/runtime/number.h"
#include "platform/runtime/session.h"
#include "platform/xbase/expr.h"
#include "source_text.h"

namespace qv::media {
namespace {

using testing::MediaSources;

struct MenuRow {
  std::string caption;  // as stored
  std::string action;   // trailing blanks removed
  std::string key;
  double level = 0;
  bool separator = false;
};

std::vector<MenuRow> ReadMenu(const TableSource& menu) {
  std::vector<MenuRow> rows;
  int desc = menu.FieldIndex("MEN_DESC");
  int load = menu.FieldIndex("MEN_LOAD");
  int key = menu.FieldIndex("MEN_XXVKEY");
  EXPECT_TRUE(desc >= 0 && load >= 0 && key >= 0 && menu.FieldIndex("MEN_MESSAG") >= 0);
  for (const Row& r : menu.rows) {
    MenuRow m;
    m.caption = std::string(CellOf(r, desc));
    m.action = std::string(TrimRight(CellOf(r, load)));
    m.key = std::string(CellOf(r, key));
    m.key.resize(1, ' ');
    size_t blanks = m.caption.find_first_not_of(' ');
    m.level = (blanks == std::string::npos ? m.caption.size() : blanks) / 2.0;
    m.separator = !rows.empty() && m.caption.find("-----") != std::string::npos;
    rows.push_back(m);
  }
  return rows;
}

// The action the builder compiles: the text without its last two
// characters, a comma, the record number right-aligned in 10, ")}".
std::string BuiltAction(const MenuRow& row, size_t recno) {
  return row.action.substr(0, row.action.size() - 2) + "," +
         rt::Str(static_cast<double>(recno), 10, 0) + ")}";
}

TEST(MenuTable, RowsNestAsTheBuilderReadsThem) {
  MediaSources media("cd");
  const TableSource* menu = media.Table("", "menuset");
  ASSERT_NE(menu, nullptr);
  std::vector<MenuRow> rows = ReadMenu(*menu);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0].level, 0);
  for (size_t i = 0; i < rows.size(); ++i) {
    const MenuRow& r = rows[i];
    SCOPED_TRACE("record " + std::to_string(i + 1) + " " + r.caption);
    EXPECT_EQ(r.level, static_cast<int>(r.level)) << "odd number of leading blanks";
    if (i > 0) {
      EXPECT_LE(r.level, rows[i - 1].level + 1) << "a level may grow by one only";
    }
    bool opens_submenu = i + 1 < rows.size() && rows[i + 1].level > r.level;
    if (r.separator || opens_submenu) {
      EXPECT_TRUE(r.action.empty()) << "separators and submenu items run nothing";
    } else {
      ASSERT_GE(r.action.size(), 2u);
      EXPECT_EQ(r.action.substr(r.action.size() - 2), ")}");
    }
    if (r.separator) {
      EXPECT_GT(r.level, 0) << "a separator sits in a drop-down";
    }
  }
  EXPECT_EQ(rows.back().level, 1) << "the last row closes one submenu";
}

// What choosing an item did: the CHECK_PASS calls and the variables seen.
struct Dispatch {
  std::string command;
  std::string soon;  // the name SOON was called with
  double recno = 0;
  std::map<std::string, rt::Value> seen;
  std::vector<std::string> other_calls;
};

// Runs row recno's built action in a session where CHECK_PASS records the
// call and MSG answers each prompt from answers in turn.
Dispatch Choose(const MenuRow& row, size_t recno, std::vector<rt::Value> answers) {
  Dispatch d;
  rt::Session session;
  for (const char* name : {"XXCO", "XXVCO"}) session.DeclarePublic(name) = rt::Value("");
  session.DeclarePublic("XXVCOID") = rt::Value("");
  size_t next_answer = 0;
  session.procedures().Register("CHECK_PASS", [&](rt::Session& s, std::span<rt::Value> args) {
    EXPECT_EQ(args.size(), 2u);
    if (args.size() == 2 && args[0].IsString() && args[1].IsNumber()) {
      d.command = args[0].str();
      d.recno = args[1].num();
    }
    for (const char* name : {"ALLFLAG", "COMPANIES", "ID", "XXVDATE", "XXCO", "XXVCO", "XXVCOID"}) {
      if (rt::Value* v = s.Find(name)) d.seen[name] = *v;
    }
    return rt::Value(true);
  });
  session.procedures().Register("SOON", [&](rt::Session&, std::span<rt::Value> args) {
    EXPECT_EQ(args.size(), 2u);
    if (args.size() == 2 && args[0].IsString() && args[1].IsNumber()) {
      d.soon = args[0].str();
      d.recno = args[1].num();
    }
    return rt::Value();
  });
  session.procedures().Register("MSG", [&](rt::Session&, std::span<rt::Value> args) {
    d.other_calls.push_back("MSG " + (args.size() > 1 && args[1].IsString() ? args[1].str() : ""));
    return next_answer < answers.size() ? answers[next_answer++] : rt::Value();
  });
  session.procedures().Register("USIT", [&](rt::Session&, std::span<rt::Value> args) {
    std::string call = "USIT";
    for (const rt::Value& a : args) call += " " + (a.IsString() ? a.str() : std::string("?"));
    d.other_calls.push_back(call);
    return rt::Value(true);
  });
  rt::FrameGuard frame(session, "MENU");
  xb::Host host{session};
  Result<xb::Expr> expr = xb::Expr::Compile(BuiltAction(row, recno));
  EXPECT_TRUE(expr.ok()) << expr.status().ToString();
  if (!expr.ok()) return d;
  rt::Value block = expr->Eval(host);
  EXPECT_TRUE(block.IsBlock());
  if (block.IsBlock()) block.block()->Call(session, {});
  return d;
}

TEST(MenuTable, EveryActionCompilesAndReachesItsCommand) {
  MediaSources media("cd");
  const TableSource* menu = media.Table("", "menuset");
  ASSERT_NE(menu, nullptr);
  std::vector<MenuRow> rows = ReadMenu(*menu);
  std::set<std::string> reached;  // command + mode key
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].action.empty()) continue;
    SCOPED_TRACE(rows[i].caption);
    Dispatch d =
        Choose(rows[i], i + 1, {rt::Value("1  "), rt::Value(rt::Date::FromYmd(2026, 1, 5))});
    EXPECT_EQ(d.recno, static_cast<double>(i + 1)) << "the record number reaches CHECK_PASS";
    reached.insert(d.command + "/" + rows[i].key);
    if (d.command == "MSB_F") {
      ASSERT_TRUE(d.seen.count("ALLFLAG"));
      EXPECT_EQ(d.seen["ALLFLAG"].str(), rows[i].key) << "the re-index mode is its key";
    }
    if (d.command == "CONVERSION" || d.command == "FINALIZE") {
      ASSERT_TRUE(d.seen.count("COMPANIES"));
      EXPECT_TRUE(d.seen["COMPANIES"].IsArray()) << "the old company folders are listed first";
    }
  }
  // Every command of the program, install modes and re-index modes included.
  const char* expected[] = {"INSTALL_S/D",  "INSTALL_S/S",     "INSTALL_S/U", "INSTALL_S/P",
                            "INSTALL_S/C",  "TERMINAL/ ",      "INSTALL_B/ ", "DRIVES/ ",
                            "CONVERSION/C", "PROTOCOL/ ",      "FINALIZE/C",  "MSC/ ",
                            "ALWAYS/ ",     "MSB_F/X",         "MSB_F/Y",     "MSB_F/N",
                            "MSB_F/H",      "BUILDDATADICT/ ", "ABOUT/ ",     "CANCELNOW/ "};
  for (const char* e : expected) EXPECT_TRUE(reached.count(e)) << e << " is not reachable";
}

size_t RowOf(const std::vector<MenuRow>& rows, const std::string& caption) {
  for (size_t i = 0; i < rows.size(); ++i) {
    if (TrimSpace(rows[i].caption) == caption) return i;
  }
  ADD_FAILURE() << "no row " << caption;
  return 0;
}

TEST(MenuTable, CompanySetupAsksCodeAndDateFirst) {
  MediaSources media("cd");
  std::vector<MenuRow> rows = ReadMenu(*media.Table("", "menuset"));
  size_t i = RowOf(rows, "New company");
  rt::Date day = rt::Date::FromYmd(2026, 3, 15);
  Dispatch d = Choose(rows[i], i + 1, {rt::Value("7  "), rt::Value(day)});
  EXPECT_EQ(d.command, "MSC");
  EXPECT_EQ(d.seen["ID"].str(), "7  ");
  EXPECT_EQ(d.seen["XXVDATE"].date(), day);
  EXPECT_EQ(d.other_calls.size(), 2u);
  // A cancelled prompt (MSG gives NIL) runs the no-op command instead.
  Dispatch cancelled = Choose(rows[i], i + 1, {});
  EXPECT_EQ(cancelled.command, "GETIT");
  EXPECT_EQ(cancelled.other_calls.size(), 1u) << "no date is asked without a code";
}

TEST(MenuTable, ChoosingTheCompanySetsItAndReopensTheStandardTables) {
  MediaSources media("cd");
  std::vector<MenuRow> rows = ReadMenu(*media.Table("", "menuset"));
  size_t i = RowOf(rows, "Choose the company");
  Dispatch d = Choose(rows[i], i + 1, {rt::Value("2  ")});
  EXPECT_EQ(d.command, "ALWAYS");
  EXPECT_EQ(d.seen["XXVCOID"].str(), "2");
  EXPECT_EQ(d.seen["XXCO"].str(), "2.co\\");
  EXPECT_EQ(d.seen["XXVCO"].str(), "2.co\\");
  std::vector<std::string> closes = {"USIT company  U", "USIT readit  U"};
  ASSERT_EQ(d.other_calls.size(), 3u);
  EXPECT_EQ(d.other_calls[1], closes[0]);
  EXPECT_EQ(d.other_calls[2], closes[1]);
  Dispatch cancelled = Choose(rows[i], i + 1, {});
  EXPECT_EQ(cancelled.command, "ALWAYS");
  EXPECT_EQ(cancelled.seen["XXCO"].str(), "") << "a cancelled choice changes nothing";
}

TEST(MenuTable, CommandsNotBuiltYetSayTheyAreComing) {
  MediaSources media("cd");
  const TableSource* source = media.Table("", "menuset");
  ASSERT_NE(source, nullptr);
  TableSource written = WithSoonActions(*source);
  std::vector<MenuRow> final_rows = ReadMenu(*source);
  std::vector<MenuRow> rows = ReadMenu(written);
  std::set<std::string> listed(source->soon.begin(), source->soon.end());
  std::set<std::string> dispatched;
  for (size_t i = 0; i < rows.size(); ++i) {
    std::string command = DispatchedCommand(final_rows[i].action);
    dispatched.insert(command);
    SCOPED_TRACE(rows[i].caption);
    if (!listed.count(command)) {
      EXPECT_EQ(rows[i].action, final_rows[i].action);
      continue;
    }
    EXPECT_EQ(rows[i].key, final_rows[i].key) << "the mode key stays";
    Dispatch d = Choose(rows[i], i + 1, {});
    EXPECT_EQ(d.soon, command);
    EXPECT_EQ(d.recno, static_cast<double>(i + 1));
    EXPECT_TRUE(d.command.empty());
  }
  for (const std::string& name : listed)
    EXPECT_TRUE(dispatched.count(name)) << name << " is on no row";
}

TEST(MenuSoon, TheDispatchedCommandOfAnAction) {
  const std::pair<const char*, const char*> cases[] = {
      {"{|| CHECK_PASS(\"ABOUT\")}", "ABOUT"},
      {"{|| ALLFLAG:=\"X\", CHECK_PASS(\"MSB_F\")}   ", "MSB_F"},
      {"{|| ID:=MSG(0,\"a\"), CHECK_PASS(iif(empty(ID),\"GETIT\",\"MSC\"))}", "MSC"},
      {"{|| SOON(\"X\")}", ""},
      {"{|| CHECK_PASS(\"ABOUT\") }", ""},
      {"", ""},
  };
  for (const auto& [action, command] : cases)
    EXPECT_EQ(DispatchedCommand(action), command) << action;
}

}  // namespace
}  // namespace qv::media
