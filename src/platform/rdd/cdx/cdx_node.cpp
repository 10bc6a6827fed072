#include "platform/rdd/cdx/cdx_node.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/rdd/cdx/cdx_bytes.h"

namespace qv::rdd::cdx {

void Node::ClearEntries() {
  keys.clear();
  recnos.clear();
  children.clear();
}

void Node::InsertEntry(size_t i, std::string_view key, uint32_t recno, uint32_t child) {
  keys.insert(i * key_len, key.data(), key_len);
  recnos.insert(recnos.begin() + static_cast<std::ptrdiff_t>(i), recno);
  if (!leaf()) children.insert(children.begin() + static_cast<std::ptrdiff_t>(i), child);
}

void Node::EraseEntry(size_t i) {
  keys.erase(i * key_len, key_len);
  recnos.erase(recnos.begin() + static_cast<std::ptrdiff_t>(i));
  if (!leaf()) children.erase(children.begin() + static_cast<std::ptrdiff_t>(i));
}

void Node::SetEntry(size_t i, std::string_view key, uint32_t recno) {
  keys.replace(i * key_len, key_len, key.data(), key_len);
  recnos[i] = recno;
}

void Node::Append(const Node& other) {
  keys += other.keys;
  recnos.insert(recnos.end(), other.recnos.begin(), other.recnos.end());
  children.insert(children.end(), other.children.begin(), other.children.end());
}

void Node::MoveTail(size_t from, Node* other) {
  other->keys.append(keys, from * key_len);
  keys.resize(from * key_len);
  const auto at = static_cast<std::ptrdiff_t>(from);
  other->recnos.insert(other->recnos.end(), recnos.begin() + at, recnos.end());
  recnos.resize(from);
  if (!leaf()) {
    other->children.insert(other->children.end(), children.begin() + at, children.end());
    children.resize(from);
  }
}

LeafWidths WriterWidths(size_t key_len, uint32_t max_recno) {
  const int b = std::bit_width(key_len);
  LeafWidths w;
  w.dup_bits = w.trl_bits = static_cast<uint8_t>(b);
  w.entry_bytes = b <= 8 ? 3 : (b <= 12 ? 4 : 5);
  int rec_bits = 8 * w.entry_bytes - 2 * b;
  while (rec_bits < 32 && (uint64_t{max_recno} >> rec_bits) != 0) {
    ++w.entry_bytes;
    rec_bits += 8;
  }
  w.rec_bits = static_cast<uint8_t>(std::min(rec_bits, 32));
  return w;
}

size_t TrailCount(std::string_view key, uint8_t fill) {
  size_t n = key.size();
  while (n > 0 && static_cast<uint8_t>(key[n - 1]) == fill) --n;
  return key.size() - n;
}

size_t DupCount(std::string_view prev, std::string_view key, size_t trail) {
  const size_t limit = std::min(prev.size(), key.size() - trail);
  size_t n = 0;
  while (n < limit && prev[n] == key[n]) ++n;
  return n;
}

size_t InteriorCapacity(size_t key_len) { return kIntEntrySpace / (key_len + kIntEntryExtra); }

void LeafSizer::Reset() {
  count_ = 0;
  stored_ = 0;
  max_recno_ = 0;
}

size_t LeafSizer::StoredBytes(std::string_view prev, std::string_view key) const {
  const size_t trail = TrailCount(key, fill_);
  const size_t dup = prev.empty() ? 0 : DupCount(prev, key, trail);
  return key_len_ - dup - trail;
}

bool LeafSizer::Fits(std::string_view prev, std::string_view key, uint32_t recno) const {
  const LeafWidths w = WriterWidths(key_len_, std::max(max_recno_, recno));
  return (count_ + 1) * w.entry_bytes + stored_ + StoredBytes(prev, key) <= kLeafKeyAreaSize;
}

void LeafSizer::Add(std::string_view prev, std::string_view key, uint32_t recno) {
  stored_ += StoredBytes(prev, key);
  max_recno_ = std::max(max_recno_, recno);
  ++count_;
}

namespace {

void PutPageHeader(const Node& node, uint8_t* page) {
  PutLe16(page + kPageAttr, node.attr);
  PutLe16(page + kPageCount, static_cast<uint16_t>(node.size()));
  PutLe32(page + kPageLeft, node.left);
  PutLe32(page + kPageRight, node.right);
}

uint64_t Mask(int bits) { return bits >= 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1; }
uint64_t Shr(uint64_t v, int bits) { return bits >= 64 ? 0 : v >> bits; }

Status DecodeInterior(const uint8_t* page, size_t count, PageRef ref, Node* out) {
  const size_t entry = out->key_len + kIntEntryExtra;
  if (count * entry > kIntEntrySpace) {
    return Status::Corruption(ref.file, ref.offset,
                              "interior page key count " + std::to_string(count) +
                                  " exceeds the page for key length " +
                                  std::to_string(out->key_len));
  }
  out->keys.resize(count * out->key_len);
  out->recnos.resize(count);
  out->children.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = page + kIntEntries + i * entry;
    std::memcpy(out->keys.data() + i * out->key_len, e, out->key_len);
    out->recnos[i] = Be32(e + out->key_len);
    out->children[i] = Be32(e + out->key_len + 4);
  }
  return Status::OK();
}

Status DecodeLeaf(const uint8_t* page, size_t count, uint8_t fill, PageRef ref, Node* out) {
  const size_t key_len = out->key_len;
  const int rec_bits = page[kLeafRecBits];
  const int dup_bits = page[kLeafDupBits];
  const int trl_bits = page[kLeafTrlBits];
  const size_t entry_bytes = page[kLeafEntryBytes];
  auto fault = [&](const std::string& what) {
    return Status::Corruption(ref.file, ref.offset, "leaf page: " + what);
  };
  if (entry_bytes == 0 || entry_bytes > kLeafMaxEntryBytes ||
      rec_bits + dup_bits + trl_bits > static_cast<int>(8 * entry_bytes) || rec_bits > 32) {
    return fault("impossible entry widths (record " + std::to_string(rec_bits) + ", duplicate " +
                 std::to_string(dup_bits) + ", trailing " + std::to_string(trl_bits) + " bits in " +
                 std::to_string(entry_bytes) + " bytes)");
  }
  if (count * entry_bytes > kLeafKeyAreaSize) {
    return fault("key count " + std::to_string(count) + " exceeds the page");
  }
  const uint64_t rec_mask = Le32(page + kLeafRecMask) & Mask(rec_bits);
  const uint64_t dup_mask = page[kLeafDupMask] & Mask(dup_bits);
  const uint64_t trl_mask = page[kLeafTrlMask] & Mask(trl_bits);
  out->keys.resize(count * key_len);
  out->recnos.resize(count);
  out->children.clear();
  size_t text_end = kPageSize;  // key text grows down from the page end
  const size_t entries_end = kLeafKeyArea + count * entry_bytes;
  char* keys = out->keys.data();
  for (size_t i = 0; i < count; ++i) {
    const uint64_t v = LeN(page + kLeafKeyArea + i * entry_bytes, entry_bytes);
    const size_t dup = i == 0 ? 0 : static_cast<size_t>((v >> rec_bits) & dup_mask);
    const size_t trail = static_cast<size_t>(Shr(v, rec_bits + dup_bits) & trl_mask);
    if (dup + trail > key_len) {
      return fault("entry " + std::to_string(i) + " has duplicate " + std::to_string(dup) +
                   " + trailing " + std::to_string(trail) + " bytes beyond key length " +
                   std::to_string(key_len));
    }
    const size_t stored = key_len - dup - trail;
    if (text_end < entries_end + stored) {
      return fault("key text of entry " + std::to_string(i) + " overlaps the entry array");
    }
    text_end -= stored;
    char* key = keys + i * key_len;
    if (dup > 0) std::memcpy(key, key - key_len, dup);
    std::memcpy(key + dup, page + text_end, stored);
    std::memset(key + dup + stored, fill, trail);
    out->recnos[i] = static_cast<uint32_t>(v & rec_mask);
  }
  return Status::OK();
}

}  // namespace

