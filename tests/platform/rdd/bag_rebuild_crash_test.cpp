// Rebuilding a damaged structural bag under crashes: the Env fails the Nth
// write or sync and then drops every unsynced write. Whatever N, the bag on
// disk is the damaged one or the rebuilt one, never a mix; the next open
// removes the new bag an interrupted rebuild left beside, and a rebuild then
// mends the bag.
#include <gtest/gtest.h>

#include "platform/fs/fault_env.h"
#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

const char kDbf[] = "/t.dbf";
const char kBag[] = "/t.cdx";

TableOpenOptions WithBags(const BagOpener* opener) {
  TableOpenOptions options = testutil::Exclusive();
  options.bag_opener = opener;
  return options;
}

// 300 records with two tags; the last page of the bag (a tag's root)
// overwritten so that check names the bag.
void MakeDamaged(fs::Env& env) {
  const BagOpener opener = CdxBagOpener();
  ASSERT_TRUE(Table::Create(env, kDbf, testutil::CustFields(), true, testutil::kToday).ok());
  {
    EngineSettings settings;
    WorkArea area(testutil::MustOpen(env, kDbf, WithBags(&opener)), "T", &settings);
    for (int i = 1; i <= 300; ++i) {
      ASSERT_TRUE(*area.Append());
      ASSERT_TRUE(area.Put("CODE", rt::Value("C" + std::to_string(i * 7 % 301))).ok());
      ASSERT_TRUE(area.Put("AMOUNT", rt::Value::Num(i % 17, 12, 2)).ok());
    }
    for (const OrderSpec& spec : {OrderSpec{"CODE", "UPPER(CODE)", "", false, false},
                                  OrderSpec{"AMOUNT", "AMOUNT", "!DELETED()", true, true}}) {
      ASSERT_TRUE(OrderCreate(area, kBag, spec, nullptr).ok());
    }
    ASSERT_TRUE(area.Close().ok());
  }
  std::string bytes = *fs::ReadWholeFile(env, kBag);
  ASSERT_GT(bytes.size(), 2048u);
  std::fill(bytes.end() - 512, bytes.end(), '\xff');
  ASSERT_TRUE(fs::WriteWholeFile(env, kBag, bytes, true).ok());
}

std::vector<std::string> Faults(fs::Env& env) {
  const BagOpener opener = CdxBagOpener();
  std::vector<std::string> faults;
  EXPECT_TRUE(CheckTable(env, kDbf, &opener, &faults).ok());
  return faults;
}

Status Rebuild(fs::Env& env) {
  const BagOpener opener = CdxBagOpener();
  auto table = Table::Open(env, kDbf, WithBags(&opener));
  if (!table.ok()) return table.status();
  EngineSettings settings;
  WorkArea area(std::move(table).value(), "T", &settings);
  Status s = OrderListRebuild(area);
  Status closed = area.Close();
  return s.ok() ? closed : s;
}

TEST(BagRebuildCrashTest, EveryCrashPointLeavesTheOldBagOrTheNew) {
  auto base = fs::NewMemEnv();
  ASSERT_NO_FATAL_FAILURE(MakeDamaged(*base));
  const std::string damaged = *fs::ReadWholeFile(*base, kBag);
  ASSERT_FALSE(Faults(*base).empty());
  std::string rebuilt;
  {
    auto copy = fs::NewMemEnv();
    ASSERT_NO_FATAL_FAILURE(MakeDamaged(*copy));
    ASSERT_TRUE(Rebuild(*copy).ok());
    EXPECT_TRUE(Faults(*copy).empty());
    rebuilt = *fs::ReadWholeFile(*copy, kBag);
  }
  int saw_old = 0, saw_new = 0;
  for (int nth = 1; nth <= 30; ++nth) {
    for (bool fail_sync : {false, true}) {
      SCOPED_TRACE(std::string(fail_sync ? "sync " : "write ") + std::to_string(nth));
      auto target = fs::NewMemEnv();
      ASSERT_NO_FATAL_FAILURE(MakeDamaged(*target));
      {
        fs::FaultEnv faulty(target.get());
        const BagOpener opener = CdxBagOpener();
        auto table = Table::Open(faulty, kDbf, WithBags(&opener));
        ASSERT_TRUE(table.ok());
        EngineSettings settings;
        WorkArea area(std::move(table).value(), "T", &settings);
        if (fail_sync) {
          faulty.FailSync(nth, true);
        } else {
          faulty.FailWrite(nth, true);
        }
        (void)OrderListRebuild(area);
        ASSERT_TRUE(faulty.Crash().ok());
      }
      const std::string after = *fs::ReadWholeFile(*target, kBag);
      ASSERT_TRUE(after == damaged || after == rebuilt) << "a bag that is neither";
      saw_old += after == damaged;
      saw_new += after == rebuilt;

      EXPECT_EQ(Faults(*target).empty(), after == rebuilt);
      ASSERT_TRUE(Rebuild(*target).ok());  // the open clears the leftover first
      EXPECT_FALSE(target->Stat(std::string(kBag) + kBagNewSuffix).ok());
      EXPECT_EQ(*fs::ReadWholeFile(*target, kBag), rebuilt);
    }
  }
  EXPECT_GT(saw_old, 0);
  EXPECT_GT(saw_new, 0);
}

