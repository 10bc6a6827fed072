// Two opens of one bag in shared mode, as two programs would have it: each
// update bumps the change counter, and the other open drops its cached pages
// and finds its place again.
#include <gtest/gtest.h>

#include "cdx_test_util.h"
#include "platform/fs/env.h"
#include "platform/rdd/cdx/cdx_bytes.h"

namespace qv::rdd::cdx {
namespace {

std::string Key(int n) { return EncodeChar("K" + std::to_string(10000 + n), 12); }

TEST(CdxSharedTest, ChangesOfOneOpenAreSeenByTheOther) {
  auto env = fs::NewMemEnv();
  {
    auto bag = Bag::Create(*env, "/s.cdx");
    ASSERT_TRUE(bag.ok());
    KeyList keys(12);
    for (int i = 0; i < 100; i += 2) keys.Add(Key(i), static_cast<uint32_t>(i + 1));
    ASSERT_TRUE((*bag)->AddTag(TagSpec{"T", "K", "", false, false, KeyType::kChar, 12}, keys).ok());
  }
  auto a = Bag::Open(*env, "/s.cdx", BagOptions{true, false});
  auto b = Bag::Open(*env, "/s.cdx", BagOptions{true, false});
  ASSERT_TRUE(a.ok() && b.ok());
  Tag* writer = *(*a)->OpenTag(0, KeyType::kChar);
  Tag* reader = *(*b)->OpenTag(0, KeyType::kChar);
  Cursor cursor(*reader);
  ASSERT_TRUE(*cursor.Seek(Key(50)));
  ASSERT_EQ(cursor.recno(), 51u);

  // Enough odd keys to split the root leaf: the reader's cached root is stale.
  for (int i = 1; i < 100; i += 2)
    ASSERT_TRUE(writer->Insert(Key(i), static_cast<uint32_t>(i + 1)).ok());
  auto bytes = fs::ReadWholeFile(*env, "/s.cdx");
  ASSERT_TRUE(bytes.ok());
  EXPECT_EQ(Be32(reinterpret_cast<const uint8_t*>(bytes->data()) + kHdrCounter), 50u);

  ASSERT_TRUE(cursor.Next().ok());  // continues after key 50, now at 51
  EXPECT_EQ(cursor.recno(), 52u);
  EXPECT_EQ(*cursor.Position(), 52u);
  ASSERT_TRUE(*cursor.Seek(Key(99)));
  EXPECT_EQ(cursor.recno(), 100u);
  EXPECT_EQ(*cursor.Count(), 100u);

  ASSERT_TRUE(reader->Remove(Key(0), 1).ok());  // and the other way round
  Cursor first(*writer);
  ASSERT_TRUE(first.First().ok());
  EXPECT_EQ(first.recno(), 2u);
}

}  // namespace
}  // namespace qv::rdd::cdx
