// The message table: every numbered message the program shows evaluates to
// its wording, with the caller's text where the caller passes it (MSG's
// arguments are visible by name while TITLE is evaluated).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "cell_value.h"
#include "media_sources.h"
#include "platform/runtime/session.h"
#include "platform/xbase/expr.h"
#include "source_text.h"

namespace qv::media {
namespace {

using testing::MediaSources;

// Evaluates record recno's TITLE as MSG does, with EMESSAGE = passed.
std::string MessageText(const TableSource& message, size_t recno, const std::string& passed) {
  int title = message.FieldIndex("TITLE");
  EXPECT_GE(title, 0);
  std::string text(TrimRight(CellOf(message.rows.at(recno - 1), title)));
  if (text.empty()) return "(empty record)";
  rt::Session session;
  rt::FrameGuard frame(session, "MSG");
  session.DeclarePrivate("NUM", rt::Value::Int(static_cast<int64_t>(recno)));
  session.DeclarePrivate("EMESSAGE", rt::Value(passed));
  session.DeclarePrivate("ANSWER", rt::Value("F"));
  xb::Host host{session};
  Result<xb::Expr> expr = xb::Expr::Compile(text);
  EXPECT_TRUE(expr.ok()) << recno << ": " << expr.status().ToString();
  if (!expr.ok()) return "(does not compile)";
  rt::Value v = expr->Eval(host);
  EXPECT_TRUE(v.IsString()) << recno;
  return v.IsString() ? v.str() : "(not a string)";
}

TEST(MessageTable, EveryNumberedMessageGivesItsWording) {
  MediaSources media("cd");
  const TableSource* message = media.Table("", "message");
  ASSERT_NE(message, nullptr);
  struct Case {
    size_t number;
    std::string passed;    // what the caller passes as the text argument
    std::string expected;  // what the message shows
  };
  const std::string lock = "Lock on INVEN FAILED...Retry Y/N";
  const std::string excl = "1.co\\inven In use TOTALLY EXCLUSIVELY...RETRY Y/N";
  const Case cases[] = {
      {193, "Waiting for the year-end closing", "Waiting for the year-end closing"},
      {195, lock, lock},
      {196, "", "Leaving ZENTHOR..."},
      {198, excl, excl},
      {199, "tftemm1 In use TOTALLY EXCLUSIVELY...RETRY Y/N",
       "tftemm1 In use TOTALLY EXCLUSIVELY...RETRY Y/N"},
      {200, "", "You will now restart ZENTHOR..."},
      {208, "Quantity must not be negative", "Quantity must not be negative"},
      {234, "Exit ZENTHOR Now. Y/N", "Exit ZENTHOR Now. Y/N"},
      {234, "", "Exit ZENTHOR Now. Y/N"},
      {238, "A nice picture of TEAM ZENTHOR will be shown",
       "A nice picture of TEAM ZENTHOR will be shown"},
      {238, "", "A nice picture of TEAM ZENTHOR will be shown"},
      {471, "Copy from: 2  to 1. ", "Copy from: 2  to 1. "},
      {472, "From: 2 append to 1. ", "From: 2 append to 1. "},
      {475, "Warning...inven not reindexed.", "Warning...inven not reindexed."},
      {480, "Printing Structure for Inventory                  ",
       "Printing Structure for Inventory                  "},
  };
  for (const Case& c : cases) {
    ASSERT_LE(c.number, message->rows.size());
    EXPECT_EQ(MessageText(*message, c.number, c.passed), c.expected) << "message " << c.number;
  }
}

TEST(MessageTable, OnlyTheNumberedMessagesHaveText) {
  MediaSources media("cd");
  const TableSource* message = media.Table("", "message");
  ASSERT_NE(message, nullptr);
  const size_t numbered[] = {193, 195, 196, 198, 199, 200, 208, 234, 238, 471, 472, 475, 480};
  EXPECT_EQ(message->rows.size(), 480u);
  int title = message->FieldIndex("TITLE");
  for (size_t recno = 1; recno <= message->rows.size(); ++recno) {
    bool is_numbered =
        std::find(std::begin(numbered), std::end(numbered), recno) != std::end(numbered);
    bool has_text = !TrimRight(CellOf(message->rows[recno - 1], title)).empty();
    EXPECT_EQ(has_text, is_numbered) << "record " << recno;
  }
}

TEST(MessageTable, TheInstalledFolderHasTheSameTables) {
  MediaSources media("cd");
  for (const char* name : {"message", "menuset"}) {
    const TableSource* start = media.Table("", name);
    const TableSource* installed = media.Table("QUORVA~1", name);
    ASSERT_NE(start, nullptr);
    ASSERT_NE(installed, nullptr);
    ASSERT_EQ(start->rows.size(), installed->rows.size()) << name;
    for (size_t i = 0; i < start->rows.size(); ++i) {
      EXPECT_EQ(start->rows[i].cells, installed->rows[i].cells) << name << " row " << i + 1;
    }
  }
}

}  // namespace
}  // namespace qv::media
