// The on-disk layout of a CDX compound index bag: every offset, size and flag
// the page codec, the tree code, the builder and the tools share. The prose
// explanation lives in formats.md (CDX section); this header is the table.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv::rdd::cdx {

// ---------------------------------------------------------------------------
// File: 512-byte pages; every pointer is a byte offset from the file start.
// Offset 0 holds the header of the tag directory (an ordinary compact index
// whose keys are tag names and whose "record numbers" are the file offsets
// of the tags' headers). Each tag is a B+tree whose header points at its root.
inline constexpr uint32_t kPageSize = 512;
inline constexpr uint32_t kTagHeaderSize = 1024;  // header page + expression pool
inline constexpr uint32_t kNoPage = 0xFFFFFFFFu;  // sibling link "none"
inline constexpr size_t kMaxKeyLen = 240;
inline constexpr size_t kMaxTagName = 10;
inline constexpr size_t kDirectoryKeyLen = 10;
// Shared-use lock: one byte of the .cdx, read lock for readers, write lock
// for writers, held for one navigation step or one update.
inline constexpr uint64_t kIndexLockOffset = 0x7FFFFFFE;

// ---------------------------------------------------------------------------
// Tag header (also the file header at offset 0):
//
//   off  size  meaning
//     0     4  root page offset (LE)
//     4     4  free-page list head (LE, 0 = none; only meaningful at 0)
//     8     4  change counter (BE; bumped by a writer after a shared update)
//    12     2  key length in bytes (LE, <= 240)
//    14     1  options (kOpt* below)
//    15     1  index signature (kSignature)
//    16     2  header length 0x0400 (LE)
//    18     2  page length 0x0200 (LE)
//    20     4  writer identification; we write zeros
//   502     2  0 ascending, 1 descending (keys are stored ascending anyway)
//   504     2  position of the FOR text in the pool
//   506     2  length of the FOR text including its 0x00
//   508     2  position of the key text in the pool
//   510     2  length of the key text including its 0x00
//   512   512  expression pool: key text 0x00 FOR text 0x00
inline constexpr size_t kHdrRoot = 0;
inline constexpr size_t kHdrFreeList = 4;
inline constexpr size_t kHdrCounter = 8;
inline constexpr size_t kHdrKeyLen = 12;
inline constexpr size_t kHdrOptions = 14;
inline constexpr size_t kHdrSignature = 15;
inline constexpr size_t kHdrHeaderLen = 16;
inline constexpr size_t kHdrPageLen = 18;
inline constexpr size_t kHdrWriterId = 20;
inline constexpr size_t kHdrWriterIdSize = 4;
inline constexpr size_t kHdrDescending = 502;
inline constexpr size_t kHdrForPos = 504;
inline constexpr size_t kHdrForLen = 506;
inline constexpr size_t kHdrKeyPos = 508;
inline constexpr size_t kHdrKeyExprLen = 510;
inline constexpr size_t kHdrPool = 512;
inline constexpr size_t kPoolSize = 512;

inline constexpr uint8_t kSignature = 0x01;

// Options byte (offset 14).
inline constexpr uint8_t kOptUnique = 0x01;
inline constexpr uint8_t kOptTemporary = 0x02;
inline constexpr uint8_t kOptCustom = 0x04;
inline constexpr uint8_t kOptFor = 0x08;
inline constexpr uint8_t kOptBitVector = 0x10;
inline constexpr uint8_t kOptCompact = 0x20;
inline constexpr uint8_t kOptCompound = 0x40;
inline constexpr uint8_t kOptDirectory = 0x80;
inline constexpr uint8_t kOptTagBase = kOptCompact | kOptCompound;         // 0x60
inline constexpr uint8_t kOptDirectoryBase = kOptTagBase | kOptDirectory;  // 0xE0

// ---------------------------------------------------------------------------
// Every index page starts with:
//
//   off  size  meaning
//     0     2  attributes (LE): bit kAttrRoot, bit kAttrLeaf; test bits, other
//              writers set more
//     2     2  number of keys (LE)
//     4     4  left sibling offset or kNoPage (LE)
//     8     4  right sibling offset or kNoPage (LE)
inline constexpr size_t kPageAttr = 0;
inline constexpr size_t kPageCount = 2;
inline constexpr size_t kPageLeft = 4;
inline constexpr size_t kPageRight = 8;
inline constexpr uint16_t kAttrRoot = 0x01;
inline constexpr uint16_t kAttrLeaf = 0x02;

// Interior page: from 12, entries of key length + 8 bytes each: the key
// (full length, padded), the record number (BE) and the child page (BE). Each
// entry holds the last (greatest) key and record of its child's subtree.
inline constexpr size_t kIntEntries = 12;
inline constexpr size_t kIntEntrySpace = kPageSize - kIntEntries;  // 500
inline constexpr size_t kIntEntryExtra = 8;

// Leaf page (compact):
//
//   off  size  meaning
//    12     2  free bytes in the key area (LE)
//    14     4  record-number mask (LE)
//    18     1  duplicate-count mask
//    19     1  trailing-count mask
//    20     1  record-number bits R
//    21     1  duplicate-count bits D
//    22     1  trailing-count bits T
//    23     1  bytes per entry E (R + D + T = 8 * E)
//    24   488  key area: entries of E bytes from the front (one LE integer:
//              record number in the low R bits, then duplicate count, then
//              trailing count), stored key bytes from the back (key 0 last)
inline constexpr size_t kLeafFree = 12;
inline constexpr size_t kLeafRecMask = 14;
inline constexpr size_t kLeafDupMask = 18;
inline constexpr size_t kLeafTrlMask = 19;
inline constexpr size_t kLeafRecBits = 20;
inline constexpr size_t kLeafDupBits = 21;
inline constexpr size_t kLeafTrlBits = 22;
inline constexpr size_t kLeafEntryBytes = 23;
inline constexpr size_t kLeafKeyArea = 24;
inline constexpr size_t kLeafKeyAreaSize = kPageSize - kLeafKeyArea;  // 488
inline constexpr size_t kLeafMaxEntryBytes = 8;                       // what a reader accepts

// Free page: bytes 0..3 hold the next free page (LE, 0 = end); rest zero.
inline constexpr size_t kFreeNext = 0;

}  // namespace qv::rdd::cdx
