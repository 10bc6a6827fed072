#include "menu_tables.h"

#include <gtest/gtest.h>

#include "platform/rdd/table.h"
#include "platform/rdd/workspace.h"

namespace qv::shell::testing {

namespace {

void WriteRows(fs::Env& env, const std::string& dbf, const std::vector<rdd::FieldSpec>& fields,
               const std::vector<std::vector<std::string>>& rows) {
  ASSERT_TRUE(rdd::Table::Create(env, dbf, fields).ok());
  rdd::Workspace ws(env);
  ASSERT_TRUE(ws.Use(rdd::UseArgs{dbf, "", false, false, false}).ok());
  for (const auto& row : rows) {
    ASSERT_TRUE(ws.Area()->Append().ok());
    for (size_t i = 0; i < row.size(); ++i) {
      ASSERT_TRUE(ws.Area()->Put(static_cast<int>(i + 1), rt::Value(row[i])).ok());
    }
  }
  ASSERT_TRUE(ws.CloseAll().ok());
}

}  // namespace

void WriteMenuTable(fs::Env& env, const std::string& dbf, const std::vector<Row>& rows) {
  std::vector<std::vector<std::string>> cells;
  for (const Row& r : rows) cells.push_back({r.caption, r.message, r.action, r.key});
  WriteRows(env, dbf,
            {{"MEN_DESC", 'C', 40, 0},
             {"MEN_MESSAG", 'C', 60, 0},
             {"MEN_LOAD", 'C', 120, 0},
             {"MEN_XXVKEY", 'C', 1, 0}},
            cells);
}

void WriteMessageTable(fs::Env& env, const std::string& dbf,
                       const std::map<int, std::string>& titles) {
  std::vector<std::vector<std::string>> cells;
  const int last = titles.empty() ? 0 : titles.rbegin()->first;
  for (int n = 1; n <= last; ++n) {
    auto it = titles.find(n);
    cells.push_back({it == titles.end() ? std::string() : it->second});
  }
  WriteRows(env, dbf, {{"TITLE", 'C', 120, 0}}, cells);
}

}  // namespace qv::shell::testing
