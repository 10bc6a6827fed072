#include "tables/usit_plan.h"

#include <gtest/gtest.h>

namespace qv::tables {
namespace {

using rt::Value;

struct PlanCase {
  const char* what;
  const char* name;
  Value place;
  std::vector<Value> further;
  const char* file;
  const char* resource;
  bool lock_scheme;
  UsitFlag flag;
  std::vector<std::string> bags;
};

TEST(UsitPlanTest, PlacesFlagsAndIndexLists) {
  const std::vector<PlanCase> cases = {
      {"company folder, two bags, E",
       "inven",
       Value("1.co\\"),
       {Value("inven"), Value("invendt"), Value("E")},
       "1.co\\INVEN",
       "INVEN",
       true,
       UsitFlag::kExclusive,
       {"1.co\\inven", "1.co\\invendt"}},
      {"folder with a suffix after the backslash",
       "cr",
       Value("1.co\\3"),
       {Value("cr")},
       "1.co\\CR3",
       "CR3",
       true,
       UsitFlag::kNone,
       {"1.co\\cr3"}},
      {"a workstation suffix takes no lock scheme",
       "tftemm",
       Value("2"),
       {Value("E")},
       "TFTEMM2",
       "TFTEMM2",
       false,
       UsitFlag::kExclusive,
       {}},
      {"a number as place counts as its digits",
       "tftemm",
       Value(rt::Number{2, 10, 0}),
       {},
       "TFTEMM2",
       "TFTEMM2",
       false,
       UsitFlag::kNone,
       {}},
      {"empty place: data folder",
       "filedict",
       Value(""),
       {Value("U")},
       "FILEDICT",
       "FILEDICT",
       true,
       UsitFlag::kClose,
       {}},
      {"U in the second slot after a NIL",
       "report",
       Value("1.co\\"),
       {Value(), Value("U")},
       "1.co\\REPORT",
       "REPORT",
       true,
       UsitFlag::kClose,
       {}},
      {"U anywhere wins over an earlier L",
       "x",
       Value(""),
       {Value("a"), Value("L"), Value("b"), Value("c"), Value("d"), Value("u")},
       "X",
       "X",
       true,
       UsitFlag::kClose,
       {"a"}},
      {"the first L wins over an earlier E",
       "x",
       Value(""),
       {Value("E"), Value("L")},
       "X",
       "X",
       true,
       UsitFlag::kFileLock,
       {}},
      {"a bag named like a flag is the flag",
       "x",
       Value(""),
       {Value("bag1"), Value("l")},
       "X",
       "X",
       true,
       UsitFlag::kFileLock,
       {"bag1"}},
      {"a lowered letter inside a name is no flag",
       "x",
       Value(""),
       {Value("el")},
       "X",
       "X",
       true,
       UsitFlag::kNone,
       {"el"}},
      {"at most five bags; a seventh slot is ignored",
       "x",
       Value(""),
       {Value("a"), Value("b"), Value("c"), Value("d"), Value("e1"), Value("f"), Value("E")},
       "X",
       "X",
       true,
       UsitFlag::kNone,
       {"a", "b", "c", "d", "e1"}},
      {"a non-text argument ends the list",
       "x",
       Value(""),
       {Value("a"), Value(true), Value("b")},
       "X",
       "X",
       true,
       UsitFlag::kNone,
       {"a"}},
  };
  for (const PlanCase& c : cases) {
    const UsitPlan plan = PlanUsit(c.name, c.place, c.further);
    EXPECT_EQ(plan.File(), c.file) << c.what;
    EXPECT_EQ(plan.ResourceName(), c.resource) << c.what;
    EXPECT_EQ(plan.lock_scheme, c.lock_scheme) << c.what;
    EXPECT_EQ(plan.flag, c.flag) << c.what;
    EXPECT_EQ(plan.bags, c.bags) << c.what;
  }
}

TEST(UsitPlanTest, FlagTextHasSixSlots) {
  const UsitPlan plan =
      PlanUsit("x", Value(""), std::vector<Value>{Value("inven"), Value(1), Value("e")});
  EXPECT_EQ(plan.flag_text, "|1|INVEN|2||3|E|4||5||6||");
}

}  // namespace
}  // namespace qv::tables
