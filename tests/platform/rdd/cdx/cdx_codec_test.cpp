// Key encodings and the page codec: the reference values, the writer's bit
// widths, and leaf pages laid out with other writers' widths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/rdd/cdx/cdx_bytes.h"
#include "platform/rdd/cdx/cdx_key.h"
#include "platform/rdd/cdx/cdx_node.h"
#include "platform/runtime/date.h"

namespace qv::rdd::cdx {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(CdxKeyTest, NumbersAndDatesEncodeAsOrderedDoubles) {
  struct Case {
    double value;
    std::string bytes;
  };
  const Case cases[] = {
      {0, Bytes({0x80, 0, 0, 0, 0, 0, 0, 0})},
      {-0.0, Bytes({0x80, 0, 0, 0, 0, 0, 0, 0})},
      {1, Bytes({0xBF, 0xF0, 0, 0, 0, 0, 0, 0})},
      {100, Bytes({0xC0, 0x59, 0, 0, 0, 0, 0, 0})},
      {-1, Bytes({0x40, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
      {123.45, Bytes({0xC0, 0x5E, 0xDC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCD})},
      {12.34, Bytes({0xC0, 0x28, 0xAE, 0x14, 0x7A, 0xE1, 0x47, 0xAE})},
      {2451545, Bytes({0xC1, 0x42, 0xB4, 0x2C, 0x80, 0, 0, 0})},  // 2000-01-01
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeNumber(c.value), c.bytes) << c.value;
    EXPECT_EQ(DecodeNumber(c.bytes), c.value == 0 ? 0.0 : c.value);
  }
  EXPECT_EQ(EncodeDate(rt::Date::FromYmd(2026, 12, 11).julian()),
            Bytes({0xC1, 0x42, 0xC7, 0x65, 0, 0, 0, 0}));
  EXPECT_EQ(EncodeDate(0), EncodeNumber(0));

  const double sorted[] = {-1e300, -99999999.99, -1, -0.01, 0, 0.01, 1, 2, 999999999.99, 1e300};
  for (size_t i = 1; i < std::size(sorted); ++i) {
    EXPECT_LT(EncodeNumber(sorted[i - 1]), EncodeNumber(sorted[i])) << sorted[i];
  }
}

TEST(CdxKeyTest, KeysFormatAsTheToolsShowThem) {
  EXPECT_EQ(FormatKey(KeyType::kChar, "AB  "), "AB  ");
  EXPECT_EQ(FormatKey(KeyType::kNumeric, EncodeNumber(-108309.09)), "-108309.09");
  EXPECT_EQ(FormatKey(KeyType::kNumeric, EncodeNumber(42)), "42");
  EXPECT_EQ(FormatKey(KeyType::kNumeric, EncodeNumber(10.0 / 3)), "3.333333333333");
  EXPECT_EQ(FormatKey(KeyType::kNumeric, EncodeNumber(-0.0)), "0");
  EXPECT_EQ(FormatKey(KeyType::kDate, EncodeDate(rt::Date::FromYmd(2024, 1, 1).julian())),
            "20240101");
  EXPECT_EQ(FormatKey(KeyType::kDate, EncodeDate(0)), "");
  EXPECT_EQ(FormatKey(KeyType::kLogical, EncodeLogical(true)), "T");
  EXPECT_EQ(EncodeChar("toolongtext", 4), "tool");
  EXPECT_EQ(EncodeChar("ab", 4), "ab  ");
}

TEST(CdxNodeTest, WriterWidthsFollowTheReferenceRule) {
  struct Case {
    size_t key_len;
    uint32_t max_recno;
    LeafWidths want;
  };
  const Case cases[] = {
      {10, 100, {16, 4, 4, 3}}, {8, 65535, {16, 4, 4, 3}}, {8, 65536, {24, 4, 4, 4}},
      {1, 100, {22, 1, 1, 3}},  {20, 100, {14, 5, 5, 3}},  {30, 50000, {22, 5, 5, 4}},
      {240, 255, {8, 8, 8, 3}}, {240, 256, {16, 8, 8, 4}}, {240, 0xFFFFFFFF, {32, 8, 8, 6}},
  };
  for (const Case& c : cases) {
    const LeafWidths w = WriterWidths(c.key_len, c.max_recno);
    EXPECT_EQ(w.rec_bits, c.want.rec_bits) << c.key_len << "/" << c.max_recno;
    EXPECT_EQ(w.dup_bits, c.want.dup_bits);
    EXPECT_EQ(w.trl_bits, c.want.trl_bits);
    EXPECT_EQ(w.entry_bytes, c.want.entry_bytes) << c.key_len << "/" << c.max_recno;
  }
}

// Another writer packed a leaf of key length 50 into 2-byte entries
// (4 record bits, 6 + 6 count bits); the reader takes the widths from the page.
TEST(CdxNodeTest, LeafWithAnotherWritersWidthsDecodes) {
  uint8_t page[kPageSize] = {};
  PutLe16(page + kPageAttr, kAttrRoot | kAttrLeaf | 0x04);
  PutLe16(page + kPageCount, 3);
  PutLe32(page + kPageLeft, kNoPage);
  PutLe32(page + kPageRight, kNoPage);
  PutLe32(page + kLeafRecMask, 0x0F);
  page[kLeafDupMask] = 0x3F;
  page[kLeafTrlMask] = 0x3F;
  page[kLeafRecBits] = 4;
  page[kLeafDupBits] = 6;
  page[kLeafTrlBits] = 6;
  page[kLeafEntryBytes] = 2;
  // "ALPHA", "ALPS", "BETA" (records 3, 1, 2), blanks trailing to 50.
  struct E {
    uint32_t recno, dup, trail;
    const char* stored;
  };
  const E entries[] = {{3, 0, 45, "ALPHA"}, {1, 3, 46, "S"}, {2, 0, 46, "BETA"}};
  size_t end = kPageSize;
  for (size_t i = 0; i < 3; ++i) {
    PutLe16(
        page + kLeafKeyArea + 2 * i,
        static_cast<uint16_t>(entries[i].recno | (entries[i].dup << 4) | (entries[i].trail << 10)));
    const size_t n = std::strlen(entries[i].stored);
    end -= n;
    std::memcpy(page + end, entries[i].stored, n);
  }
  Node node;
  ASSERT_TRUE(DecodePage(page, 50, ' ', PageRef{"x.cdx", 1024}, &node).ok());
  ASSERT_EQ(node.size(), 3u);
  EXPECT_TRUE(node.leaf() && node.root());
  EXPECT_EQ(node.key(0), EncodeChar("ALPHA", 50));
  EXPECT_EQ(node.key(1), EncodeChar("ALPS", 50));
  EXPECT_EQ(node.key(2), EncodeChar("BETA", 50));
  EXPECT_EQ(node.recnos, (std::vector<uint32_t>{3, 1, 2}));

  // Re-encoded by us it takes the reference widths and decodes the same.
  uint8_t ours[kPageSize];
  ASSERT_TRUE(EncodeLeaf(node, ' ', ours));
  EXPECT_EQ(ours[kLeafEntryBytes], 3);
  Node again;
  ASSERT_TRUE(DecodePage(ours, 50, ' ', PageRef{"x.cdx", 1024}, &again).ok());
  EXPECT_EQ(again.keys, node.keys);
  EXPECT_EQ(again.recnos, node.recnos);
}

TEST(CdxNodeTest, LeafFillsToTheLastByteAndRefusesMore) {
  Node node;
  node.attr = kAttrLeaf;
  node.key_len = 20;
  LeafSizer sizer(20, ' ');
  uint8_t page[kPageSize];
  for (uint32_t r = 1;; ++r) {
    // Distinct keys without shared prefix or blanks: 20 + 3 bytes each.
    std::string key(20, static_cast<char>('A' + r % 26));
    key[0] = static_cast<char>(r);
    const std::string_view prev = node.size() ? node.key(node.size() - 1) : std::string_view();
    const bool fits = sizer.Fits(prev, key, r);
    if (fits) sizer.Add(prev, key, r);
    node.InsertEntry(node.size(), key, r, 0);
    ASSERT_EQ(EncodeLeaf(node, ' ', page), fits) << r;
    if (!fits) break;
  }
  EXPECT_EQ(sizer.count(), kLeafKeyAreaSize / 23);
}

}  // namespace
}  // namespace qv::rdd::cdx
