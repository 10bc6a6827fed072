// The generated field dictionary lists what the rebuild command would:
// rows of class I add nothing, tables named twice are listed twice, names
// beginning FILEDICT or DATADICT (upper case only) and missing tables are
// skipped, and headings and descriptions come from the field lines.
#include "dictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cell_value.h"
#include "table_source.h"

namespace qv::media {
namespace {

TableSource Parse(const std::string& text, const std::string& name) {
  Result<TableSource> t = ParseTableSource(text, name);
  EXPECT_TRUE(t.ok()) << t.status().ToString();
  return t.ok() ? std::move(t).value() : TableSource();
}

TEST(FieldDictionary, ListsWhatTheRebuildWouldList) {
  std::vector<TableSource> folder;
  folder.push_back(
      Parse("field FDFILE C 8\nfield FDBACKUP C 1\nrows |\n"
            "FILEDICT|M\nDATADICT|M\ndatadict|M\nalpha|M\nalpha|I\nbeta|Y\nbeta|H\nmissing|M\n",
            "filedict.tbl"));
  folder.push_back(
      Parse("field FILENM C 8\nfield FIELD_NAME C 10\nfield FIELD_TYPE C 1\nfield FIELD_LEN N 3\n"
            "field FIELD_DEC N 3\nfield FIELD_HEAD C 10\nfield FIELD_DESC C 30\nrows generated "
            "datadict\n",
            "datadict.tbl"));
  folder.push_back(Parse("field A C 2 | Head A | About A\nfield B N 7 2\n", "ALPHA.tbl"));
  folder.push_back(Parse("field C D | C\n", "beta.tbl"));
  ASSERT_TRUE(GenerateDictionaries(&folder).ok());
  const TableSource& dd = folder[1];
  std::vector<std::string> listed;
  for (const Row& r : dd.rows) {
    listed.push_back(std::string(CellOf(r, 0)) + "." + std::string(CellOf(r, 1)) + " " +
                     std::string(CellOf(r, 2)) + std::string(CellOf(r, 3)) + "," +
                     std::string(CellOf(r, 4)) + " " + std::string(CellOf(r, 5)) + "/" +
                     std::string(CellOf(r, 6)));
  }
  std::vector<std::string> expected = {
      // lower-case datadict is described like any table: its own fields
      "datadict.FILENM C8,0 /",
      "datadict.FIELD_NAME C10,0 /",
      "datadict.FIELD_TYPE C1,0 /",
      "datadict.FIELD_LEN N3,0 /",
      "datadict.FIELD_DEC N3,0 /",
      "datadict.FIELD_HEAD C10,0 /",
      "datadict.FIELD_DESC C30,0 /",
      "alpha.A C2,0 Head A/About A",
      "alpha.B N7,2 /",
      "beta.C D8,0 C/",
      "beta.C D8,0 C/"};
  EXPECT_EQ(listed, expected);
}

TEST(FieldDictionary, RefusesWhatItCannotWrite) {
  std::vector<TableSource> no_filedict;
  no_filedict.push_back(Parse("field FILENM C 8\nrows generated datadict\n", "datadict.tbl"));
  EXPECT_FALSE(GenerateDictionaries(&no_filedict).ok());

  std::vector<TableSource> narrow;
  narrow.push_back(Parse("field FDFILE C 8\nfield FDBACKUP C 1\nrows |\nt|M\n", "filedict.tbl"));
  narrow.push_back(Parse(
      "field FILENM C 8\nfield FIELD_NAME C 10\nfield FIELD_TYPE C 1\nfield FIELD_LEN N 3\n"
      "field FIELD_DEC N 3\nfield FIELD_HEAD C 3\nfield FIELD_DESC C 30\nrows generated datadict\n",
      "datadict.tbl"));
  narrow.push_back(Parse("field A C 2 | A heading too wide\n", "t.tbl"));
  Status s = GenerateDictionaries(&narrow);
  EXPECT_FALSE(s.ok());
  EXPECT_NE(s.message().find("t.tbl"), std::string::npos) << s.ToString();
}

}  // namespace
}  // namespace qv::media
