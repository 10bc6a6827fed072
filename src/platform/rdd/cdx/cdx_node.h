// The page codec: decodes one 512-byte index page (interior or compact leaf)
// into a Node and encodes a Node back into page bytes. Leaf bit widths are
// read from each page, since other writers choose other widths; the encoder
// follows the reference runtime's rule so that pages come out byte-identical.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/status.h"
#include "platform/rdd/cdx/cdx_format.h"

namespace qv::rdd::cdx {

// A decoded page. Keys sit back to back (size() * key_len bytes), so decoding
// into a reused Node allocates nothing once its buffers have grown.
struct Node {
  uint16_t attr = 0;
  uint32_t left = kNoPage;
  uint32_t right = kNoPage;
  size_t key_len = 0;
  std::string keys;
  std::vector<uint32_t> recnos;
  std::vector<uint32_t> children;  // interior pages only, one per key

  bool leaf() const { return (attr & kAttrLeaf) != 0; }
  bool root() const { return (attr & kAttrRoot) != 0; }
  size_t size() const { return recnos.size(); }
  std::string_view key(size_t i) const {
    return std::string_view(keys).substr(i * key_len, key_len);
  }
  // Empties the entries, keeping attributes and links.
  void ClearEntries();
  // Inserts before entry i (i == size() appends). child is ignored for leaves.
  void InsertEntry(size_t i, std::string_view key, uint32_t recno, uint32_t child);
  void EraseEntry(size_t i);
  // Replaces key and record of entry i, keeping its child.
  void SetEntry(size_t i, std::string_view key, uint32_t recno);
  // Appends copies of all entries of other (a node of the same kind).
  void Append(const Node& other);
  // Moves entries [from, size()) to the end of other.
  void MoveTail(size_t from, Node* other);
};

// Bit layout of a leaf page's entries.
struct LeafWidths {
  uint8_t rec_bits = 0;
  uint8_t dup_bits = 0;
  uint8_t trl_bits = 0;
  uint8_t entry_bytes = 0;
};

// The widths the reference runtime writes for a key length and the largest
// record number in the page (wider entries when record numbers need it).
LeafWidths WriterWidths(size_t key_len, uint32_t max_recno);

// Number of fill bytes at the end of key.
size_t TrailCount(std::string_view key, uint8_t fill);
// Length of the common prefix of prev and key, at most key.size() - trail.
size_t DupCount(std::string_view prev, std::string_view key, size_t trail);

// Entries an interior page of this key length can hold.
size_t InteriorCapacity(size_t key_len);

// Tracks how full a leaf page would be while entries are appended in order;
// the bulk builder and page splits use it to decide where a page ends.
class LeafSizer {
 public:
  LeafSizer(size_t key_len, uint8_t fill) : key_len_(key_len), fill_(fill) {}
  void Reset();
  // Whether (key, recno) appended after prev (empty for the first) still
  // fits; Add() then takes it.
  bool Fits(std::string_view prev, std::string_view key, uint32_t recno) const;
  void Add(std::string_view prev, std::string_view key, uint32_t recno);
  size_t count() const { return count_; }

 private:
  size_t StoredBytes(std::string_view prev, std::string_view key) const;

  size_t key_len_;
  uint8_t fill_;
  size_t count_ = 0;
  size_t stored_ = 0;
  uint32_t max_recno_ = 0;
  // What the last Fits computed, kept for the Add that follows it.
  struct Measure {
    const char* prev = nullptr;
    const char* key = nullptr;
    size_t stored = 0;
  };
  mutable Measure measured_;
  mutable LeafWidths widths_;
  mutable uint32_t widths_recno_ = 0;
  mutable bool widths_valid_ = false;
};

// Where a page came from, for corruption reports.
struct PageRef {
  std::string_view file;
  uint64_t offset = 0;
};

// Reads the entries of a compact leaf page in order, each checked against
// the page, without building a Node: a seek stops at its entry.
class LeafReader {
 public:
  struct Entry {
    size_t dup = 0;     // bytes shared with the previous key
    size_t stored = 0;  // bytes at text
    size_t trail = 0;   // fill bytes that end the key
    const uint8_t* text = nullptr;
    uint32_t recno = 0;
  };

  LeafReader(const uint8_t* page, size_t key_len, PageRef ref)
      : page_(page), key_len_(key_len), ref_(ref) {}
  // Reads the widths and count; Corruption when they cannot be.
  Status Start();
  size_t count() const { return count_; }
  // The next entry. REQUIRES: fewer than count() entries read.
  Status Next(Entry* e);

 private:
  Status Fault(const std::string& what) const;

  const uint8_t* page_;
  size_t key_len_;
  PageRef ref_;
  size_t count_ = 0;
  size_t entry_bytes_ = 0;
  int rec_bits_ = 0, dup_bits_ = 0;
  uint64_t rec_mask_ = 0, dup_mask_ = 0, trl_mask_ = 0, entry_mask_ = 0;
  size_t i_ = 0;
  size_t text_end_ = kPageSize;  // key text grows down from the page end
  size_t entries_end_ = 0;
};

// Decodes page (kPageSize bytes) into *out. A page whose counts, widths or
// lengths cannot be gives Status::Corruption naming the file, page and fault.
Status DecodePage(const uint8_t* page, size_t key_len, uint8_t fill, PageRef ref, Node* out);

// Encodes node into page (kPageSize bytes) using its attr and links. Returns
// false, leaving page unspecified, when the entries do not fit one page.
bool EncodeLeaf(const Node& node, uint8_t fill, uint8_t* page);
bool EncodeInterior(const Node& node, uint8_t* page);
inline bool EncodeNode(const Node& node, uint8_t fill, uint8_t* page) {
  return node.leaf() ? EncodeLeaf(node, fill, page) : EncodeInterior(node, page);
}

}  // namespace qv::rdd::cdx
