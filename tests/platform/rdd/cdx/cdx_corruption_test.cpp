// Byte-flipped copies of a reference bag: every fault is reported as
// Corruption naming the file and the page where it was seen, never as a
// crash or a hang.
#include <gtest/gtest.h>

#include "cdx_test_util.h"
#include "platform/fs/env.h"
#include "testing/testing.h"

namespace qv::rdd::cdx {
namespace {

// Opens the bag and reads and checks everything, returning the first failure.
Status ReadEverything(fs::Env& env, const std::string& path) {
  QV_ASSIGN_OR_RETURN(auto bag, Bag::Open(env, path, BagOptions{false, true}));
  QV_RETURN_IF_ERROR(bag->CheckDirectory());
  for (size_t t = 0; t < bag->tag_count(); ++t) {
    QV_ASSIGN_OR_RETURN(Tag * tag, bag->OpenTag(t, KeyType::kChar));
    Cursor cursor(*tag);
    QV_RETURN_IF_ERROR(cursor.First());
    while (!cursor.eof()) QV_RETURN_IF_ERROR(cursor.Next());
    QV_RETURN_IF_ERROR(cursor.Last());
    while (!cursor.eof()) QV_RETURN_IF_ERROR(cursor.Prev());
    uint64_t count = 0;
    QV_RETURN_IF_ERROR(bag->CheckTag(t, KeyType::kChar, &count));
  }
  return Status::OK();
}

struct Damage {
  const char* what;
  uint32_t offset;       // where the bytes go (cust.cdx: NAME header 1536,
  std::string bytes;     // root 2560 with leaves 18944 and 19456)
  uint64_t reported_at;  // the offset the report must name
  const char* fault;     // part of the report
};

TEST(CdxCorruptionTest, DamagedPagesAreReportedWithFileAndPage) {
  QV_REQUIRE_SHARED();
  using std::string;
  const Damage cases[] = {
      {"leaf key count", 18944 + kPageCount, string("\xFF\xFF", 2), 18944, "exceeds the page"},
      {"leaf entry width", 18944 + kLeafEntryBytes, string(1, '\0'), 18944, "widths"},
      {"duplicate + trailing", 18944 + kLeafKeyArea + 3, string("\xFF\xFF\xFF", 3), 18944,
       "beyond key length"},
      {"child cycle", 2560 + kIntEntries + 24, string("\x00\x00\x0A\x00", 4), 2560, "cycle"},
      {"child outside", 2560 + kIntEntries + 24, string("\x7F\xFF\xFE\x00", 4), 0x7FFFFE00,
       "not a page"},
      {"sibling cycle", 19456 + kPageRight, string("\x00\x4A\x00\x00", 4), 18944, "cycle"},
      {"interior count", 2560 + kPageCount, string("\x40\x00", 2), 2560, "exceeds the page"},
      {"key length", 1536 + kHdrKeyLen, string("\x00\x00", 2), 1536 + kHdrKeyLen, "key length"},
      {"directory entry", kTagHeaderSize + kLeafKeyArea, string("\x01\x02", 2), 1024,
       "not a tag header"},
      {"free list cycle", 26112, string("\x00\x66\x00\x00", 4), 26112, "cycle"},
      {"parent key", 2560 + kIntEntries, string("ZZZ", 3), 18944, "parent"},
  };
  qv::testing::TempDir dir;
  auto env = fs::NewHostEnv();
  const string original =
      qv::testing::ReadHostFile(qv::testing::SharedDir() + "/fixtures/xbase/cust.cdx");
  for (const Damage& d : cases) {
    SCOPED_TRACE(d.what);
    string damaged = original;
    damaged.replace(d.offset, d.bytes.size(), d.bytes);
    const string path = dir.Sub("cust.cdx");
    qv::testing::WriteHostFile(path, damaged);
    const Status s = ReadEverything(*env, path);
    ASSERT_TRUE(s.IsCorruption()) << s.ToString();
    EXPECT_NE(s.message().find(path + " at offset " + std::to_string(d.reported_at) + ":"),
              string::npos)
        << s.message();
    EXPECT_NE(s.message().find(d.fault), string::npos) << s.message();
  }
}

TEST(CdxCorruptionTest, FilesTooShortOrEmptyAreCorrupt) {
  qv::testing::TempDir dir;
  auto env = fs::NewHostEnv();
  for (size_t size : {0, 100, 1024, 1535}) {
    qv::testing::WriteHostFile(dir.Sub("x.cdx"), std::string(size, '\0'));
    const Status s = ReadEverything(*env, dir.Sub("x.cdx"));
    EXPECT_TRUE(s.IsCorruption()) << size << ": " << s.ToString();
  }
}

}  // namespace
}  // namespace qv::rdd::cdx
