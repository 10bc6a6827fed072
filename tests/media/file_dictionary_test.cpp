// The file dictionary: its rows describe every table of the product's
// folder in the layout the re-index, company setup and the dictionary
// rebuild rely on, and every key and condition compiles and evaluates
// against the table it belongs to.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "bag_writer.h"
#include "cell_value.h"
#include "media_sources.h"
#include "platform/runtime/session.h"
#include "platform/xbase/expr.h"
#include "source_table_access.h"
#include "source_text.h"

namespace qv::media {
namespace {

using testing::MediaSources;

struct DictRow {
  std::string file, desc, row_class, bag, key, codep, struc, loop, for_cond;
};

std::vector<DictRow> ReadFiledict(const TableSource& fd) {
  std::vector<DictRow> rows;
  auto cell = [&](const Row& r, const char* name) {
    return std::string(TrimSpace(CellOf(r, fd.FieldIndex(name))));
  };
  for (const Row& r : fd.rows) {
    rows.push_back({cell(r, "FDFILE"), cell(r, "FDDESC"), cell(r, "FDBACKUP"), cell(r, "FDINDEX"),
                    cell(r, "FDFIELD"), cell(r, "FDCODEP"), cell(r, "FDSTRUC"), cell(r, "FDLOOP"),
                    cell(r, "FDFOR")});
  }
  return rows;
}

// Evaluates text on every row of table and on the blank record; the value
// types seen go into types. Fails the test on a compile or run-time fault.
void EvalOnEveryRow(const std::string& text, const TableSource& table, std::set<char>* types,
                    size_t* widest) {
  Result<xb::Expr> expr = xb::Expr::Compile(text);
  ASSERT_TRUE(expr.ok()) << text << ": " << expr.status().ToString();
  rt::Session session;
  SourceTableAccess access(table, table.BaseName());
  xb::Host host{session, &access};
  for (size_t row = 0; row <= table.rows.size(); ++row) {
    access.GoTo(row);
    try {
      rt::Value v = expr->Eval(host);
      types->insert(v.IsString()    ? 'C'
                    : v.IsNumber()  ? 'N'
                    : v.IsDate()    ? 'D'
                    : v.IsLogical() ? 'L'
                                    : '?');
      if (v.IsString()) *widest = std::max(*widest, v.str().size());
    } catch (const rt::RuntimeError& e) {
      ADD_FAILURE() << table.source << ": " << text << " fails on row " << row + 1;
      return;
    }
  }
}

TEST(FileDictionary, RowsFollowTheLayoutItsReadersExpect) {
  MediaSources media("cd");
  const TableSource* fd = media.Table("QUORVA~1", "filedict");
  ASSERT_NE(fd, nullptr);
  std::vector<DictRow> rows = ReadFiledict(*fd);
  std::set<std::string> seen;
  bool loop = false;
  for (size_t i = 0; i < rows.size(); ++i) {
    const DictRow& r = rows[i];
    SCOPED_TRACE(r.file + " row " + std::to_string(i + 1));
    bool first = i == 0 || rows[i - 1].file != r.file;
    if (first) {
      EXPECT_TRUE(r.row_class == "M" || r.row_class == "Y");
      EXPECT_TRUE(seen.insert(r.file).second) << "the rows of a table follow each other";
    } else {
      EXPECT_TRUE(r.row_class == "I" || r.row_class == "H");
      EXPECT_FALSE(r.bag.empty()) << "a further row carries an index";
    }
    EXPECT_FALSE(r.desc.empty());
    EXPECT_TRUE(r.codep == "Y" || r.codep == "N");
    EXPECT_TRUE(r.struc == "Y" || r.struc == "N");
    EXPECT_TRUE(r.loop == "Y" || r.loop == "N");
    EXPECT_EQ(r.bag.empty(), r.key.empty()) << "a bag needs a key and a key a bag";
    EXPECT_NE(media.Table("QUORVA~1", r.file), nullptr) << "the data folder holds the table";
    loop = loop || r.loop == "Y";
    if (r.codep == "Y") {
      EXPECT_NE(media.Table("demo", r.file), nullptr) << "the demo company has the table";
    }
  }
  EXPECT_TRUE(loop) << "one table has numbered variants";
}

TEST(FileDictionary, EveryKeyAndConditionEvaluatesOnItsTable) {
  MediaSources media("cd");
  std::vector<DictRow> rows = ReadFiledict(*media.Table("QUORVA~1", "filedict"));
  bool field2 = false;
  bool for_cond = false;
  for (const DictRow& r : rows) {
    if (r.key.empty()) continue;
    SCOPED_TRACE(r.file + " bag " + r.bag + ": " + r.key);
    const TableSource* table = media.Table("QUORVA~1", r.file);
    ASSERT_NE(table, nullptr);
    std::string built = CompleteKey(r.key, *table);
    field2 = field2 || built != r.key;
    for (const std::string& key : {r.key, built}) {
      std::set<char> types;
      size_t widest = 0;
      EvalOnEveryRow(key, *table, &types, &widest);
      EXPECT_EQ(types.size(), 1u) << "one key type";
      EXPECT_TRUE(types.count('C') || types.count('N') || types.count('D'));
      EXPECT_LE(widest, 240u) << "a character key fits an index page";
    }
    if (!r.for_cond.empty()) {
      for_cond = true;
      std::set<char> types;
      size_t widest = 0;
      EvalOnEveryRow(r.for_cond, *table, &types, &widest);
      EXPECT_EQ(types, std::set<char>{'L'});
    }
    // The demo company's copy (same structure) indexes too.
    if (const TableSource* demo = media.Table("demo", r.file); demo != nullptr && r.codep == "Y") {
      std::set<char> types;
      size_t widest = 0;
      EvalOnEveryRow(built, *demo, &types, &widest);
    }
  }
  EXPECT_TRUE(field2) << "one key completes FIELD(2) at re-index";
  EXPECT_TRUE(for_cond) << "one index has a FOR condition";
}

TEST(FileDictionary, TheFieldDictionaryBagKeyIsTableAndField) {
  MediaSources media("cd");
  const TableSource* dd = media.Table("QUORVA~1", "datadict");
  ASSERT_NE(dd, nullptr);
  ASSERT_FALSE(dd->rows.empty());
  Result<xb::Expr> key = xb::Expr::Compile("upper(filenm)+field_name");
  ASSERT_TRUE(key.ok());
  rt::Session session;
  SourceTableAccess access(*dd, "DATADICT");
  xb::Host host{session, &access};
  rt::Value v = key->Eval(host);
  EXPECT_EQ(v.str().size(), 18u);
  // Every field of the product's tables is described.
  int desc = dd->FieldIndex("FIELD_DESC");
  int head = dd->FieldIndex("FIELD_HEAD");
  for (const Row& r : dd->rows) {
    EXPECT_FALSE(CellOf(r, desc).empty()) << CellOf(r, 0) << "." << CellOf(r, 1);
    EXPECT_FALSE(CellOf(r, head).empty()) << CellOf(r, 0) << "." << CellOf(r, 1);
  }
}

TEST(FileDictionary, FieldOfAKeyIsCompletedAsTheReindexDoes) {
  Result<TableSource> t = ParseTableSource("field CODE C 4\nfield NAME C 20\n", "t.tbl");
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(CompleteKey("CODE+FIELD(2)", *t), "CODE+NAME");
  EXPECT_EQ(CompleteKey("code+field(2)", *t), "code+NAME");
  EXPECT_EQ(CompleteKey("upper(code)", *t), "upper(code)");
}

}  // namespace
}  // namespace qv::media
