#include "platform/rdd/memo_file.h"

#include <string>

#include "platform/rdd/dbt_format.h"
#include "platform/rdd/detail/bytes.h"

namespace qv::rdd {
namespace {

// Holds the memo file's allocation lock for one scope (shared use only).
class MemoLock {
 public:
  MemoLock(fs::File& file, bool take) : file_(take ? &file : nullptr) {}
  Status Take() {
    return file_ ? file_->LockRange(kMemoLockOffset, 1, /*exclusive=*/true, /*wait=*/true)
                 : Status::OK();
  }
  ~MemoLock() {
    if (file_) (void)file_->UnlockRange(kMemoLockOffset, 1);
  }

 private:
  fs::File* file_;
};

Status ReadExact(fs::File& file, uint64_t at, size_t n, std::string* out) {
  out->resize(n);
  size_t got = 0;
  QV_RETURN_IF_ERROR(file.ReadAt(at, n, out->data(), &got));
  out->resize(got);
  return Status::OK();
}

}  // namespace

std::string MemoFile::EmptyDbtHeader() {
  std::string header(kDbtHeaderSize, '\0');
  detail::PutLe32(&header, kDbtNextFreeOffset, kFirstMemoBlock);
  detail::PutLe32(&header, kDbtBlockSizeOffset, kDbtBlockSize);
  return header;
}

Status MemoFile::CreateDbt(fs::Env& env, const std::string& path) {
  return fs::WriteWholeFile(env, path, EmptyDbtHeader(), /*sync=*/false);
}

Result<std::unique_ptr<MemoFile>> MemoFile::Open(std::unique_ptr<fs::File> file, MemoKind kind,
                                                 bool shared) {
  std::unique_ptr<MemoFile> memo(new MemoFile(std::move(file), kind, shared));
  QV_RETURN_IF_ERROR(memo->ReadHeader());
  return memo;
}

Status MemoFile::ReadHeader() {
  std::string header;
  QV_RETURN_IF_ERROR(ReadExact(*file_, 0, kDbtHeaderSize, &header));
  const size_t need = kind_ == MemoKind::kDbt3 ? 4 : kind_ == MemoKind::kDbt4 ? 22 : 8;
  if (header.size() < need) {
    return Status::Corruption(path(), header.size(), "short memo header");
  }
  if (kind_ == MemoKind::kFpt) {
    block_size_ = detail::GetBe16(header, kFptBlockSizeOffset);
    if (block_size_ == 0) block_size_ = 1;
  } else if (kind_ == MemoKind::kDbt4) {
    block_size_ = detail::GetLe16(header, kDbt4BlockSizeOffset);
    if (block_size_ == 0) block_size_ = kDbtBlockSize;
  }
  return Status::OK();
}

Result<uint32_t> MemoFile::NextFree() {
  std::string header;
  QV_RETURN_IF_ERROR(ReadExact(*file_, 0, 4, &header));
  if (header.size() < 4) return Status::Corruption(path(), header.size(), "short memo header");
  return kind_ == MemoKind::kFpt ? detail::GetBe32(header, 0) : detail::GetLe32(header, 0);
}

Result<std::string> MemoFile::Read(uint32_t block) {
  if (block == 0) return std::string();
  QV_ASSIGN_OR_RETURN(uint64_t size, file_->Size());
  const uint64_t at = static_cast<uint64_t>(block) * block_size_;
  if (at < kDbtHeaderSize || at >= size) {
    return Status::Corruption(
        path(), at,
        "memo block " + std::to_string(block) +
            (at >= size ? " lies past the end of the file (size " + std::to_string(size) + ")"
                        : " lies inside the header"));
  }
  if (kind_ == MemoKind::kFpt) {
    std::string head;
    QV_RETURN_IF_ERROR(ReadExact(*file_, at, kFptBlockHeaderSize, &head));
    if (head.size() < kFptBlockHeaderSize) {
      return Status::Corruption(path(), at, "memo block header cut off by the end of the file");
    }
    return ReadSized(at, size, kFptBlockHeaderSize, detail::GetBe32(head, 4));
  }
  if (kind_ == MemoKind::kDbt4) {
    std::string head;
    QV_RETURN_IF_ERROR(ReadExact(*file_, at, kDbt4BlockHeaderSize, &head));
    if (head.size() == kDbt4BlockHeaderSize && head.compare(0, 4, kDbt4BlockMark, 4) == 0) {
      uint32_t len = detail::GetLe32(head, 4);
      if (len < kDbt4BlockHeaderSize) {
        return Status::Corruption(path(), at + 4, "memo length below its block header size");
      }
      return ReadSized(at, size, kDbt4BlockHeaderSize, len - kDbt4BlockHeaderSize);
    }
  }
  return ReadDbt(at, size);
}

Result<std::string> MemoFile::ReadSized(uint64_t at, uint64_t size, size_t header, uint32_t len) {
  if (at + header + len > size) {
    return Status::Corruption(
        path(), at + 4, "memo length " + std::to_string(len) + " runs past the end of the file");
  }
  std::string text;
  QV_RETURN_IF_ERROR(ReadExact(*file_, at + header, len, &text));
  return text;
}

Result<std::string> MemoFile::ReadDbt(uint64_t at, uint64_t size) {
  std::string text;
  std::string chunk;
  // The file size bounds the scan, so a memo without a terminator ends at
  // the end of the file instead of looping.
  for (uint64_t pos = at; pos < size; pos += chunk.size()) {
    size_t want = pos - at < kDbtBlockSize ? kDbtBlockSize : 64 * 1024;
    QV_RETURN_IF_ERROR(ReadExact(*file_, pos, want, &chunk));
    if (chunk.empty()) break;
    size_t end = chunk.find(kMemoTerminator);
    if (end != std::string::npos) {
      text.append(chunk, 0, end);
      return text;
    }
    text += chunk;
  }
  return text;
}

Result<uint32_t> MemoFile::Append(std::string_view text, int terminators) {
  if (text.empty()) return 0u;
  if (kind_ != MemoKind::kDbt3) {
    return Status::NotSupported(path() + ": memos are written only to dBase III memo files");
  }
  MemoLock lock(*file_, shared_);
  QV_RETURN_IF_ERROR(lock.Take());
  QV_ASSIGN_OR_RETURN(uint32_t block, NextFree());
  if (block < kFirstMemoBlock) {
    return Status::Corruption(path(), kDbtNextFreeOffset,
                              "next free block " + std::to_string(block) + " lies in the header");
  }
  QV_ASSIGN_OR_RETURN(uint64_t size, file_->Size());
  const uint64_t start = static_cast<uint64_t>(block) * kDbtBlockSize;
  // The last memo ends inside the block before the next free one; a header
  // pointing further out is damage, and following it would grow the file
  // by up to 2 TB of zeros.
  if (start >= size + kDbtBlockSize) {
    return Status::Corruption(path(), kDbtNextFreeOffset,
                              "next free block " + std::to_string(block) +
                                  " lies past the end of the file (size " + std::to_string(size) +
                                  ")");
  }
  const uint64_t write_at = size < start ? size : start;
  std::string data(start - write_at, '\0');  // the gap after the last memo's terminator
  data.append(text);
  data.append(static_cast<size_t>(terminators), kMemoTerminator);
  QV_RETURN_IF_ERROR(file_->WriteAt(write_at, data));
  const uint64_t next = block + static_cast<uint64_t>(DbtBlocksFor(text.size()));
  if (next > 0xFFFFFFFFu) return Status::IOError(path() + ": memo file full");
  std::string word(4, '\0');
  detail::PutLe32(&word, 0, static_cast<uint32_t>(next));
  QV_RETURN_IF_ERROR(file_->WriteAt(kDbtNextFreeOffset, word));
  return block;
}

Status MemoFile::Truncate() {
  QV_RETURN_IF_ERROR(file_->Truncate(0));
  std::string header = kind_ == MemoKind::kDbt3 ? EmptyDbtHeader() : std::string();
  if (header.empty()) return Status::NotSupported(path() + ": zap of a non-DBT memo file");
  return file_->WriteAt(0, header);
}

}  // namespace qv::rdd