Status DecodePage(const uint8_t* page, size_t key_len, uint8_t fill, PageRef ref, Node* out) {
  out->attr = Le16(page + kPageAttr);
  out->left = Le32(page + kPageLeft);
  out->right = Le32(page + kPageRight);
  out->key_len = key_len;
  const size_t count = Le16(page + kPageCount);
  return out->leaf() ? DecodeLeaf(page, count, fill, ref, out)
                     : DecodeInterior(page, count, ref, out);
}

bool EncodeInterior(const Node& node, uint8_t* page) {
  const size_t entry = node.key_len + kIntEntryExtra;
  if (node.size() * entry > kIntEntrySpace) return false;
  std::memset(page, 0, kPageSize);
  PutPageHeader(node, page);
  for (size_t i = 0; i < node.size(); ++i) {
    uint8_t* e = page + kIntEntries + i * entry;
    std::memcpy(e, node.keys.data() + i * node.key_len, node.key_len);
    PutBe32(e + node.key_len, node.recnos[i]);
    PutBe32(e + node.key_len + 4, node.children[i]);
  }
  return true;
}

bool EncodeLeaf(const Node& node, uint8_t fill, uint8_t* page) {
  const size_t key_len = node.key_len;
  const size_t count = node.size();
  uint32_t max_recno = 0;
  for (uint32_t r : node.recnos) max_recno = std::max(max_recno, r);
  const LeafWidths w = WriterWidths(key_len, max_recno);
  if (count * w.entry_bytes > kLeafKeyAreaSize) return false;
  std::memset(page, 0, kPageSize);
  PutPageHeader(node, page);
  size_t text_end = kPageSize;
  const size_t entries_end = kLeafKeyArea + count * w.entry_bytes;
  for (size_t i = 0; i < count; ++i) {
    const std::string_view key = node.key(i);
    const size_t trail = TrailCount(key, fill);
    const size_t dup = i == 0 ? 0 : DupCount(node.key(i - 1), key, trail);
    const size_t stored = key_len - dup - trail;
    if (text_end < entries_end + stored) return false;
    text_end -= stored;
    std::memcpy(page + text_end, key.data() + dup, stored);
    const uint64_t v = node.recnos[i] | (uint64_t{dup} << w.rec_bits) |
                       (uint64_t{trail} << (w.rec_bits + w.dup_bits));
    PutLeN(page + kLeafKeyArea + i * w.entry_bytes, w.entry_bytes, v);
  }
  PutLe16(page + kLeafFree, static_cast<uint16_t>(text_end - entries_end));
  PutLe32(page + kLeafRecMask, static_cast<uint32_t>(Mask(w.rec_bits)));
  page[kLeafDupMask] = static_cast<uint8_t>(Mask(w.dup_bits));
  page[kLeafTrlMask] = static_cast<uint8_t>(Mask(w.trl_bits));
  page[kLeafRecBits] = w.rec_bits;
  page[kLeafDupBits] = w.dup_bits;
  page[kLeafTrlBits] = w.trl_bits;
  page[kLeafEntryBytes] = w.entry_bytes;
  return true;
}

}  // namespace qv::rdd::cdx
