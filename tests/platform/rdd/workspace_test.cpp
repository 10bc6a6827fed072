// Work areas: aliases, lowest free area, selection, default path, resolver,
// read-only use, and how refused opens leave the area.
#include <gtest/gtest.h>

#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

class WorkspaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_ = fs::NewHostEnv();
    testutil::MakeTable(*env_, dir_.Sub("cust.dbf"), 3);
    testutil::MakeTable(*env_, dir_.Sub("menu.dbf"), 2);
  }
  UseArgs Args(const std::string& file, bool new_area = true) {
    UseArgs a;
    a.file = file;
    a.new_area = new_area;
    return a;
  }

  qv::testing::TempDir dir_;
  std::unique_ptr<fs::Env> env_;
};

TEST_F(WorkspaceTest, AliasesAreasAndSelection) {
  Workspace ws(*env_);
  ws.SetDefaultPath(dir_.path());
  EXPECT_FALSE(ws.Used());
  EXPECT_EQ(ws.Alias(), "");
  ASSERT_TRUE(ws.Use(Args("cust")).ok());  // bare name: default path, ".dbf" added
  EXPECT_EQ(ws.current(), 1);
  EXPECT_EQ(ws.Alias(), "CUST");
  UseArgs menu = Args(dir_.Sub("menu.dbf"));
  menu.alias = "m";
  ASSERT_TRUE(ws.Use(menu).ok());
  EXPECT_EQ(ws.current(), 2);
  EXPECT_EQ(ws.Alias(2), "M");
  EXPECT_EQ(ws.AreaOf("cust"), 1);
  EXPECT_EQ(ws.AreaOf("NOTOPEN"), 0);
  ASSERT_TRUE(ws.SelectArea(1).ok());
  ASSERT_TRUE(ws.CloseArea().ok());
  EXPECT_EQ(ws.Alias(1), "");
  EXPECT_EQ(ws.LowestFree(), 1);
  ASSERT_TRUE(ws.SelectArea(0).ok());  // "0": the next free area
  EXPECT_EQ(ws.current(), 1);
  ASSERT_TRUE(ws.SelectArea(7).ok());
  EXPECT_FALSE(ws.Used());
  // An alias already in use is refused; the area stays empty.
  UseArgs again = Args("cust", false);
  again.alias = "M";
  EXPECT_TRUE(ws.Use(again).IsInvalidArgument());
  EXPECT_FALSE(ws.Used());
  ASSERT_TRUE(ws.CloseAll().ok());
  EXPECT_EQ(ws.AreaOf("M"), 0);
}

TEST_F(WorkspaceTest, RefusedOpensLeaveTheAreaEmpty) {
  Workspace first(*env_);
  Workspace second(*env_);
  UseArgs exclusive = Args(dir_.Sub("cust.dbf"));
  exclusive.shared = false;
  ASSERT_TRUE(first.Use(exclusive).ok());
  // A sharing violation: LockBusy, area empty (the caller reports nothing).
  Status busy = second.Use(Args(dir_.Sub("cust.dbf")));
  EXPECT_TRUE(busy.IsLockBusy()) << busy.ToString();
  EXPECT_FALSE(second.Used());
  // A missing table is another kind of failure, for the error handler.
  EXPECT_TRUE(second.Use(Args(dir_.Sub("nothere.dbf"))).IsNotFound());
  ASSERT_TRUE(first.CloseAll().ok());
  EXPECT_TRUE(second.Use(Args(dir_.Sub("cust.dbf"))).ok());
  // ... and now an exclusive open is the one refused.
  EXPECT_TRUE(first.Use(exclusive).IsLockBusy());
}

TEST_F(WorkspaceTest, ResolverMapsProgramNamesToHostPaths) {
  Workspace ws(*env_);
  std::vector<std::string> asked;
  ws.SetResolver([&](std::string_view name) -> Result<std::string> {
    asked.emplace_back(name);
    return dir_.Sub("cust.dbf");
  });
  ws.SetDefaultPath("c:\\QUORVA~1\\1.co");
  ASSERT_TRUE(ws.Use(Args("GLM")).ok());
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "c:\\QUORVA~1\\1.co\\GLM.dbf");
  EXPECT_EQ(ws.Alias(), "GLM");
  EXPECT_EQ(*ws.Resolve("d:\\x\\T.DBF"), dir_.Sub("cust.dbf"));
  EXPECT_EQ(asked.back(), "d:\\x\\T.DBF");
}

TEST_F(WorkspaceTest, ReadOnlyUseRefusesWrites) {
  Workspace ws(*env_);
  UseArgs ro = Args(dir_.Sub("cust.dbf"));
  ro.read_only = true;
  ro.shared = false;
  ASSERT_TRUE(ws.Use(ro).ok());
  WorkArea* area = ws.Area();
  EXPECT_EQ(area->Get("CODE")->str(), "C00001");
  EXPECT_FALSE(area->Put("CODE", rt::Value("X")).ok());
  EXPECT_FALSE(area->Append().ok());
}

}  // namespace
}  // namespace qv::rdd
