// A CDX bag: one file holding a directory of named tags. Open one from a host
// path through an Env, list its tags, open a tag with its key type for
// cursors and single-key maintenance, build a tag from sorted keys, drop one,
// empty them all (zap) and verify the structure. This is the entry header of
// the CDX code.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/env.h"
#include "platform/rdd/cdx/cdx_builder.h"
#include "platform/rdd/cdx/cdx_cursor.h"
#include "platform/rdd/cdx/cdx_tag.h"

namespace qv::rdd::cdx {

struct BagOptions {
  bool shared = false;  // other processes may use the bag: lock each step
  bool read_only = false;
};

// What a new tag is made of.
struct TagSpec {
  std::string name;  // 1..kMaxTagName bytes; stored in upper case
  std::string key_expr;
  std::string for_expr;  // "" for none
  bool unique = false;
  bool descending = false;
  KeyType type = KeyType::kChar;
  uint16_t key_len = 0;  // 1..kMaxKeyLen
};

class Bag {
 public:
  // Opens an existing bag. Corruption when its header or directory is damaged.
  static Result<std::unique_ptr<Bag>> Open(fs::Env& env, const std::string& path,
                                           const BagOptions& options);
  // The same over a file already open (the fuzz target feeds memory files).
  static Result<std::unique_ptr<Bag>> OpenFile(std::unique_ptr<fs::File> file,
                                               const BagOptions& options);
  // A new bag without tags at path, replacing any file there; open exclusively.
  static Result<std::unique_ptr<Bag>> Create(fs::Env& env, const std::string& path);

  const std::string& path() const { return pager_->path(); }
  Pager& pager() { return *pager_; }

  // Tags in the bag's order (creation order: ascending header offset).
  size_t tag_count() const { return infos_.size(); }
  const TagInfo& tag_info(size_t i) const { return infos_[i]; }
  // Index of the tag with this name (case-insensitive).
  std::optional<size_t> FindTag(std::string_view name) const;
  // Tag i, decoding its keys as type (the type of its key expression). The
  // pointer stays valid until AddTag, DropTag or Zap. REQUIRES: i < tag_count().
  Result<Tag*> OpenTag(size_t i, KeyType type);

  // Writes a tag built from keys in a tag's order (a unique tag keeps the
  // first record of each key), replacing a tag of the same name, then syncs.
  // The keys are taken in the order order lists (SortOrder), or as they
  // stand when order is null (SortKeys). A failure leaves the bag as it was.
  Status AddTag(const TagSpec& spec, const KeyList& keys,
                const std::vector<uint32_t>* order = nullptr);
  // NotFound when there is no such tag.
  Status DropTag(std::string_view name);
  // Empties every tag: the file is rewritten as a fresh bag with the same
  // tags, then synced.
  Status Zap();
  // Writes staged pages (and syncs when sync is set).
  Status Flush(bool sync);

  // Verifies the free list and the directory; CheckTag verifies one tag
  // read as type and gives its key count.
  Status CheckDirectory();
  Status CheckTag(size_t i, KeyType type, uint64_t* key_count);

 private:
  explicit Bag(std::unique_ptr<Pager> pager) : pager_(std::move(pager)) {}
  Status LoadDirectory();
  Result<Tree> Directory();
  Status WriteEmptyBag();
  Status BuildTag(const TagSpec& spec, const KeyList& keys, const std::vector<uint32_t>* order,
                  bool* published);
  Status FreeTagPages(size_t i);

  std::unique_ptr<Pager> pager_;
  std::vector<TagInfo> infos_;
  std::vector<std::unique_ptr<Tag>> tags_;  // parallel to infos_; null until opened
};

// The tag name as the directory stores it: upper case, padded to 10 bytes.
std::string DirectoryKey(std::string_view name);

}  // namespace qv::rdd::cdx
