// Fields through TableAccess: fields before variables, aliases, assignment,
// record functions, and field positions kept while the layout stays the same.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "xbase_testing.h"

namespace qv::xb {
namespace {

using rt::Value;

class TableAccessTest : public ::testing::Test {
 protected:
  TableAccessTest() {
    testing::ApplyReferenceSettings(session_);
    tables_.Open(2, {"FD_1",
                     {"FDFILE", "FDBACKUP", "FDINDEX"},
                     {{Value("GLM     "), Value("M"), Value("GLM1    ")},
                      {Value("GLM     "), Value("I"), Value("        ")}}});
    tables_.Open(1, {"CUST", {"NAME", "AMOUNT"}, {{Value("Smith"), Value::Num(12.5, 10, 2)}}});
  }
  std::string Show(const std::string& text) { return testing::Show(host_, text); }

  rt::Session session_;
  testing::FakeTables tables_;
  Host host_{session_, &tables_};
};

TEST_F(TableAccessTest, FieldsComeBeforeVariables) {
  session_.Assign("NAME", Value("variable"));
  session_.Assign("ONLYVAR", Value("v"));
  EXPECT_EQ(Show("UPPER(name)"), "C\tSMITH");
  EXPECT_EQ(Show("M->NAME"), "C\tvariable");
  EXPECT_EQ(Show("MEMVAR->NAME"), "C\tvariable");
  EXPECT_EQ(Show("FIELD->NAME"), "C\tSmith");
  EXPECT_EQ(Show("ONLYVAR"), "C\tv");
  EXPECT_EQ(Show("STR(AMOUNT, 8, 2)"), "C\t   12.50");
  EXPECT_NE(Show("FIELD->ONLYVAR").find("Variable does not exist"), std::string::npos);
}

TEST_F(TableAccessTest, AliasedFieldsAndExpressions) {
  EXPECT_EQ(Show("fd_1->FDBACKUP"), "C\tM");
  EXPECT_EQ(Show("FD_1->(RECNO()) + CUST->(RECCOUNT())"), "N\t2");
  EXPECT_EQ(Show("FD_1->(FDBACKUP$'MIYH' .and. .not. empty(FDINDEX))"), "L\t.T.");
  EXPECT_EQ(tables_.CurrentArea(), 1);  // selected again afterwards
  EXPECT_NE(Show("NOPE->NAME").find("Alias does not exist: NOPE"), std::string::npos);
  EXPECT_NE(Show("NOPE->(1)").find("Alias does not exist"), std::string::npos);
  EXPECT_NE(Show("FD_1->(1 / 0)").find("Zero divisor"), std::string::npos);
  EXPECT_EQ(tables_.CurrentArea(), 1);  // also after a failure inside
}

TEST_F(TableAccessTest, AssignmentGoesToTheFieldWhenThereIsOne) {
  EXPECT_EQ(Show("NAME := \"Jones\""), "C\tJones");
  EXPECT_EQ(tables_.table(1).rows[0][0].str(), "Jones");
  EXPECT_EQ(session_.Find("NAME"), nullptr);
  EXPECT_EQ(Show("FD_1->FDBACKUP := \"Y\", FD_1->FDBACKUP"), "C\tY");
  EXPECT_EQ(Show("M->NAME := 1, M->NAME + 1"), "N\t2");
  EXPECT_EQ(Show("UPPER(NAME)"), "C\tJONES");
  // The engine refuses: a run-time error naming the field's fault.
  EXPECT_NE(Show("NAME := 5").find("Field assignment failed: type mismatch"), std::string::npos);
}

TEST_F(TableAccessTest, RecordAndAreaFunctions) {
  EXPECT_EQ(Show("RECNO()"), "N\t1");
  EXPECT_EQ(Show("EOF()"), "L\t.F.");
  EXPECT_EQ(Show("FCOUNT()"), "N\t2");
  EXPECT_EQ(Show("FIELD(2) + \"|\" + FIELDNAME(3) + \"|\""), "C\tAMOUNT||");
  EXPECT_EQ(Show("ALIAS()"), "C\tCUST");
  EXPECT_EQ(Show("ALIAS(2)"), "C\tFD_1");
  EXPECT_EQ(Show("ALIAS(7)"), "C\t");
  EXPECT_EQ(Show("SELECT()"), "N\t1");
  EXPECT_EQ(Show("SELECT(\"fd_1\")"), "N\t2");
  EXPECT_EQ(Show("SELECT(\"NONE\")"), "N\t0");
  EXPECT_EQ(Show("USED()"), "L\t.T.");
  EXPECT_EQ(Show("DBF()"), "C\tcust.dbf");
  tables_.table(1).recno = 2;
  EXPECT_EQ(Show("EOF()"), "L\t.T.");
  EXPECT_EQ(Show("LASTREC()"), "N\t1");

  Host bare{session_};  // no tables at all
  EXPECT_EQ(testing::Show(bare, "EOF() .AND. BOF() .AND. !FOUND() .AND. !USED()"), "L\t.T.");
  EXPECT_EQ(testing::Show(bare, "RECNO() + RECCOUNT() + FCOUNT() + SELECT()"), "N\t0");
}

TEST_F(TableAccessTest, FieldPositionsAreKeptUntilTheLayoutChanges) {
  Result<Expr> key = Expr::Compile("UPPER(NAME)");
  ASSERT_TRUE(key.ok());
  int before = tables_.lookups();
  for (int i = 0; i < 100; ++i) ASSERT_EQ(key->Eval(host_).str(), "SMITH");
  EXPECT_EQ(tables_.lookups() - before, 1);

  // Another table under the same area: the name is looked up again.
  tables_.Open(1, {"OTHER", {"CODE", "NAME"}, {{Value("c"), Value("Brown")}}});
  EXPECT_EQ(key->Eval(host_).str(), "BROWN");
  // A table without the field: NAME is now the variable.
  tables_.Open(1, {"THIRD", {"CODE"}, {{Value("c")}}});
  session_.Assign("NAME", Value("memvar"));
  EXPECT_EQ(key->Eval(host_).str(), "MEMVAR");
}

TEST(TableAccessIdentityTest, AFreshObjectAtTheSameAddressIsLookedUpAgain) {
  rt::Session session;
  session.Assign("NAME", Value("memvar"));
  Result<Expr> key = Expr::Compile("NAME");
  ASSERT_TRUE(key.ok());
  std::optional<testing::FakeTables> tables;
  tables.emplace();
  tables->Open(1, {"A", {"CODE", "NAME"}, {{Value("c"), Value("field")}}});
  Host first{session, &*tables};
  EXPECT_EQ(key->Eval(first).str(), "field");

  // Same address, same stamps, but a layout without the field.
  tables.reset();
  tables.emplace();
  tables->Open(1, {"B", {"CODE"}, {{Value("c")}}});
  Host second{session, &*tables};
  EXPECT_EQ(key->Eval(second).str(), "memvar");
}

}  // namespace
}  // namespace qv::xb
