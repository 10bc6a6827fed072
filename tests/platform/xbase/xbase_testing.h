// Shared by the evaluator's tests: a session with a fixed today and the year
// window the reference answers were taken with, evaluation that returns the
// error text instead of throwing, and an in-memory stand-in for the work
// areas.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "platform/runtime/session.h"
#include "platform/xbase/expr.h"
#include "platform/xbase/table_access.h"

namespace qv::xb::testing {

// Today 2026-12-11 10:20:30, year window from 1939 (this year - 87).
rt::Clock FixedClock();
void ApplyReferenceSettings(rt::Session& session);

// The value, or "error: ..." with the compile or run-time error text.
struct Outcome {
  bool ok = false;
  rt::Value value;
  std::string error;
};
Outcome Evaluate(Host& host, const std::string& text, ParseMode mode = ParseMode::kExpression);
// Type letter, a tab and ValueText(), or "error: ..." .
std::string Show(Host& host, const std::string& text);

// A session with the reference settings and a Host over it, no tables.
class ExprTest : public ::testing::Test {
 protected:
  ExprTest() { ApplyReferenceSettings(session_); }
  std::string Show(const std::string& text) { return testing::Show(host_, text); }
  // Each text shows as given (type letter, tab, value; or the error).
  void ExpectAll(std::initializer_list<std::pair<const char*, const char*>> rows) {
    for (const auto& [text, shown] : rows) EXPECT_EQ(Show(text), shown) << text;
  }

  rt::Session session_;
  Host host_{session_};
};

// Work areas held in memory: each area a list of field names and rows.
class FakeTables : public TableAccess {
 public:
  struct Table {
    std::string alias;
    std::vector<std::string> fields;
    std::vector<std::vector<rt::Value>> rows;
    int64_t recno = 1;  // 1-based; rows.size() + 1 is EOF
    bool found = false;
  };

  // Opens table in area (1-based) and selects it.
  void Open(int area, Table table);
  void Close(int area);
  Table& table(int area) { return areas_.at(area); }
  int lookups() const { return lookups_; }

  uint64_t LayoutStamp() const override { return stamp_; }
  int CurrentArea() const override { return current_; }
  void SelectArea(int area) override;
  int AreaOf(std::string_view alias) const override;
  bool Used(int area) const override { return areas_.count(area) != 0; }
  std::string Alias(int area) const override;
  std::string Dbf(int area) const override;
  int FieldIndex(int area, std::string_view name) const override;
  int FieldCount(int area) const override;
  std::string FieldName(int area, int index) const override;
  rt::Value GetField(int area, int index) override;
  Status PutField(int area, int index, const rt::Value& value) override;
  bool Eof(int area) const override;
  bool Bof(int area) const override;
  bool Found(int area) const override;
  bool Deleted(int) const override { return false; }
  int64_t RecNo(int area) const override;
  int64_t RecCount(int area) const override;

 private:
  const Table* Find(int area) const;

  std::map<int, Table> areas_;
  int current_ = 1;
  uint64_t stamp_ = 1;
  mutable int lookups_ = 0;
};

}  // namespace qv::xb::testing
