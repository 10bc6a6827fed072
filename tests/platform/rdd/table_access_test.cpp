// The expression evaluator reads the work areas through the engine: fields
// of the selected area and by alias, record state, and filters and locate
// conditions given as expression text.
#include "platform/rdd/table_access.h"

#include <gtest/gtest.h>

#include "platform/xbase/expr.h"
#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

class TableAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testutil::MakeTable(*env_, "/cust.dbf", 6, 3);
    UseArgs args;
    args.file = "/cust.dbf";
    args.new_area = true;
    ASSERT_TRUE(ws_.Use(args).ok());
  }
  rt::Value Eval(const std::string& text) {
    auto expr = xb::Expr::Compile(text);
    EXPECT_TRUE(expr.ok()) << text;
    return expr->Eval(host_);
  }
  // A predicate from expression text, as the program's filter routines build it.
  Predicate Condition(const std::string& text) {
    auto expr = xb::Expr::Compile(text);
    EXPECT_TRUE(expr.ok()) << text;
    return [this, e = *expr] { return e.Eval(host_).logical(); };
  }

  std::unique_ptr<fs::Env> env_ = fs::NewMemEnv();
  Workspace ws_{*env_};
  WorkspaceTableAccess access_{ws_};
  rt::Session session_;
  xb::Host host_{session_, &access_};
};

TEST_F(TableAccessTest, ExpressionsSeeFieldsAndRecordState) {
  EXPECT_EQ(Eval("CODE").str(), "C00001");
  EXPECT_EQ(Eval("cust->AMOUNT + 1").num(), 2);
  EXPECT_EQ(Eval("RECNO()").num(), 1);
  EXPECT_EQ(Eval("RECCOUNT()").num(), 6);
  EXPECT_EQ(Eval("ALIAS()").str(), "CUST");
  EXPECT_EQ(Eval("NOTES").str(), "memo 1");
  ASSERT_TRUE(ws_.Area()->GoTo(3).ok());
  EXPECT_TRUE(Eval("DELETED()").logical());
}

TEST_F(TableAccessTest, FilterAndLocateFromText) {
  ws_.settings().deleted = true;
  WorkArea& area = *ws_.Area();
  area.SetFilter("AMOUNT >= 2", Condition("AMOUNT >= 2"));
  EXPECT_EQ(area.FilterText(), "AMOUNT >= 2");
  std::vector<uint32_t> seen;
  ASSERT_TRUE(area.GoTop().ok());
  while (!area.Eof()) {
    seen.push_back(area.RecNo());
    ASSERT_TRUE(area.Skip(1).ok());
  }
  EXPECT_EQ(seen, (std::vector<uint32_t>{2, 4, 5}));
  ASSERT_TRUE(area.Locate(Condition("'00005' $ CODE")).ok());
  EXPECT_TRUE(area.Found());
  EXPECT_EQ(area.RecNo(), 5u);
  EXPECT_TRUE(Eval("FOUND()").logical());
}

}  // namespace
}  // namespace qv::rdd
