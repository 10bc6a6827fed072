// Fuzzes the memo reader: byte 0 of the input picks the layout (DBT,
// dBase IV DBT, FPT) and byte 1 how many block numbers follow (4 bytes
// each); the rest is the memo file. Every block is read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fs/env.h"
#include "platform/rdd/memo_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const qv::rdd::MemoKind kinds[] = {qv::rdd::MemoKind::kDbt3, qv::rdd::MemoKind::kDbt4,
                                     qv::rdd::MemoKind::kFpt};
  const qv::rdd::MemoKind kind = kinds[data[0] % 3];
  size_t blocks = data[1] % 16;
  size_t at = 2;
  std::vector<uint32_t> numbers;
  for (; blocks > 0 && at + 4 <= size; --blocks, at += 4) {
    numbers.push_back(static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
                      static_cast<uint32_t>(data[at + 2]) << 16 |
                      static_cast<uint32_t>(data[at + 3]) << 24);
  }
  auto env = qv::fs::NewMemEnv();
  std::string file(reinterpret_cast<const char*>(data) + at, size - at);
  if (!qv::fs::WriteWholeFile(*env, "/m.dbt", file, false).ok()) return 0;
  auto opened = env->Open("/m.dbt", qv::fs::OpenMode::kReadWrite);
  if (!opened.ok()) return 0;
  auto memo = qv::rdd::MemoFile::Open(std::move(opened).value(), kind, false);
  if (!memo.ok()) return 0;
  for (uint32_t block : numbers) (void)(*memo)->Read(block);
  (void)(*memo)->Append("fuzz");
  return 0;
}
