// Bags we write, read back by an independent CDX reader: the Perl XBase
// module's index_dump (Debian libdbd-xbase-perl). Skipped when it is absent.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "cdx_test_util.h"
#include "platform/fs/env.h"
#include "testing/testing.h"

namespace qv::rdd::cdx {
namespace {

constexpr const char* kDumper = "/usr/bin/index_dump";

// index_dump's lines: the key (trailing blanks dropped), a blank, the record.
std::vector<std::pair<std::string, uint32_t>> Dump(const std::string& path, const char* tag,
                                                   const char* type) {
  const std::string command = std::string(kDumper) + " -type=" + type + " '" + path + "' " + tag;
  std::vector<std::pair<std::string, uint32_t>> out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char line[1024];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::string text(line);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    const size_t blank = text.rfind(' ');
    if (blank == std::string::npos) continue;
    out.emplace_back(text.substr(0, blank),
                     static_cast<uint32_t>(std::strtoul(text.c_str() + blank + 1, nullptr, 10)));
  }
  pclose(pipe);
  return out;
}

TEST(CdxInteropTest, IndependentReaderSeesOurTagsInOrder) {
  if (std::system((std::string("test -x ") + kDumper).c_str()) != 0) {
    GTEST_SKIP() << kDumper << " not installed (libdbd-xbase-perl)";
  }
  qv::testing::TempDir dir;
  auto env = fs::NewHostEnv();
  std::mt19937 rng(7);
  KeyList names(20);
  KeyList amounts(8);
  for (uint32_t r = 1; r <= 3000; ++r) {
    names.Add(EncodeChar("NAME" + std::to_string(rng() % 700), 20), r);
    amounts.Add(EncodeNumber(static_cast<int>(rng() % 100000) / 100.0 - 400), r);
  }
  SortKeys(&names);
  SortKeys(&amounts);
  const std::string path = dir.Sub("inter.cdx");
  {
    auto bag = Bag::Create(*env, path);
    ASSERT_TRUE(bag.ok());
    ASSERT_TRUE(
        (*bag)->AddTag(TagSpec{"NAME", "NAME", "", false, false, KeyType::kChar, 20}, names).ok());
    ASSERT_TRUE(
        (*bag)
            ->AddTag(TagSpec{"AMOUNT", "AMOUNT", "", false, false, KeyType::kNumeric, 8}, amounts)
            .ok());
    // Some maintenance too, so that split pages are read as well.
    Tag* tag = *(*bag)->OpenTag(0, KeyType::kChar);
    for (uint32_t r = 3001; r <= 3400; ++r) {
      const std::string key = EncodeChar("NAME" + std::to_string(rng() % 700), 20);
      ASSERT_TRUE(tag->Insert(key, r).ok());
    }
    ASSERT_TRUE((*bag)->Flush(true).ok());
  }
  auto bag = Bag::Open(*env, path, BagOptions{false, true});
  ASSERT_TRUE(bag.ok());

  const auto name_dump = Dump(path, "NAME", "char");
  const auto ours = testing::ReadAll(**(*bag)->OpenTag(0, KeyType::kChar));
  ASSERT_EQ(name_dump.size(), ours.size());
  for (size_t i = 0; i < ours.size(); ++i) {
    std::string key = ours[i].key;
    while (!key.empty() && key.back() == ' ') key.pop_back();
    ASSERT_EQ(name_dump[i], std::make_pair(key, ours[i].recno)) << i;
  }

  const auto amount_dump = Dump(path, "AMOUNT", "num");
  const auto ours_n = testing::ReadAll(**(*bag)->OpenTag(1, KeyType::kNumeric));
  ASSERT_EQ(amount_dump.size(), ours_n.size());
  for (size_t i = 0; i < ours_n.size(); ++i) {
    EXPECT_NEAR(std::strtod(amount_dump[i].first.c_str(), nullptr), DecodeNumber(ours_n[i].key),
                1e-9)
        << i;
    EXPECT_EQ(amount_dump[i].second, ours_n[i].recno) << i;
  }
}

}  // namespace
}  // namespace qv::rdd::cdx
