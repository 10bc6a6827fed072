// A tag header (1024 bytes: fields and expression pool), also the shape of
// the bag's file header at offset 0, which heads the tag directory.
#pragma once

#include <cstdint>
#include <string>

#include "platform/fs/status.h"
#include "platform/rdd/cdx/cdx_node.h"

namespace qv::rdd::cdx {

struct TagHeader {
  uint32_t root = 0;
  uint32_t free_list = 0;  // file header only
  uint32_t counter = 0;    // file header only (change counter)
  uint16_t key_len = 0;
  uint8_t options = kOptTagBase;
  bool descending = false;
  std::string key_expr;
  std::string for_expr;

  bool unique() const { return (options & kOptUnique) != 0; }
  bool directory() const { return (options & kOptDirectory) != 0; }
};

// Decodes kTagHeaderSize bytes. A key length of 0 or above kMaxKeyLen, or
// expressions outside the pool, give Status::Corruption naming ref.
Result<TagHeader> DecodeTagHeader(const uint8_t* bytes, PageRef ref);

// Encodes in the reference runtime's layout: header and page length words,
// zeros where a writer signs its files, key text then FOR text in the pool.
// The FOR option bit follows for_expr. REQUIRES: the texts fit the pool.
void EncodeTagHeader(const TagHeader& header, uint8_t* bytes);

// Whether key and FOR text (each with its 0x00) fit the expression pool.
bool ExpressionsFit(const std::string& key_expr, const std::string& for_expr);

}  // namespace qv::rdd::cdx
