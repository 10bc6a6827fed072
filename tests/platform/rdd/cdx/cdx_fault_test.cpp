// The Env fails the Nth write of a tag build: the bag afterwards is either
// exactly what it was before or holds the complete new tag, and checks clean.
#include <gtest/gtest.h>

#include "cdx_test_util.h"
#include "platform/fs/env.h"
#include "platform/fs/fault_env.h"

namespace qv::rdd::cdx {
namespace {

constexpr uint16_t kLen = 12;

std::string Key(int n) { return EncodeChar("K" + std::to_string(n * 7919 % 100000), kLen); }

KeyList Keys(int count, int salt) {
  KeyList keys(kLen);
  for (int i = 0; i < count; ++i) keys.Add(Key(i + salt), static_cast<uint32_t>(i + 1));
  SortKeys(&keys);
  return keys;
}

TagSpec Spec(const char* name) {
  return TagSpec{name, "K", "", false, false, KeyType::kChar, kLen};
}

// A bag with tags A and B, and free pages left by deleting from A.
void MakeBag(fs::Env& env) {
  auto bag = Bag::Create(env, "/f.cdx");
  ASSERT_TRUE(bag.ok());
  ASSERT_TRUE((*bag)->AddTag(Spec("A"), Keys(3000, 0)).ok());
  ASSERT_TRUE((*bag)->AddTag(Spec("B"), Keys(500, 1)).ok());
  Tag* a = *(*bag)->OpenTag(0, KeyType::kChar);
  for (int i = 0; i < 600; ++i) ASSERT_TRUE(a->Remove(Key(i), static_cast<uint32_t>(i + 1)).ok());
  ASSERT_TRUE((*bag)->Flush(true).ok());
}

void ExpectSound(fs::Env& env, const char* tag_name, size_t want_keys) {
  auto bag = Bag::Open(env, "/f.cdx", BagOptions{});
  ASSERT_TRUE(bag.ok()) << bag.status().ToString();
  ASSERT_TRUE((*bag)->CheckDirectory().ok());
  for (size_t t = 0; t < (*bag)->tag_count(); ++t) {
    uint64_t count = 0;
    Status s = (*bag)->CheckTag(t, KeyType::kChar, &count);
    ASSERT_TRUE(s.ok()) << s.ToString();
    if ((*bag)->tag_info(t).name == tag_name) {
      EXPECT_EQ(count, want_keys);
    }
  }
}

TEST(CdxFaultTest, FailedBuildLeavesTheBagAsItWasOrComplete) {
  for (const char* name : {"C", "A"}) {  // a new tag, and one replacing A
    SCOPED_TRACE(name);
    bool completed = false;
    for (int nth = 1; nth < 400 && !completed; ++nth) {
      auto mem = fs::NewMemEnv();
      fs::FaultEnv env(mem.get());
      MakeBag(env);
      const std::string before = *fs::ReadWholeFile(env, "/f.cdx");
      Status s;
      {
        auto bag = Bag::Open(env, "/f.cdx", BagOptions{});
        ASSERT_TRUE(bag.ok());
        env.FailWrite(nth);
        s = (*bag)->AddTag(Spec(name), Keys(6000, 2));
        env.FailWrite(0);
      }
      completed = s.ok();
      const std::string after = *fs::ReadWholeFile(env, "/f.cdx");
      SCOPED_TRACE("write " + std::to_string(nth) + ": " + s.ToString());
      if (s.ok() || after != before) {
        ExpectSound(env, name, 6000);
      } else {
        ExpectSound(env, "A", 2400);
      }
    }
    EXPECT_TRUE(completed);
  }
}

}  // namespace
}  // namespace qv::rdd::cdx
