// A child process maintaining or building tags is killed at a seeded moment:
// afterwards the bag either checks clean or is reported as damaged (never a
// crash), and building it again mends it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "cdx_test_util.h"
#include "platform/fs/env.h"
#include "testing/testing.h"

namespace qv::rdd::cdx {
namespace {

constexpr uint16_t kLen = 16;

std::string Key(uint32_t n) {
  return EncodeChar("K" + std::to_string(n * 2654435761u % 99991), kLen);
}

TagSpec Spec(const char* name) {
  return TagSpec{name, "K", "", false, false, KeyType::kChar, kLen};
}

KeyList Keys(uint32_t count) {
  KeyList keys(kLen);
  for (uint32_t r = 1; r <= count; ++r) keys.Add(Key(r), r);
  SortKeys(&keys);
  return keys;
}

// Runs in the child until killed: inserts and removes keys of tag M and
// rebuilds tag B over and over.
[[noreturn]] void Work(const std::string& path) {
  auto env = fs::NewHostEnv();
  auto bag = Bag::Open(*env, path, BagOptions{});
  if (!bag.ok()) _exit(3);
  Tag* tag = *(*bag)->OpenTag(0, KeyType::kChar);
  for (uint32_t r = 2001;; ++r) {
    if (!tag->Insert(Key(r), r).ok()) _exit(4);
    if (r % 3 == 0 && !tag->Remove(Key(r - 1500), r - 1500).ok()) _exit(5);
    if (r % 200 == 0 && !(*bag)->Flush(false).ok()) _exit(6);
    if (r % 1000 == 0 && !(*bag)->AddTag(Spec("B"), Keys(r)).ok()) _exit(7);
  }
}

TEST(CdxKillTest, KilledWriterLeavesACheckableBagThatARebuildMends) {
  qv::testing::TempDir dir;
  const std::string path = dir.Sub("k.cdx");
  auto env = fs::NewHostEnv();
  std::mt19937 rng(20261211);
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    {
      auto bag = Bag::Create(*env, path);
      ASSERT_TRUE(bag.ok());
      ASSERT_TRUE((*bag)->AddTag(Spec("M"), Keys(2000)).ok());
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) Work(path);
    usleep(50000 + rng() % 400000);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child ended by itself: " << WEXITSTATUS(status);

    Status checked;
    {
      auto bag = Bag::Open(*env, path, BagOptions{false, true});
      checked = bag.status();
      for (size_t t = 0; checked.ok() && t < (*bag)->tag_count(); ++t) {
        uint64_t count = 0;
        checked = (*bag)->CheckDirectory();
        if (checked.ok()) checked = (*bag)->CheckTag(t, KeyType::kChar, &count);
      }
    }
    if (!checked.ok()) {
      EXPECT_TRUE(checked.IsCorruption()) << checked.ToString();
      EXPECT_NE(checked.message().find(path), std::string::npos);
    }
    // Rebuilding from the records mends the bag whatever state it is in.
    auto bag = Bag::Create(*env, path);
    ASSERT_TRUE(bag.ok());
    ASSERT_TRUE((*bag)->AddTag(Spec("M"), Keys(2000)).ok());
    uint64_t count = 0;
    ASSERT_TRUE((*bag)->CheckTag(0, KeyType::kChar, &count).ok());
    EXPECT_EQ(count, 2000u);
  }
}

}  // namespace
}  // namespace qv::rdd::cdx