// A killed rebuild leaves part or all of the new bag beside (its writer never
// got to remove it): the next open drops it and keeps the bag as it was.
TEST(BagRebuildCrashTest, OpenRemovesWhatAKilledRebuildLeftBeside) {
  std::string rebuilt;
  {
    auto copy = fs::NewMemEnv();
    ASSERT_NO_FATAL_FAILURE(MakeDamaged(*copy));
    ASSERT_TRUE(Rebuild(*copy).ok());
    rebuilt = *fs::ReadWholeFile(*copy, kBag);
  }
  // ".zap-new" is where zaps of earlier versions wrote.
  for (const char* suffix : {kBagNewSuffix, ".zap-new"}) {
    const std::string beside = std::string(kBag) + suffix;
    for (size_t cut : {size_t{0}, size_t{512}, rebuilt.size() / 2, rebuilt.size()}) {
      SCOPED_TRACE(std::string(suffix) + " " + std::to_string(cut));
      auto env = fs::NewMemEnv();
      ASSERT_NO_FATAL_FAILURE(MakeDamaged(*env));
      const std::string damaged = *fs::ReadWholeFile(*env, kBag);
      ASSERT_TRUE(fs::WriteWholeFile(*env, beside, rebuilt.substr(0, cut), true).ok());
      const BagOpener opener = CdxBagOpener();
      ASSERT_NE(testutil::MustOpen(*env, kDbf, WithBags(&opener)), nullptr);
      EXPECT_FALSE(env->Stat(beside).ok());
      EXPECT_EQ(*fs::ReadWholeFile(*env, kBag), damaged);
    }
  }
}

// A new bag beside that its writer still holds is not touched by an open.
TEST(BagRebuildCrashTest, OpenLeavesABagBesideThatIsStillBeingWritten) {
  auto env = fs::NewMemEnv();
  ASSERT_NO_FATAL_FAILURE(MakeDamaged(*env));
  const std::string beside = std::string(kBag) + kBagNewSuffix;
  auto held = CreateExclusive(*env, beside);
  ASSERT_TRUE(held.ok());
  ASSERT_TRUE((*held)->WriteAt(0, "partial").ok());
  ASSERT_TRUE(RecoverInterruptedRebuild(*env, kBag).ok());
  EXPECT_TRUE(env->Stat(beside).ok());
  held->reset();
  ASSERT_TRUE(RecoverInterruptedRebuild(*env, kBag).ok());
  EXPECT_FALSE(env->Stat(beside).ok());
}

// Others sharing a bag would keep reading the old file after a swap.
TEST(BagRebuildCrashTest, RebuildNeedsExclusiveUse) {
  auto env = fs::NewMemEnv();
  ASSERT_NO_FATAL_FAILURE(MakeDamaged(*env));
  const BagOpener opener = CdxBagOpener();
  TableOpenOptions options = testutil::Shared();
  options.bag_opener = &opener;
  EngineSettings settings;
  WorkArea area(testutil::MustOpen(*env, kDbf, options), "T", &settings);
  const std::string before = *fs::ReadWholeFile(*env, kBag);
  EXPECT_EQ(OrderListRebuild(area).code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(*fs::ReadWholeFile(*env, kBag), before);
}

}  // namespace
}  // namespace qv::rdd
