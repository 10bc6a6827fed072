// Write failures: the Env fails one write (or every write from one on); every engine call reports
// it as a Status (no crash), and the table left behind opens and checks sound.
#include <gtest/gtest.h>

#include "platform/fs/fault_env.h"
#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

TEST(RddFaultTest, AFailedWriteLeavesASoundTable) {
  for (int nth = 1; nth <= 40; ++nth) {
    for (bool sticky : {false, true}) {
      SCOPED_TRACE("write " + std::to_string(nth) + (sticky ? " and all after" : ""));
      auto base = fs::NewMemEnv();
      ASSERT_TRUE(
          Table::Create(*base, "/t.dbf", testutil::CustFields(), false, testutil::kToday).ok());
      int failures = 0;
      {
        fs::FaultEnv faulty(base.get());
        auto table = Table::Open(faulty, "/t.dbf", testutil::Exclusive());
        ASSERT_TRUE(table.ok());
        EngineSettings settings;
        WorkArea area(std::move(table).value(), "T", &settings);
        faulty.FailWrite(nth, sticky);
        for (int i = 1; i <= 30; ++i) {
          auto added = area.Append();
          failures += !added.ok();
          if (!added.ok()) continue;
          failures += !area.Put("AMOUNT", rt::Value::Num(i, 12, 2)).ok();
          failures += !area.Put("NOTES", rt::Value("memo " + std::to_string(i))).ok();
          if (i % 10 == 0) failures += !area.Commit().ok();
        }
        failures += !area.Close().ok();
      }
      if (!sticky) {
        EXPECT_LE(failures, 1);  // the one failed write, reported once
      }
      ASSERT_TRUE(Table::Open(*base, "/t.dbf", testutil::Exclusive()).ok());
      std::vector<std::string> faults;
      ASSERT_TRUE(CheckTable(*base, "/t.dbf", nullptr, &faults).ok());
      EXPECT_TRUE(faults.empty()) << faults.front();
    }
  }
}

}  // namespace
}  // namespace qv::rdd
