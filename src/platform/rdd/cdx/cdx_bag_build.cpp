// Changing a bag's set of tags: bulk-built tags, dropped tags and zap.
#include <cstring>

#include "platform/rdd/cdx/cdx_bag.h"
#include "platform/rdd/cdx/cdx_tag_header.h"

namespace qv::rdd::cdx {

namespace {

Status ValidateSpec(const TagSpec& spec) {
  if (spec.name.empty() || spec.name.size() > kMaxTagName ||
      spec.name.find(' ') != std::string::npos) {
    return Status::InvalidArgument("tag name \"" + spec.name + "\" must be 1 to 10 characters");
  }
  if (spec.key_len == 0 || spec.key_len > kMaxKeyLen) {
    return Status::InvalidArgument("key length " + std::to_string(spec.key_len) + " outside 1.." +
                                   std::to_string(kMaxKeyLen));
  }
  if (!ExpressionsFit(spec.key_expr, spec.for_expr)) {
    return Status::InvalidArgument("key and FOR expressions too long for a tag header");
  }
  return Status::OK();
}

}  // namespace

Status Bag::AddTag(const TagSpec& spec, const KeyList& keys, const std::vector<uint32_t>* order) {
  QV_RETURN_IF_ERROR(ValidateSpec(spec));
  if (order != nullptr && order->size() != keys.size()) {
    return Status::InvalidArgument("sort order and keys differ in number");
  }
  if (keys.key_len != spec.key_len)
    return Status::InvalidArgument("keys differ in length from the tag");
  IndexLock lock(*pager_, true);
  QV_RETURN_IF_ERROR(lock.status());
  pager_->MarkUndo();
  bool published = false;
  Status s = BuildTag(spec, keys, order, &published);
  if (!s.ok()) {
    if (!published) (void)pager_->Undo();
    (void)LoadDirectory();
    return s;
  }
  return lock.Release();
}

// The new tag's pages and header reach the disk first, then the directory
// entry that makes it visible; a tag of the same name is unhooked in the
// same directory write and its pages freed last. A failure before the
// directory write leaves the bag as it was (AddTag undoes the rest); after
// it, *published is set and a failure only leaks the old tag's pages.
Status Bag::BuildTag(const TagSpec& spec, const KeyList& keys, const std::vector<uint32_t>* order,
                     bool* published) {
  const uint32_t header = pager_->AllocateAtEnd(kTagHeaderSize / kPageSize);
  TreeBuilder builder(*pager_, spec.key_len, FillByte(spec.type));
  std::string_view prev;
  // The sort order visits the key arrays at random: fetch a few entries
  // ahead so the memory latency overlaps the page building.
  constexpr size_t kAhead = 16;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (order != nullptr && i + kAhead < keys.size()) {
      const size_t ahead = (*order)[i + kAhead];
      const char* key = keys.keys.data() + ahead * keys.key_len;
      __builtin_prefetch(key);
      __builtin_prefetch(key + keys.key_len - 1);  // a key may span two cache lines
      __builtin_prefetch(keys.recnos.data() + ahead);
    }
    const size_t at = order != nullptr ? (*order)[i] : i;
    const std::string_view key = keys.key(at);
    if (spec.unique && i > 0 && key == prev) continue;
    QV_RETURN_IF_ERROR(builder.Add(key, keys.recnos[at]));
    prev = key;
  }
  TagHeader h;
  QV_ASSIGN_OR_RETURN(h.root, builder.Finish());
  h.key_len = spec.key_len;
  h.options = static_cast<uint8_t>(kOptTagBase | (spec.unique ? kOptUnique : 0));
  h.descending = spec.descending;
  h.key_expr = spec.key_expr;
  h.for_expr = spec.for_expr;
  uint8_t bytes[kTagHeaderSize];
  EncodeTagHeader(h, bytes);
  QV_RETURN_IF_ERROR(pager_->Write(header, bytes));
  QV_RETURN_IF_ERROR(pager_->Write(header + kPageSize, bytes + kPageSize));
  QV_RETURN_IF_ERROR(pager_->Flush(true));

  QV_ASSIGN_OR_RETURN(Tree dir, Directory());
  const auto old = FindTag(spec.name);
  if (old) QV_RETURN_IF_ERROR(dir.Remove(DirectoryKey(spec.name), infos_[*old].header_offset));
  QV_RETURN_IF_ERROR(dir.Insert(DirectoryKey(spec.name), header));
  QV_RETURN_IF_ERROR(pager_->Flush(true));
  *published = true;
  if (old) {
    QV_RETURN_IF_ERROR(FreeTagPages(*old));
    QV_RETURN_IF_ERROR(pager_->Flush(true));
  }
  TagInfo info{DirectoryKey(spec.name), spec.key_expr, spec.for_expr, spec.unique,
               spec.descending,         spec.key_len,  header};
  while (!info.name.empty() && info.name.back() == ' ') info.name.pop_back();
  infos_.push_back(info);
  tags_.push_back(std::make_unique<Tag>(*pager_, info, h.root, spec.type));
  return Status::OK();
}

// Frees the header and pages of tag i (already out of the directory) and
// forgets it.
Status Bag::FreeTagPages(size_t i) {
  const TagInfo info = infos_[i];
  QV_ASSIGN_OR_RETURN(Tag * tag, OpenTag(i, tags_[i] ? tags_[i]->type() : KeyType::kChar));
  QV_RETURN_IF_ERROR(tag->Refresh());
  QV_RETURN_IF_ERROR(tag->tree().FreeAll());
  QV_RETURN_IF_ERROR(pager_->Free(info.header_offset + kPageSize));
  QV_RETURN_IF_ERROR(pager_->Free(info.header_offset));
  infos_.erase(infos_.begin() + static_cast<std::ptrdiff_t>(i));
  tags_.erase(tags_.begin() + static_cast<std::ptrdiff_t>(i));
  return Status::OK();
}

Status Bag::DropTag(std::string_view name) {
  const auto i = FindTag(name);
  if (!i) return Status::NotFound("no tag " + std::string(name) + " in " + path());
  IndexLock lock(*pager_, true);
  QV_RETURN_IF_ERROR(lock.status());
  QV_ASSIGN_OR_RETURN(Tree dir, Directory());
  QV_RETURN_IF_ERROR(dir.Remove(DirectoryKey(infos_[*i].name), infos_[*i].header_offset));
  QV_RETURN_IF_ERROR(pager_->Flush(true));
  QV_RETURN_IF_ERROR(FreeTagPages(*i));
  QV_RETURN_IF_ERROR(pager_->Flush(true));
  return lock.Release();
}

Status Bag::Zap() {
  IndexLock lock(*pager_, true);
  QV_RETURN_IF_ERROR(lock.status());
  std::vector<TagSpec> specs;
  for (size_t i = 0; i < infos_.size(); ++i) {
    const TagInfo& t = infos_[i];
    specs.push_back(TagSpec{t.name, t.key_expr, t.for_expr, t.unique, t.descending,
                            tags_[i] ? tags_[i]->type() : KeyType::kChar, t.key_len});
  }
  infos_.clear();
  tags_.clear();
  QV_RETURN_IF_ERROR(pager_->Reset());
  QV_RETURN_IF_ERROR(WriteEmptyBag());
  for (const TagSpec& spec : specs) {
    bool published = false;
    QV_RETURN_IF_ERROR(BuildTag(spec, KeyList(spec.key_len), nullptr, &published));
  }
  QV_RETURN_IF_ERROR(pager_->Flush(true));
  return lock.Release();
}

}  // namespace qv::rdd::cdx
