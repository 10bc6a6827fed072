// A tag created in the bag named after its table makes that bag the
// structural one: the header is marked, so every later open (ours or another
// runtime's) opens the bag with the table and keeps its tags current.
#include <gtest/gtest.h>

#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

class StructuralBagTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_ = fs::NewHostEnv();
    path_ = dir_.path() + "/glm.dbf";
    ASSERT_TRUE(Table::Create(*env_, path_, {{"CODE", 'C', 6, 0}}, false, testutil::kToday).ok());
  }

  // Opens the table in a fresh workspace, appends code, builds tag CODE in
  // bag (a file name beside the table) and closes again.
  void CreateTag(bool exclusive, const std::string& bag, const std::string& code) {
    Workspace ws(*env_);
    ASSERT_TRUE(ws.Use({path_, "", false, !exclusive, false}).ok());
    WorkArea& area = *ws.Area();
    if (!exclusive) {
      ASSERT_TRUE(*area.FLock());
    }
    ASSERT_TRUE(*area.Append());
    ASSERT_TRUE(area.Put("CODE", rt::Value(code)).ok());
    ASSERT_TRUE(OrderCreate(area, dir_.path() + "/" + bag, {"CODE", "CODE", "", false, false}, {})
                    .ok());
    ASSERT_TRUE(ws.CloseAll().ok());
  }

  // Opens the table shared and reports whether its structural bag came
  // with it, holding tag CODE.
  bool OpensWithBag() {
    const BagOpener opener = CdxBagOpener();
    TableOpenOptions options = testutil::Shared();
    options.bag_opener = &opener;
    auto table = testutil::MustOpen(*env_, path_, options);
    OrderBag* bag = table ? table->structural_bag() : nullptr;
    return table && table->header().HasStructuralBag() && bag != nullptr &&
           bag->OrderCount() == 1 && bag->OrderAt(0)->Name() == "CODE";
  }

  std::unique_ptr<fs::Env> env_;
  qv::testing::TempDir dir_;
  std::string path_;
};

TEST_F(StructuralBagTest, ExclusiveCreateMarksTheHeader) {
  CreateTag(true, "glm.cdx", "B");
  EXPECT_TRUE(OpensWithBag());

  // Maintained from now on: a record appended later is in the tag.
  Workspace ws(*env_);
  ASSERT_TRUE(ws.Use({path_, "", false, false, false}).ok());
  WorkArea& area = *ws.Area();
  ASSERT_TRUE(SetFocus(area, "CODE").ok());
  ASSERT_TRUE(*area.Append());
  ASSERT_TRUE(area.Put("CODE", rt::Value("A")).ok());
  ASSERT_TRUE(area.Seek(rt::Value("A"), false).ok());
  EXPECT_TRUE(area.Found());
  EXPECT_EQ(area.RecNo(), 2u);
  ASSERT_TRUE(ws.CloseAll().ok());

  const BagOpener opener = CdxBagOpener();
  std::vector<std::string> faults;
  ASSERT_TRUE(CheckTable(*env_, path_, &opener, &faults).ok());
  EXPECT_TRUE(faults.empty()) << faults.front();
}

TEST_F(StructuralBagTest, OtherBagsAndSharedUseLeaveTheHeaderAlone) {
  CreateTag(true, "other.cdx", "B");
  EXPECT_FALSE(OpensWithBag());
  // In shared use the mark would move the lock layout under other openers.
  CreateTag(false, "glm.cdx", "C");
  EXPECT_FALSE(OpensWithBag());
  // The next exclusive create adopts the existing bag.
  CreateTag(true, "glm.cdx", "D");
  EXPECT_TRUE(OpensWithBag());
}

}  // namespace
}  // namespace qv::rdd
