// The text format of table sources: what parses into which structure and
// rows, and which mistakes are refused with the line that holds them.
#include <gtest/gtest.h>

#include <string>

#include "cell_value.h"
#include "table_source.h"

namespace qv::media {
namespace {

TEST(SourceFormat, StructureTagsAndRows) {
  const char* text =
      "# a comment\n"
      "field code c 6 | Code | The code\n"
      "field AMOUNT N 10 2\n"
      "field when D\n"
      "field ok L\n"
      "field notes M | Notes\n"
      "bag other\n"
      "tag BYCODE upper(code) + dtos(when)\n"
      "  for ok\n"
      "  unique\n"
      "tag BYAMT amount\n"
      "  descending\n"
      "rows |\n"
      "  A1|-12.5|20240229|T|line 1\\r\\nline 2\n"
      "\n"
      "# between rows\n"
      "*|B2|3\n";
  Result<TableSource> t = ParseTableSource(text, "x/sample.tbl");
  ASSERT_TRUE(t.ok()) << t.status().ToString();
  EXPECT_EQ(t->file_name, "sample.dbf");
  ASSERT_EQ(t->fields.size(), 5u);
  EXPECT_EQ(t->fields[0].name, "CODE");
  EXPECT_EQ(t->fields[0].heading, "Code");
  EXPECT_EQ(t->fields[0].description, "The code");
  EXPECT_EQ(t->fields[1].decimals, 2);
  EXPECT_EQ(t->fields[2].length, 8);
  EXPECT_EQ(t->fields[3].length, 1);
  EXPECT_EQ(t->fields[4].length, 10);
  EXPECT_EQ(t->fields[4].heading, "Notes");
  ASSERT_EQ(t->tags.size(), 2u);
  EXPECT_EQ(t->tags[0].bag, "other");
  EXPECT_EQ(t->tags[0].key, "upper(code) + dtos(when)");
  EXPECT_EQ(t->tags[0].for_cond, "ok");
  EXPECT_TRUE(t->tags[0].unique);
  EXPECT_TRUE(t->tags[1].descending);
  ASSERT_EQ(t->rows.size(), 2u);
  EXPECT_EQ(t->rows[0].cells[0], "  A1");  // blanks are data
  EXPECT_EQ(t->rows[0].cells[4], "line 1\r\nline 2");
  EXPECT_FALSE(t->rows[0].deleted);
  EXPECT_TRUE(t->rows[1].deleted);
  EXPECT_EQ(t->rows[1].cells.size(), 2u);  // the rest is blank
  EXPECT_EQ(CellOf(t->rows[1], 4), "");
}

TEST(SourceFormat, EscapesMarksAndRecordNumbers) {
  const char* text =
      "field A C 30\n"
      "field B C 30\n"
      "rows ~\n"
      "@3~C:\\ZENTHOR\\*.co~a\\~b\n"
      "\\x2A~starts with a star\n"
      "*@6~deleted at six~\n"
      "*x~not a mark\n";
  Result<TableSource> t = ParseTableSource(text, "m.tbl");
  ASSERT_TRUE(t.ok()) << t.status().ToString();
  ASSERT_EQ(t->rows.size(), 7u);
  EXPECT_TRUE(t->rows[0].cells.empty());                // records 1 and 2 fill the gap
  EXPECT_EQ(t->rows[2].cells[0], "C:\\ZENTHOR\\*.co");  // a lone backslash is itself
  EXPECT_EQ(t->rows[2].cells[1], "a~b");
  EXPECT_EQ(t->rows[3].cells[0], "*");  // an escaped star is data
  EXPECT_FALSE(t->rows[3].deleted);
  EXPECT_TRUE(t->rows[5].deleted);
  EXPECT_EQ(t->rows[5].cells[0], "deleted at six");
  EXPECT_EQ(t->rows[6].cells[0], "*x");
}

TEST(SourceFormat, CodePage1252) {
  Result<TableSource> t = ParseTableSource("field A C 4\nrows |\nÜ€é\n", "cp.tbl");
  ASSERT_TRUE(t.ok()) << t.status().ToString();
  EXPECT_EQ(t->rows[0].cells[0], "\xDC\x80\xE9");
  // A character code page 1252 cannot hold is refused, not turned into '?'.
  Result<TableSource> bad = ParseTableSource("field A C 4\nrows |\n\xE2\x88\x9A\n", "cp.tbl");
  EXPECT_FALSE(bad.ok());
}

TEST(SourceFormat, FileNameAndSame) {
  Result<TableSource> t = ParseTableSource("file CREDCRD.DBF\nfield A C 1\n", "d/credcrd.tbl");
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(t->file_name, "CREDCRD.DBF");
  EXPECT_EQ(t->BaseName(), "CREDCRD");
  Result<TableSource> same = ParseTableSource("same ../x.tbl\n", "d/y.tbl");
  ASSERT_TRUE(same.ok());
  EXPECT_EQ(same->same_as, "../x.tbl");
}

TEST(SourceFormat, StructureComesFromTheLoader) {
  SourceLoader loader = [](std::string_view path) -> Result<TableSource> {
    if (path != "../base.tbl") return Status::NotFound(std::string(path));
    return ParseTableSource("field N N 3\nfield C C 2\n", "base.tbl");
  };
  Result<TableSource> t =
      ParseTableSource("structure ../base.tbl\nrows |\n12|ab\n", "t.tbl", loader);
  ASSERT_TRUE(t.ok()) << t.status().ToString();
  EXPECT_EQ(t->fields.size(), 2u);
  EXPECT_EQ(t->rows[0].cells[1], "ab");
  EXPECT_FALSE(ParseTableSource("structure ../base.tbl\n", "t.tbl").ok());
  EXPECT_FALSE(ParseTableSource("structure ../none.tbl\n", "t.tbl", loader).ok());
}

// Every mistake names the source and the line that holds it.
TEST(SourceFormat, MistakesAreRefusedWithTheirLine) {
  struct Case {
    const char* text;
    const char* where;
  };
  const Case cases[] = {
      {"field A C 3\nbogus\n", "t.tbl:2"},
      {"field TOOLONGNAME1 C 3\n", "t.tbl:1"},
      {"field 1A C 3\n", "t.tbl:1"},
      {"field A X 3\n", "t.tbl:1"},
      {"field A C 0\n", "t.tbl:1"},
      {"field A C 255\n", "t.tbl:1"},
      {"field A N 5 4\n", "t.tbl:1"},
      {"field A D 10\n", "t.tbl:1"},
      {"field A C 3\nfield a C 3\n", "t.tbl:2"},
      {"field A C 3\nrows |\nabcd\n", "t.tbl:3"},
      {"field A C 3\nrows |\na|b\n", "t.tbl:3"},
      {"field A N 5 2\nrows |\n123.4\n", "t.tbl:3"},
      {"field A N 5 2\nrows |\n1.234\n", "t.tbl:3"},
      {"field A N 5\nrows |\n1,5\n", "t.tbl:3"},
      {"field A D\nrows |\n20230229\n", "t.tbl:3"},
      {"field A L\nrows |\nY\n", "t.tbl:3"},
      {"field A C 3\nrows |\nab\\\n", "t.tbl:3"},
      {"field A C 3\nrows |\n\\xZZ\n", "t.tbl:3"},
      {"field A C 3\nrows |\n@0|x\n", "t.tbl:3"},
      {"field A C 3\nrows |\n@2|x\n@2|y\n", "t.tbl:4"},
      {"field A C 3\nrows x\n", "t.tbl:2"},
      {"field A C 3\nunique\n", "t.tbl:2"},
      {"same a.tbl\nfield A C 3\n", "t.tbl"},
      {"# nothing\n", "t.tbl"},
  };
  for (const Case& c : cases) {
    Result<TableSource> t = ParseTableSource(c.text, "t.tbl");
    ASSERT_FALSE(t.ok()) << c.text;
    EXPECT_NE(t.status().message().find(c.where), std::string::npos)
        << c.text << " -> " << t.status().ToString();
  }
}

TEST(CellValue, ValuesAsTheFieldStoresThem) {
  FieldDef n{"N", 'N', 10, 2, {}, {}};
  EXPECT_DOUBLE_EQ(CellValue(n, "-12.5").num(), -12.5);
  EXPECT_EQ(CellValue(n, "-12.5").number().decimals, 2);
  EXPECT_DOUBLE_EQ(CellValue(n, "").num(), 0);
  FieldDef d{"D", 'D', 8, 0, {}, {}};
  EXPECT_TRUE(CellValue(d, "").date().empty());
  EXPECT_EQ(CellValue(d, "19850115").date().Year(), 1985);
  FieldDef l{"L", 'L', 1, 0, {}, {}};
  EXPECT_TRUE(CellValue(l, "T").logical());
  EXPECT_FALSE(CellValue(l, "").logical());
  // A negative number needs room for its sign.
  FieldDef n3{"N3", 'N', 3, 0, {}, {}};
  EXPECT_TRUE(CheckCell(n3, "-99").ok());
  EXPECT_FALSE(CheckCell(n3, "-999").ok());
}

}  // namespace
}  // namespace qv::media
