// A table's memo file: reads memo texts by block number from DBT (both
// styles) and FPT files, and appends new texts to DBT files. The DBF field
// holds the block number; this class never looks at the DBF.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/fs/env.h"
#include "platform/rdd/dbf_format.h"

namespace qv::rdd {

class MemoFile {
 public:
  // Opens path as a memo file of the given kind. shared: other processes may
  // write it too, so allocation takes the memo lock and re-reads the header.
  // Corruption for a header that is too short.
  static Result<std::unique_ptr<MemoFile>> Open(std::unique_ptr<fs::File> file, MemoKind kind,
                                                bool shared);
  // Writes an empty DBT (header only, next free block 1) over path.
  static Status CreateDbt(fs::Env& env, const std::string& path);
  // The empty DBT header block.
  static std::string EmptyDbtHeader();

  // The text of the memo starting at block; "" for block 0. A DBT memo ends
  // at its first 0x1A. Corruption when the block or the stated length lies
  // past the end of the file.
  Result<std::string> Read(uint32_t block);

  // Appends text as a new memo and returns its block (0 for ""). Other
  // memos are never touched; the old block of a rewritten memo becomes dead
  // space. terminators: 2 as an ordinary save writes, 1 as pack writes.
  // NotSupported for FPT and dBase IV files.
  Result<uint32_t> Append(std::string_view text, int terminators = 2);

  // Whole-file share lock on the memo file (see fs::File::SetShareMode).
  Status SetShareMode(fs::ShareMode mode) { return file_->SetShareMode(mode); }
  Status Sync() { return file_->Sync(); }
  // Empties the memo file to its header (zap). REQUIRES: exclusive use.
  Status Truncate();
  // The next free block as the header states it.
  Result<uint32_t> NextFree();

  MemoKind kind() const { return kind_; }
  fs::File& file() { return *file_; }
  // The memo file's name (kept when pack swaps a new file in under it).
  const std::string& path() const { return path_; }
  void set_path(std::string path) { path_ = std::move(path); }
  // Bytes of one block (512 for DBT3).
  uint32_t block_size() const { return block_size_; }

 private:
  MemoFile(std::unique_ptr<fs::File> file, MemoKind kind, bool shared)
      : file_(std::move(file)), path_(file_->path()), kind_(kind), shared_(shared) {}
  Status ReadHeader();
  Result<std::string> ReadDbt(uint64_t at, uint64_t size);
  Result<std::string> ReadSized(uint64_t at, uint64_t size, size_t header, uint32_t len);

  std::unique_ptr<fs::File> file_;
  std::string path_;
  MemoKind kind_;
  bool shared_;
  uint32_t block_size_ = 512;
};

}  // namespace qv::rdd
