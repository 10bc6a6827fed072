// Memo file layouts: the DBT we write (dBase III style) and the variants we
// read (dBase IV DBT, FoxPro FPT). The prose lives in formats.md.
//
// DBT, dBase III style (512-byte blocks, block 0 is the header):
//   off size meaning
//     0   4   next free block, LE (where the next memo is appended)
//     4   4   block size 512, LE (written; ignored on read)
//     8 504   zero when written (other writers put a signature here)
//   A memo starts at its block: text, then 0x1A 0x1A; it takes
//   floor(len / 512) + 1 blocks and the file ends after the terminator.
//   Reading stops at the first 0x1A. Rewrites go to the end of the file.
// DBT, dBase IV style: header as above plus the block size at 20 (LE 16);
//   each memo block starts FF FF 08 00, then its length LE 32 counting
//   these 8 bytes.
// FPT (all integers big-endian): header 0..3 next free block, 6..7 block
//   size; a memo block holds type (4), length (4), then the data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv::rdd {

inline constexpr size_t kDbtBlockSize = 512;
inline constexpr size_t kDbtNextFreeOffset = 0;
inline constexpr size_t kDbtBlockSizeOffset = 4;
inline constexpr size_t kDbtHeaderSize = 512;
inline constexpr char kMemoTerminator = 0x1A;
inline constexpr uint32_t kFirstMemoBlock = 1;

// dBase IV DBT.
inline constexpr size_t kDbt4BlockSizeOffset = 20;
inline constexpr size_t kDbt4BlockHeaderSize = 8;
inline constexpr char kDbt4BlockMark[4] = {'\xFF', '\xFF', '\x08', '\x00'};

// FPT.
inline constexpr size_t kFptNextFreeOffset = 0;
inline constexpr size_t kFptBlockSizeOffset = 6;
inline constexpr size_t kFptHeaderSize = 512;
inline constexpr size_t kFptBlockHeaderSize = 8;

// Writers lock this byte of the memo file exclusively while they allocate.
inline constexpr uint64_t kMemoLockOffset = 0;

// Blocks a DBT memo of len bytes occupies (room for one terminator at least).
inline constexpr uint32_t DbtBlocksFor(size_t len) {
  return static_cast<uint32_t>(len / kDbtBlockSize + 1);
}

}  // namespace qv::rdd
