// Header decoding and encoding: damaged headers are refused through
// Status::Corruption naming file and offset; new headers have our form.
#include "platform/rdd/dbf_format.h"

#include <gtest/gtest.h>

#include "platform/rdd/detail/bytes.h"

namespace qv::rdd {
namespace {

std::string GoodHeader() {
  auto h = NewHeader({{"code", 'C', 6, 0}, {"amount", 'N', 12, 2}}, false);
  EXPECT_TRUE(h.ok());
  return EncodeHeader(*h, 0, rt::Date::FromYmd(2026, 12, 11));
}

TEST(DbfFormatTest, NewHeaderHasTheWrittenForm) {
  auto h = NewHeader({{"code", 'C', 6, 0}, {"notes", 'M', 0, 0}}, true);
  ASSERT_TRUE(h.ok());
  EXPECT_EQ(h->version, kVersionDbase3Memo);
  EXPECT_EQ(h->header_length, 32u + 32u * 2 + 2);
  EXPECT_EQ(h->record_length, 1u + 6 + 10);
  EXPECT_EQ(h->fields[0].name, "CODE");
  std::string bytes = EncodeHeader(*h, 7, rt::Date::FromYmd(2026, 12, 11));
  ASSERT_EQ(bytes.size(), h->header_length);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x83\x7E\x0C\x0B", 4));
  EXPECT_EQ(detail::GetLe32(bytes, kDbfRecordCountOffset), 7u);
  EXPECT_EQ(bytes[kDbfFlagsOffset], 1);
  EXPECT_EQ(bytes[kDbfCodePageOffset], 0);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string("\x0D\x00", 2));
  auto back = ParseHeader("t.dbf", bytes, bytes.size() + 1);
  ASSERT_TRUE(back.ok()) << back.status().ToString();
  EXPECT_EQ(back->fields.size(), 2u);
  EXPECT_EQ(back->fields[1].offset, 7u);
  EXPECT_EQ(MemoKindOf(*back), MemoKind::kDbt3);
}

TEST(DbfFormatTest, NewHeaderRefusesBadFields) {
  const std::vector<std::vector<FieldSpec>> bad = {
      {},
      {{"", 'C', 1, 0}},
      {{"ELEVENCHARS", 'C', 1, 0}},
      {{"A", 'C', 0, 0}},
      {{"A", 'C', 255, 0}},
      {{"A", 'N', 21, 0}},
      {{"A", 'N', 5, 4}},
      {{"A", 'X', 5, 0}},
      {{"A", 'C', 5, 0}, {"a", 'C', 5, 0}},
  };
  for (const auto& fields : bad) {
    EXPECT_TRUE(NewHeader(fields, false).status().IsInvalidArgument());
  }
}

TEST(DbfFormatTest, DamagedHeadersAreCorruptionWithOffset) {
  const std::string good = GoodHeader();
  struct Case {
    const char* what;
    std::string bytes;
    uint64_t size;
    const char* offset_text;
  };
  std::string tiny_header = good;
  detail::PutLe16(&tiny_header, kDbfHeaderLengthOffset, 40);
  std::string huge_header = good;
  detail::PutLe16(&huge_header, kDbfHeaderLengthOffset, 60000);
  std::string bad_reclen = good;
  detail::PutLe16(&bad_reclen, kDbfRecordLengthOffset, 5);
  std::string bad_type = good;
  bad_type[32 + kFieldTypeOffset] = '\x01';
  std::string no_name = good;
  no_name[32] = '\0';
  std::string bad_version = good;
  bad_version[0] = '\x77';
  std::string bad_logical = good;
  bad_logical[64 + kFieldTypeOffset] = 'L';
  const std::vector<Case> cases = {
      {"short", good.substr(0, 20), 20, "offset 20"},
      {"tiny header length", tiny_header, good.size(), "offset 8"},
      {"header past the end", huge_header, good.size(), "offset 8"},
      {"record length", bad_reclen, good.size(), "offset 10"},
      {"type byte", bad_type, good.size(), "offset 43"},
      {"empty name", no_name, good.size(), "offset 32"},
      {"version", bad_version, good.size(), "offset 0"},
      {"logical of width 12", bad_logical, good.size(), "offset 80"},
  };
  for (const Case& c : cases) {
    auto h = ParseHeader("c:\\x.dbf", c.bytes, c.size);
    ASSERT_TRUE(h.status().IsCorruption()) << c.what << ": " << h.status().ToString();
    EXPECT_NE(h.status().ToString().find("c:\\x.dbf"), std::string::npos) << c.what;
    EXPECT_NE(h.status().ToString().find(c.offset_text), std::string::npos)
        << c.what << ": " << h.status().ToString();
  }
}

TEST(DbfFormatTest, ReaderAcceptsOtherDialects) {
  std::string bytes = GoodHeader();
  bytes[0] = static_cast<char>(kVersionVisualFoxPro);
  bytes[kDbfFlagsOffset] = 0x02;
  bytes[kDbfCodePageOffset] = 0x03;
  bytes[32 + 12] = 1;  // VFP field offset bytes are ignored
  auto h = ParseHeader("vfp.dbf", bytes, bytes.size());
  ASSERT_TRUE(h.ok()) << h.status().ToString();
  EXPECT_EQ(h->code_page, 3);
  // dBase III proper: the 0x0D alone ends the header (32 + 32n + 1).
  std::string d3 = GoodHeader();
  d3.pop_back();
  detail::PutLe16(&d3, kDbfHeaderLengthOffset, static_cast<uint32_t>(d3.size()));
  EXPECT_TRUE(ParseHeader("d3.dbf", d3, d3.size()).ok());
  // A type we do not read is NotSupported, not damage.
  std::string general = GoodHeader();
  general[32 + kFieldTypeOffset] = 'G';
  EXPECT_EQ(ParseHeader("g.dbf", general, general.size()).status().code(),
            StatusCode::kNotSupported);
}

TEST(DbfFormatTest, RecordCountComesFromTheFileSize) {
  auto h = NewHeader({{"A", 'C', 9, 0}}, false);  // record length 10
  ASSERT_TRUE(h.ok());
  const uint64_t base = h->header_length;
  EXPECT_EQ(h->CountFromSize(base), 0u);
  EXPECT_EQ(h->CountFromSize(base + 1), 0u);       // just the 0x1A
  EXPECT_EQ(h->CountFromSize(base + 30 + 1), 3u);  // three records and 0x1A
  EXPECT_EQ(h->CountFromSize(base + 30 + 7), 3u);  // a torn fourth record
}

}  // namespace
}  // namespace qv::rdd
