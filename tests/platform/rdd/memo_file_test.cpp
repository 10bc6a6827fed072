// Memo files: the DBT layout we write (blocks, terminators, no padding,
// rewrites at the end) and the layouts we read (FPT, dBase IV DBT).
#include "platform/rdd/memo_file.h"

#include <gtest/gtest.h>

#include "platform/rdd/dbt_format.h"
#include "platform/rdd/detail/bytes.h"

namespace qv::rdd {
namespace {

class MemoFileTest : public ::testing::Test {
 protected:
  std::unique_ptr<MemoFile> OpenNew() {
    EXPECT_TRUE(MemoFile::CreateDbt(*env_, "/m.dbt").ok());
    return Open("/m.dbt", MemoKind::kDbt3);
  }
  std::unique_ptr<MemoFile> Open(const std::string& path, MemoKind kind) {
    auto file = env_->Open(path, fs::OpenMode::kReadWrite);
    EXPECT_TRUE(file.ok());
    auto memo = MemoFile::Open(std::move(file).value(), kind, false);
    EXPECT_TRUE(memo.ok()) << memo.status().ToString();
    return memo.ok() ? std::move(memo).value() : nullptr;
  }
  std::string Bytes() { return *fs::ReadWholeFile(*env_, "/m.dbt"); }

  std::unique_ptr<fs::Env> env_ = fs::NewMemEnv();
};

TEST_F(MemoFileTest, EmptyFileIsAHeaderWithZerosAfterTheBlockSize) {
  OpenNew();
  std::string b = Bytes();
  ASSERT_EQ(b.size(), kDbtHeaderSize);
  EXPECT_EQ(detail::GetLe32(b, 0), 1u);
  EXPECT_EQ(detail::GetLe32(b, 4), 512u);
  EXPECT_EQ(b.find_first_not_of('\0', 8), std::string::npos);
}

TEST_F(MemoFileTest, BlocksFollowTheLengthRule) {
  auto memo = OpenNew();
  // floor(len / 512) + 1 blocks each; a 511-byte memo's second 0x1A is
  // overwritten by the next memo.
  const std::vector<size_t> lengths = {1, 509, 510, 511, 512, 513, 1024, 70000};
  uint32_t expect_block = 1;
  std::vector<uint32_t> blocks;
  for (size_t len : lengths) {
    std::string text(len, 'a' + static_cast<char>(len % 26));
    auto block = memo->Append(text);
    ASSERT_TRUE(block.ok());
    EXPECT_EQ(*block, expect_block) << len;
    blocks.push_back(*block);
    expect_block += DbtBlocksFor(len);
  }
  EXPECT_EQ(*memo->NextFree(), expect_block);
  for (size_t i = 0; i < lengths.size(); ++i) {
    EXPECT_EQ(memo->Read(blocks[i])->size(), lengths[i]);
  }
  std::string b = Bytes();
  EXPECT_EQ(b.size(), (expect_block - DbtBlocksFor(70000)) * 512u + 70000 + 2);  // not padded
  EXPECT_EQ(b.substr(512 + 1, 3), std::string("\x1A\x1A\0", 3));  // zeros fill the block
  EXPECT_EQ(b.substr(3 * 512 + 510, 2), "\x1A\x1A");              // 510 bytes: both fit
  EXPECT_EQ(b[4 * 512 + 511], '\x1A');                            // 511 bytes: one fits,
  EXPECT_EQ(b[5 * 512], 'a' + static_cast<char>(512 % 26));       // the next memo follows
}

TEST_F(MemoFileTest, TextEndsAtTheFirstTerminatorAndKeepsNul) {
  auto memo = OpenNew();
  uint32_t cut =
      *memo->Append(std::string("before\x1A"
                                "after",
                                12));
  uint32_t nul = *memo->Append(std::string("a\0b", 3));
  EXPECT_EQ(*memo->Read(cut), "before");
  EXPECT_EQ(*memo->Read(nul), std::string("a\0b", 3));
  EXPECT_EQ(*memo->Append(""), 0u);
  EXPECT_EQ(*memo->Read(0), "");
}

TEST_F(MemoFileTest, RewritesGoToTheEnd) {
  auto memo = OpenNew();
  uint32_t first = *memo->Append("same");
  uint32_t second = *memo->Append("same");
  EXPECT_EQ(first, 1u);
  EXPECT_EQ(second, 2u);
  EXPECT_EQ(Bytes().substr(512, 6), "same\x1A\x1A");  // the old text stays as dead space
}

TEST_F(MemoFileTest, PointersPastTheEndAreCorruption) {
  auto memo = OpenNew();
  *memo->Append("x");
  auto past = memo->Read(99);
  ASSERT_TRUE(past.status().IsCorruption());
  EXPECT_NE(past.status().ToString().find("/m.dbt"), std::string::npos);
  EXPECT_NE(past.status().ToString().find("50688"), std::string::npos);  // 99 * 512
}

TEST_F(MemoFileTest, NextFreeFarPastTheEndIsCorruptionNotGrowth) {
  // Found by the memo fuzzer: a damaged header must not make the next
  // save write gigabytes of zeros.
  std::string header = MemoFile::EmptyDbtHeader();
  detail::PutLe32(&header, 0, 0x003D0101);
  ASSERT_TRUE(fs::WriteWholeFile(*env_, "/m.dbt", header, false).ok());
  auto memo = Open("/m.dbt", MemoKind::kDbt3);
  EXPECT_TRUE(memo->Append("text").status().IsCorruption());
  EXPECT_EQ(Bytes().size(), kDbtHeaderSize);
}

TEST_F(MemoFileTest, ReadsFptAndDbase4Memos) {
  std::string fpt(512, '\0');
  fpt[3] = 10;  // next free (BE)
  fpt[7] = 64;  // block size 64 (BE)
  std::string block = std::string("\0\0\0\x01\0\0\0\x05", 8) + "hello";
  fpt += block;
  ASSERT_TRUE(fs::WriteWholeFile(*env_, "/f.fpt", fpt, false).ok());
  auto f = Open("/f.fpt", MemoKind::kFpt);
  EXPECT_EQ(*f->Read(8), "hello");
  EXPECT_TRUE(f->Read(9).status().IsCorruption());
  EXPECT_EQ(f->Append("x").status().code(), StatusCode::kNotSupported);

  std::string d4(512, '\0');
  d4[0] = 2;
  d4[20] = 0;
  d4[21] = 2;  // 512-byte blocks
  d4 += std::string("\xFF\xFF\x08\x00\x14\x00\x00\x00", 8) + "First memo\r\n";
  ASSERT_TRUE(fs::WriteWholeFile(*env_, "/d4.dbt", d4, false).ok());
  auto d = Open("/d4.dbt", MemoKind::kDbt4);
  EXPECT_EQ(*d->Read(1), "First memo\r\n");
}

}  // namespace
}  // namespace qv::rdd
