// Index keys and FOR conditions of a tag evaluated against one record image:
// the expression is compiled once, the record is seen as the only open work
// area, and the value is encoded as CDX key bytes of the tag's type.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/rdd/cdx/cdx_key.h"
#include "platform/rdd/table.h"
#include "platform/runtime/value.h"

namespace qv::rdd {

class KeyExpr {
 public:
  // Compiles key_text (and for_text unless empty) for table's fields; the
  // key type and length come from the key's value on a blank record.
  // InvalidArgument when either does not compile or the key is no C, N, D
  // or L value. REQUIRES: table outlives the object.
  static Result<std::unique_ptr<KeyExpr>> Compile(Table& table, std::string_view key_text,
                                                  std::string_view for_text);
  ~KeyExpr();

  cdx::KeyType type() const { return type_; }
  uint16_t key_len() const { return key_len_; }
  const std::string& key_text() const { return key_text_; }
  // A tag written elsewhere may keep character keys of another length.
  void set_key_len(uint16_t key_len) { key_len_ = key_len; }

  // The key bytes of the record image (deletion flag first) numbered recno.
  Result<std::string> Key(uint32_t recno, std::string_view image);
  // The same into *key, reusing its buffer (a build calls it per record).
  Status KeyTo(uint32_t recno, std::string_view image, std::string* key);
  // Whether the record belongs in the tag (true without a FOR condition).
  Result<bool> Includes(uint32_t recno, std::string_view image);

  // The bytes a seek for value looks for: a C value is not padded, so it
  // matches as a prefix. InvalidArgument when value's type is not the key's.
  Result<std::string> SeekKey(const rt::Value& value) const;

 private:
  KeyExpr();
  Result<rt::Value> Eval(bool for_cond, uint32_t recno, std::string_view image);
  Result<std::string> Encode(const rt::Value& value) const;

  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string key_text_;
  cdx::KeyType type_ = cdx::KeyType::kChar;
  uint16_t key_len_ = 0;
};

}  // namespace qv::rdd
