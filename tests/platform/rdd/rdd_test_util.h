// Helpers shared by the table engine's tests: fixture tables copied into a
// temporary folder, their truth files, and small tables made on the spot.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/fs/env.h"
#include "platform/rdd/rdd.h"
#include "platform/runtime/json.h"
#include "testing/testing.h"

namespace qv::rdd::testutil {

inline const rt::Date kToday = rt::Date::FromYmd(2026, 12, 11);

// Copies fixtures/xbase/<name>.dbf and its .dbt (and .cdx) into dir.
inline std::string CopyTable(const std::string& name, const std::string& dir) {
  std::string dbf = qv::testing::CopyFixture("xbase/" + name + ".dbf", dir);
  for (const char* ext : {".dbt", ".cdx"}) {
    std::string rel = "xbase/" + name + ext;
    if (!qv::testing::ReadHostFile(qv::testing::SharedDir() + "/fixtures/" + rel).empty()) {
      qv::testing::CopyFixture(rel, dir);
    }
  }
  return dbf;
}

inline json::Json Truth(const std::string& name) {
  std::string text =
      qv::testing::ReadHostFile(qv::testing::SharedDir() + "/fixtures/xbase/" + name + ".dbf.json");
  auto doc = json::Parse(text);
  EXPECT_TRUE(doc.ok()) << doc.status().ToString();
  return doc.ok() ? *doc : json::Json();
}

inline TableOpenOptions Exclusive() {
  TableOpenOptions o;
  o.exclusive = true;
  o.today = kToday;
  return o;
}

inline TableOpenOptions Shared() {
  TableOpenOptions o;
  o.today = kToday;
  return o;
}

// Opens a table that the test knows is there (null and a failure if not).
inline std::unique_ptr<Table> MustOpen(fs::Env& env, const std::string& path,
                                       const TableOpenOptions& options) {
  auto table = Table::Open(env, path, options);
  EXPECT_TRUE(table.ok()) << table.status().ToString();
  return table.ok() ? std::move(table).value() : nullptr;
}

// CODE C6, NAME C20, AMOUNT N12.2, BIRTH D, ACTIVE L, NOTES M
inline std::vector<FieldSpec> CustFields() {
  return {{"CODE", 'C', 6, 0},  {"NAME", 'C', 20, 0},  {"AMOUNT", 'N', 12, 2},
          {"BIRTH", 'D', 8, 0}, {"ACTIVE", 'L', 1, 0}, {"NOTES", 'M', 10, 0}};
}

// A table of n records: CODE "Cnnnnn", AMOUNT = recno, NOTES "memo <recno>"
// on odd records; every record whose number is divisible by del_every is
// deleted (0: none).
inline void MakeTable(fs::Env& env, const std::string& path, int n, int del_every = 0) {
  ASSERT_TRUE(Table::Create(env, path, CustFields(), false, kToday).ok());
  auto table = Table::Open(env, path, Exclusive());
  ASSERT_TRUE(table.ok()) << table.status().ToString();
  EngineSettings settings;
  WorkArea area(std::move(table).value(), "T", &settings);
  for (int i = 1; i <= n; ++i) {
    ASSERT_TRUE(*area.Append());
    char code[16];
    std::snprintf(code, sizeof code, "C%05d", i);
    ASSERT_TRUE(area.Put("CODE", rt::Value(code)).ok());
    ASSERT_TRUE(area.Put("AMOUNT", rt::Value::Num(i, 12, 2)).ok());
    if (i % 2 == 1) {
      ASSERT_TRUE(area.Put("NOTES", rt::Value("memo " + std::to_string(i))).ok());
    }
    if (del_every != 0 && i % del_every == 0) {
      ASSERT_TRUE(area.Delete().ok());
    }
  }
  ASSERT_TRUE(area.Close().ok());
}

}  // namespace qv::rdd::testutil
