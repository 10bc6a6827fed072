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

// Both run once per key of every bulk build and page write: eight bytes at
// a time, then byte by byte within the word that differs.
size_t TrailCount(std::string_view key, uint8_t fill) {
  size_t n = key.size();
  const uint64_t fills = 0x0101010101010101ull * fill;
  while (n >= 8) {
    uint64_t word;
    std::memcpy(&word, key.data() + n - 8, 8);
    if (word != fills) break;
    n -= 8;
  }
  while (n > 0 && static_cast<uint8_t>(key[n - 1]) == fill) --n;
  return key.size() - n;
}

size_t DupCount(std::string_view prev, std::string_view key, size_t trail) {
  const size_t limit = std::min(prev.size(), key.size() - trail);
  size_t n = 0;
  while (n + 8 <= limit) {
    uint64_t a, b;
    std::memcpy(&a, prev.data() + n, 8);
    std::memcpy(&b, key.data() + n, 8);
    if (a != b) break;
    n += 8;
  }
  while (n < limit && prev[n] == key[n]) ++n;
  return n;
}

size_t InteriorCapacity(size_t key_len) { return kIntEntrySpace / (key_len + kIntEntryExtra); }

void LeafSizer::Reset() {
  count_ = 0;
  stored_ = 0;
  max_recno_ = 0;
  measured_ = {};
}

size_t LeafSizer::StoredBytes(std::string_view prev, std::string_view key) const {
  const size_t trail = TrailCount(key, fill_);
  const size_t dup = prev.empty() ? 0 : DupCount(prev, key, trail);
  return key_len_ - dup - trail;
}

bool LeafSizer::Fits(std::string_view prev, std::string_view key, uint32_t recno) const {
  const uint32_t top = std::max(max_recno_, recno);
  if (!widths_valid_ || top != widths_recno_) {
    widths_ = WriterWidths(key_len_, top);
    widths_recno_ = top;
    widths_valid_ = true;
  }
  // Add takes the same entry next; it reuses this measure.
  measured_ = {prev.data(), key.data(), StoredBytes(prev, key)};
  return (count_ + 1) * widths_.entry_bytes + stored_ + measured_.stored <= kLeafKeyAreaSize;
}

void LeafSizer::Add(std::string_view prev, std::string_view key, uint32_t recno) {
  const bool measured = measured_.prev == prev.data() && measured_.key == key.data();
  stored_ += measured ? measured_.stored : StoredBytes(prev, key);
  max_recno_ = std::max(max_recno_, recno);
  ++count_;
}

namespace {
uint64_t Mask(int bits) { return bits >= 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1; }
uint64_t Shr(uint64_t v, int bits) { return bits >= 64 ? 0 : v >> bits; }
}  // namespace

Status LeafReader::Fault(const std::string& what) const {
  return Status::Corruption(ref_.file, ref_.offset, "leaf page: " + what);
}

Status LeafReader::Start() {
  count_ = Le16(page_ + kPageCount);
  rec_bits_ = page_[kLeafRecBits];
  dup_bits_ = page_[kLeafDupBits];
  const int trl_bits = page_[kLeafTrlBits];
  entry_bytes_ = page_[kLeafEntryBytes];
  if (entry_bytes_ == 0 || entry_bytes_ > kLeafMaxEntryBytes ||
      rec_bits_ + dup_bits_ + trl_bits > static_cast<int>(8 * entry_bytes_) || rec_bits_ > 32) {
    return Fault("impossible entry widths (record " + std::to_string(rec_bits_) + ", duplicate " +
                 std::to_string(dup_bits_) + ", trailing " + std::to_string(trl_bits) +
                 " bits in " + std::to_string(entry_bytes_) + " bytes)");
  }
  if (count_ * entry_bytes_ > kLeafKeyAreaSize) {
    return Fault("key count " + std::to_string(count_) + " exceeds the page");
  }
  rec_mask_ = Le32(page_ + kLeafRecMask) & Mask(rec_bits_);
  dup_mask_ = page_[kLeafDupMask] & Mask(dup_bits_);
  trl_mask_ = page_[kLeafTrlMask] & Mask(trl_bits);
  entry_mask_ = Mask(static_cast<int>(8 * entry_bytes_));
  entries_end_ = kLeafKeyArea + count_ * entry_bytes_;
  return Status::OK();
}

Status LeafReader::Next(Entry* e) {
  const size_t i = i_++;
  const size_t at = kLeafKeyArea + i * entry_bytes_;
  uint64_t v;
  if (std::endian::native == std::endian::little && at + 8 <= kPageSize) {
    std::memcpy(&v, page_ + at, 8);  // one load instead of a byte loop
    v &= entry_mask_;
  } else {
    v = LeN(page_ + at, entry_bytes_);
  }
  e->dup = i == 0 ? 0 : static_cast<size_t>((v >> rec_bits_) & dup_mask_);
  e->trail = static_cast<size_t>(Shr(v, rec_bits_ + dup_bits_) & trl_mask_);
  if (e->dup + e->trail > key_len_) {
    return Fault("entry " + std::to_string(i) + " has duplicate " + std::to_string(e->dup) +
                 " + trailing " + std::to_string(e->trail) + " bytes beyond key length " +
                 std::to_string(key_len_));
  }
  e->stored = key_len_ - e->dup - e->trail;
  if (text_end_ < entries_end_ + e->stored) {
    return Fault("key text of entry " + std::to_string(i) + " overlaps the entry array");
  }
  text_end_ -= e->stored;
  e->text = page_ + text_end_;
  e->recno = static_cast<uint32_t>(v & rec_mask_);
  return Status::OK();
}

namespace {

void PutPageHeader(const Node& node, uint8_t* page) {
  PutLe16(page + kPageAttr, node.attr);
  PutLe16(page + kPageCount, static_cast<uint16_t>(node.size()));
  PutLe32(page + kPageLeft, node.left);
  PutLe32(page + kPageRight, node.right);
}


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

Status DecodeLeaf(const uint8_t* page, uint8_t fill, PageRef ref, Node* out) {
  const size_t key_len = out->key_len;
  LeafReader reader(page, key_len, ref);
  QV_RETURN_IF_ERROR(reader.Start());
  const size_t count = reader.count();
  // Keys start as fill bytes, so each entry copies its shared prefix and
  // its stored bytes only.
  out->keys.assign(count * key_len, static_cast<char>(fill));
  out->recnos.resize(count);
  out->children.clear();
  char* keys = out->keys.data();
  LeafReader::Entry e;
  for (size_t i = 0; i < count; ++i) {
    QV_RETURN_IF_ERROR(reader.Next(&e));
    char* key = keys + i * key_len;
    if (e.dup > 0) std::memcpy(key, key - key_len, e.dup);
    std::memcpy(key + e.dup, e.text, e.stored);
    out->recnos[i] = e.recno;
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
  return out->leaf() ? DecodeLeaf(page, fill, ref, out) : DecodeInterior(page, count, ref, out);
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
