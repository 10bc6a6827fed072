#include "platform/rdd/cdx/cdx_tag_header.h"

#include <cstring>

#include "platform/rdd/cdx/cdx_bytes.h"

namespace qv::rdd::cdx {

namespace {

// Text from pos up to its 0x00 (or the pool end), at most len - 1 bytes.
std::string PoolText(const uint8_t* pool, size_t pos, size_t len) {
  std::string text;
  for (size_t i = pos; i < kPoolSize && (len == 0 || i < pos + len - 1) && pool[i] != 0; ++i) {
    text.push_back(static_cast<char>(pool[i]));
  }
  return text;
}

}  // namespace

Result<TagHeader> DecodeTagHeader(const uint8_t* bytes, PageRef ref) {
  TagHeader h;
  h.root = Le32(bytes + kHdrRoot);
  h.free_list = Le32(bytes + kHdrFreeList);
  h.counter = Be32(bytes + kHdrCounter);
  h.key_len = Le16(bytes + kHdrKeyLen);
  h.options = bytes[kHdrOptions];
  h.descending = Le16(bytes + kHdrDescending) != 0;
  if (h.key_len == 0 || h.key_len > kMaxKeyLen) {
    return Status::Corruption(ref.file, ref.offset + kHdrKeyLen,
                              "tag header key length " + std::to_string(h.key_len) +
                                  " (expected 1.." + std::to_string(kMaxKeyLen) + ")");
  }
  if (h.root % kPageSize != 0 || h.root == 0) {
    return Status::Corruption(ref.file, ref.offset + kHdrRoot,
                              "tag root " + std::to_string(h.root) + " is not a page offset");
  }
  size_t key_pos = Le16(bytes + kHdrKeyPos);
  size_t key_len = Le16(bytes + kHdrKeyExprLen);
  size_t for_pos = Le16(bytes + kHdrForPos);
  const size_t for_len = Le16(bytes + kHdrForLen);
  if (key_pos == 0 && for_pos == 0) for_pos = key_len;  // writers that leave the words 0
  if (key_pos >= kPoolSize || for_pos > kPoolSize) {
    return Status::Corruption(ref.file, ref.offset + kHdrForPos,
                              "expression positions lie outside the pool");
  }
  const uint8_t* pool = bytes + kHdrPool;
  h.key_expr = PoolText(pool, key_pos, key_len);
  if (for_pos < kPoolSize) h.for_expr = PoolText(pool, for_pos, for_len);
  return h;
}

bool ExpressionsFit(const std::string& key_expr, const std::string& for_expr) {
  return key_expr.size() + 1 + for_expr.size() + 1 <= kPoolSize;
}

void EncodeTagHeader(const TagHeader& h, uint8_t* bytes) {
  std::memset(bytes, 0, kTagHeaderSize);
  PutLe32(bytes + kHdrRoot, h.root);
  PutLe32(bytes + kHdrFreeList, h.free_list);
  PutBe32(bytes + kHdrCounter, h.counter);
  PutLe16(bytes + kHdrKeyLen, h.key_len);
  uint8_t options = h.options & static_cast<uint8_t>(~kOptFor);
  if (!h.for_expr.empty()) options |= kOptFor;
  bytes[kHdrOptions] = options;
  bytes[kHdrSignature] = kSignature;
  PutLe16(bytes + kHdrHeaderLen, static_cast<uint16_t>(kTagHeaderSize));
  PutLe16(bytes + kHdrPageLen, static_cast<uint16_t>(kPageSize));
  PutLe16(bytes + kHdrDescending, h.descending ? 1 : 0);
  const size_t key_size = h.key_expr.size() + 1;
  PutLe16(bytes + kHdrForPos, static_cast<uint16_t>(key_size));
  PutLe16(bytes + kHdrForLen, static_cast<uint16_t>(h.for_expr.size() + 1));
  PutLe16(bytes + kHdrKeyPos, 0);
  PutLe16(bytes + kHdrKeyExprLen, static_cast<uint16_t>(key_size));
  uint8_t* pool = bytes + kHdrPool;
  std::memcpy(pool, h.key_expr.data(), h.key_expr.size());
  std::memcpy(pool + key_size, h.for_expr.data(), h.for_expr.size());
}

}  // namespace qv::rdd::cdx
