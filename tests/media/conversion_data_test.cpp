// The older generation's sample data exercises every rule of the
// conversion at least once: each cell of the type matrix (with its edge
// values), renamed and dropped fields, deleted records, seed tables,
// check-journal names and codes, account codes, consignment keys of every
// form, the INCOME line, the "maximum" terms, print files and memos.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cell_value.h"
#include "media_sources.h"
#include "source_text.h"

namespace qv::media {
namespace {

using testing::MediaSources;

const char* kCompanies[] = {"ZENTHOR/1.co", "ZENTHOR/2.co"};

// The cells of field name in the live rows of table ("" cells included).
std::vector<std::string> Live(const TableSource& t, const std::string& name) {
  std::vector<std::string> out;
  int i = t.FieldIndex(name);
  if (i < 0) return out;
  for (const Row& r : t.rows) {
    if (!r.deleted && !r.cells.empty()) out.push_back(std::string(CellOf(r, i)));
  }
  return out;
}

bool Any(const std::vector<std::string>& cells, bool (*pred)(const std::string&)) {
  return std::any_of(cells.begin(), cells.end(), pred);
}

// The new table an old table converts into: the namesake among the
// templates, the check-journal template for every ckj table.
const TableSource* TargetOf(const MediaSources& cd, const TableSource& old) {
  std::string base = old.BaseName();
  for (char& c : base) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (base.rfind("ckj", 0) == 0) return cd.Table("QUORVA~1", "ckj");
  return cd.Table("QUORVA~1", base);
}

char Group(char type) { return type == 'M' ? 'C' : type; }

TEST(ConversionData, EveryCellOfTheTypeMatrixIsExercised) {
  MediaSources cd("cd");
  MediaSources old("old");
  // covered["CN"]: a target C or M field filled from a non-empty N source.
  std::set<std::string> covered;
  std::set<std::string> edges;
  for (const SourceFolder& folder : old.folders()) {
    for (const TableSource& src : folder.tables) {
      const TableSource* dst = TargetOf(cd, src);
      ASSERT_NE(dst, nullptr) << src.source << " has no table of the current generation";
      for (const FieldDef& f : dst->fields) {
        int si = src.FieldIndex(f.name);
        if (si < 0) continue;
        const FieldDef& s = src.fields[si];
        std::vector<std::string> cells = Live(src, f.name);
        bool filled = Any(cells, [](const std::string& c) { return !TrimSpace(c).empty(); });
        if (!filled) continue;
        covered.insert(std::string{Group(f.type), Group(s.type)});
        if (f.type != s.type && (f.type == 'M' || s.type == 'M')) covered.insert({f.type, s.type});
        bool blank = Any(cells, [](const std::string& c) { return c.empty(); });
        if (f.type == 'C' && s.type == 'N' && s.decimals > 0)
          edges.insert("number with decimals to text");
        if (f.type == 'C' && s.type == 'D' && blank) edges.insert("empty date to text");
        if (f.type == 'N' && s.type == 'D' && blank) edges.insert("empty date to number");
        if (f.type == 'N' && s.type == 'C') {
          if (Any(cells, [](const std::string& c) { return !c.empty() && c[0] == ' '; }))
            edges.insert("text with leading blanks to number");
          if (Any(cells, [](const std::string& c) { return !c.empty() && c[0] == '-'; }))
            edges.insert("signed text to number");
          if (Any(cells, [](const std::string& c) {
                std::string_view t = TrimSpace(c);
                return !t.empty() && !std::isdigit(static_cast<unsigned char>(t[0])) && t[0] != '-';
              })) {
            edges.insert("text without digits to number");
          }
        }
        if (f.type == 'L' && s.type == 'C' &&
            Any(cells, [](const std::string& c) { return c == "y"; }))
          edges.insert("lower-case y to logical");
        if (f.type == 'D' && s.type == 'C') {
          if (Any(cells,
                  [](const std::string& c) { return c.size() == 8 && c.substr(0, 2) > "12"; }))
            edges.insert("invalid date text");
          if (Any(cells, [](const std::string& c) { return c.size() == 8 && c.substr(6) == "85"; }))
            edges.insert("two-digit year 85");
        }
        if (f.type == 'C' && s.type == 'N' &&
            Any(cells, [](const std::string& c) { return c == "7"; }))
          edges.insert("7 to text");
      }
    }
  }
  for (const char* cell : {"CC", "CN", "CL", "CD", "NC", "NN", "NL", "ND", "LC", "LN", "LL", "LD",
                           "DC", "DN", "DL", "DD", "CM", "MC"}) {
    EXPECT_TRUE(covered.count(cell)) << "target " << cell[0] << " from source " << cell[1];
  }
  for (const char* edge :
       {"number with decimals to text", "empty date to text", "empty date to number",
        "text with leading blanks to number", "signed text to number",
        "text without digits to number", "lower-case y to logical", "invalid date text",
        "two-digit year 85", "7 to text"}) {
    EXPECT_TRUE(edges.count(edge)) << edge;
  }
}

TEST(ConversionData, GenerationsDifferByFieldsAndOldTablesHoldDeletedRecords) {
  MediaSources cd("cd");
  MediaSources old("old");
  bool added = false, dropped = false;
  int deleted_tables = 0;
  for (const SourceFolder& folder : old.folders()) {
    for (const TableSource& src : folder.tables) {
      const TableSource* dst = TargetOf(cd, src);
      ASSERT_NE(dst, nullptr);
      for (const FieldDef& f : dst->fields) added = added || src.FieldIndex(f.name) < 0;
      for (const FieldDef& f : src.fields) dropped = dropped || dst->FieldIndex(f.name) < 0;
      if (std::any_of(src.rows.begin(), src.rows.end(), [](const Row& r) { return r.deleted; })) {
        ++deleted_tables;
      }
    }
  }
  EXPECT_TRUE(added && dropped);
  EXPECT_GE(deleted_tables, 3);
  const TableSource* terms = old.Table("ZENTHOR", "terms");
  ASSERT_NE(terms, nullptr);
  EXPECT_TRUE(
      std::any_of(terms->rows.begin(), terms->rows.end(), [](const Row& r) { return r.deleted; }));
}

TEST(ConversionData, EachOldCompanyHasEveryTableOfANewCompany) {
  MediaSources cd("cd");
  MediaSources old("old");
  // A new company holds the company table, the company tables of the file
  // dictionary and ckj1.
  const TableSource* fd = cd.Table("QUORVA~1", "filedict");
  ASSERT_NE(fd, nullptr);
  std::set<std::string> company_tables = {"company"};
  for (const Row& r : fd->rows) {
    if (CellOf(r, fd->FieldIndex("FDCODEP")) == "Y") {
      company_tables.insert(std::string(TrimSpace(CellOf(r, fd->FieldIndex("FDFILE")))));
    }
  }
  for (const char* co : kCompanies) {
    for (const std::string& t : company_tables)
      EXPECT_NE(old.Table(co, t), nullptr) << co << " " << t;
    bool ckj1 = old.Table(co, "ckj1") != nullptr || old.Table(co, "ckj_1") != nullptr;
    EXPECT_TRUE(ckj1) << co;
  }
  // The three seeded tables, CREDCRD in upper case as the seed test wants.
  for (const char* co : kCompanies) {
    EXPECT_NE(old.Table(co, "glm"), nullptr);
    EXPECT_NE(old.Table(co, "types"), nullptr);
    ASSERT_NE(old.Table(co, "CREDCRD"), nullptr);
    EXPECT_EQ(old.Table(co, "CREDCRD")->file_name, "CREDCRD.DBF");
  }
  EXPECT_EQ(cd.Table("QUORVA~1", "CREDCRD")->file_name, "CREDCRD.DBF");
}

TEST(ConversionData, CheckJournalsWithAndWithoutUnderscores) {
  MediaSources old("old");
  int underscored = 0, plain = 0;
  std::set<char> types;
  for (const char* co : kCompanies) {
    for (const TableSource& t : old.Folder(co)->tables) {
      std::string base = t.BaseName();
      if (base.rfind("ckj", 0) != 0) continue;
      (base.find('_') != std::string::npos ? underscored : plain)++;
      for (const std::string& c : Live(t, "TYPE")) {
        if (!c.empty()) types.insert(c[0]);
      }
    }
  }
  EXPECT_GE(underscored, 2);
  EXPECT_GE(plain, 1);
  for (char c : {'C', 'D', 'A'}) EXPECT_TRUE(types.count(c)) << c;
  EXPECT_TRUE(types.count('c')) << "a lower-case code stays as it is";
  EXPECT_TRUE(types.count('X')) << "an unknown code stays as it is";
}

TEST(ConversionData, AccountCodesOfEveryKind) {
  MediaSources old("old");
  std::set<char> types, cats;
  for (const char* co : kCompanies) {
    for (const std::string& c : Live(*old.Table(co, "glm"), "MSTYPE"))
      types.insert(c.empty() ? ' ' : c[0]);
    for (const std::string& c : Live(*old.Table(co, "glm"), "MSCAT"))
      cats.insert(c.empty() ? ' ' : c[0]);
  }
  for (char c : {'A', 'H', 'T', 'a', 'X'}) EXPECT_TRUE(types.count(c)) << "MSTYPE " << c;
  for (char c : {'A', 'L', 'E', 'Q', 'R', 'x'}) EXPECT_TRUE(cats.count(c)) << "MSCAT " << c;
}

TEST(ConversionData, ConsignmentKeysOfEveryForm) {
  MediaSources old("old");
  std::set<std::string> forms;
  for (const char* co : kCompanies) {
    const TableSource* inv = old.Table(co, "inv");
    const TableSource* inven = old.Table(co, "inven");
    ASSERT_TRUE(inv && inven);
    std::vector<std::string> keys = Live(*inv, "IN_KEYD");
    std::vector<std::string> consign = Live(*inv, "IN_CONSIGN");
    std::vector<std::string> moves = Live(*inven, "INVEN_KEYD");
    for (size_t i = 0; i < keys.size(); ++i) {
      const std::string& k = keys[i];
      if (k.empty()) continue;
      if (consign[i] != "Y") {
        if (k[0] == '9' || k[0] == '(') forms.insert("not consigned, prefix-like key");
        continue;
      }
      size_t refs = static_cast<size_t>(std::count(moves.begin(), moves.end(), k));
      if (k[0] == '.') forms.insert("already converted");
      auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
      if (k[0] == '9' && k.size() >= 7 && std::all_of(k.begin() + 1, k.begin() + 7, digit)) {
        forms.insert("9 and digits");
      }
      if (k[0] == '9' && k.size() > 1 && !digit(k[1])) forms.insert("9 without a number");
      if (k[0] == '(' && k.find(')') != std::string::npos) forms.insert("code in parentheses");
      if (k[0] == '(' && k.find(')') == std::string::npos) forms.insert("no closing parenthesis");
      if (k[0] != '.' && k[0] != '9' && k[0] != '(') forms.insert("other first character");
      if (k[0] != '.' && refs >= 2) forms.insert("several movements of a rewritten item");
    }
  }
  for (const char* f :
       {"already converted", "9 and digits", "9 without a number", "code in parentheses",
        "no closing parenthesis", "other first character", "not consigned, prefix-like key",
        "several movements of a rewritten item"}) {
    EXPECT_TRUE(forms.count(f)) << f;
  }
}

TEST(ConversionData, IncomeLinesTermsPrintFilesAndMemos) {
  MediaSources cd("cd");
  MediaSources old("old");
  // One company has an INCOME line with an account, one has none; the
  // template has the "Total:" lines the conversion appends.
  std::vector<bool> income;
  for (const char* co : kCompanies) {
    std::vector<std::string> names = Live(*old.Table(co, "glform"), "GLNAME");
    income.push_back(Any(names, [](const std::string& n) { return n.rfind("INCOME", 0) == 0; }));
  }
  EXPECT_TRUE(income[0]);
  EXPECT_FALSE(income[1]);
  EXPECT_TRUE(Any(Live(*cd.Table("QUORVA~1", "glform"), "GLDESC"),
                  [](const std::string& d) { return d.find("Total:") != std::string::npos; }));
  // Two "maximum" terms in different case: each company pass drops one.
  int maximum = 0, not_upper = 0;
  for (const std::string& t : Live(*old.Table("ZENTHOR", "terms"), "TERMS")) {
    std::string up = t;
    for (char& c : up) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (up.find("MAXIMUM") == std::string::npos) continue;
    ++maximum;
    not_upper += t.find("MAXIMUM") == std::string::npos;
  }
  EXPECT_GE(maximum, 2);
  EXPECT_GE(not_upper, 1);
  // Print files in both companies, one name in both (the last one wins).
  std::vector<std::set<std::string>> prn;
  for (const char* co : kCompanies) {
    std::set<std::string> names;
    for (const std::string& f : old.Folder(co)->others) {
      if (f.find(".prn") != std::string::npos) names.insert(f);
    }
    EXPECT_FALSE(names.empty()) << co;
    prn.push_back(names);
  }
  std::vector<std::string> common;
  std::set_intersection(prn[0].begin(), prn[0].end(), prn[1].begin(), prn[1].end(),
                        std::back_inserter(common));
  EXPECT_FALSE(common.empty());
  // Memo texts in the old data.
  int memos = 0;
  for (const SourceFolder& f : old.folders()) {
    for (const TableSource& t : f.tables) {
      for (const FieldDef& fd : t.fields) {
        if (fd.type == 'M' &&
            Any(Live(t, fd.name), [](const std::string& c) { return !c.empty(); }))
          ++memos;
      }
    }
  }
  EXPECT_GE(memos, 2);
}

TEST(ConversionData, DerivedAndFixedFieldsExistInBothGenerations) {
  MediaSources cd("cd");
  MediaSources old("old");
  struct Derived {
    const char* table;
    const char* target;
    std::vector<const char*> sources;
  };
  const Derived derived[] = {{"sm", "SMBOTH", {"SMFIRSTNM", "SMLASTNM"}},
                             {"glm", "MSBOTH", {"MSACCT", "MSDESC"}},
                             {"costctr", "CC_BOTH", {"CC_CODE", "CC_DESC"}},
                             {"types", "TYPEBOTH", {"TYPE", "DESC"}},
                             {"inv", "IN_SHORT", {"IN_DESC"}},
                             {"company", "MSSTATY", {}},
                             {"company", "MSINVOY", {}},
                             {"inv", "IN_CONSIGN", {"IN_CONSIGN"}},
                             {"inven", "INVEN_KEYD", {"INVEN_KEYD"}},
                             {"glform", "GLACCT", {"GLNAME", "GLACCT"}}};
  for (const Derived& d : derived) {
    EXPECT_GE(cd.Table("QUORVA~1", d.table)->FieldIndex(d.target), 0) << d.table << "." << d.target;
    for (const char* co : kCompanies) {
      for (const char* s : d.sources)
        EXPECT_GE(old.Table(co, d.table)->FieldIndex(s), 0) << co << " " << s;
    }
  }
  for (const char* t : {"prj", "report"}) EXPECT_NE(cd.Table("QUORVA~1", t), nullptr);
}

}  // namespace
}  // namespace qv::media
