#include "platform/rdd/cdx/cdx_bag.h"

#include <algorithm>
#include <cstring>

#include "platform/rdd/cdx/cdx_check.h"
#include "platform/rdd/cdx/cdx_tag_header.h"

namespace qv::rdd::cdx {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperCase(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), Upper);
  return out;
}

Result<TagHeader> ReadHeader(Pager& pager, uint32_t offset) {
  uint8_t bytes[kTagHeaderSize];
  QV_RETURN_IF_ERROR(pager.Read(offset, bytes, 0));
  QV_RETURN_IF_ERROR(pager.Read(offset + kPageSize, bytes + kPageSize, 0));
  return DecodeTagHeader(bytes, PageRef{pager.path(), offset});
}

Status WriteHeader(Pager& pager, uint32_t offset, const TagHeader& header) {
  uint8_t bytes[kTagHeaderSize];
  EncodeTagHeader(header, bytes);
  QV_RETURN_IF_ERROR(pager.Write(offset, bytes));
  return pager.Write(offset + kPageSize, bytes + kPageSize);
}

}  // namespace

std::string DirectoryKey(std::string_view name) {
  return EncodeChar(UpperCase(name), kDirectoryKeyLen);
}

Result<std::unique_ptr<Bag>> Bag::Open(fs::Env& env, const std::string& path,
                                       const BagOptions& options) {
  QV_ASSIGN_OR_RETURN(auto file, env.Open(path, options.read_only ? fs::OpenMode::kRead
                                                                  : fs::OpenMode::kReadWrite));
  return OpenFile(std::move(file), options);
}

Result<std::unique_ptr<Bag>> Bag::OpenFile(std::unique_ptr<fs::File> file,
                                           const BagOptions& options) {
  auto pager = std::make_unique<Pager>(std::move(file), options.shared, options.read_only);
  QV_RETURN_IF_ERROR(pager->Load());
  std::unique_ptr<Bag> bag(new Bag(std::move(pager)));
  IndexLock lock(*bag->pager_, false);
  QV_RETURN_IF_ERROR(lock.status());
  QV_RETURN_IF_ERROR(bag->LoadDirectory());
  return bag;
}

Result<std::unique_ptr<Bag>> Bag::Create(fs::Env& env, const std::string& path) {
  QV_ASSIGN_OR_RETURN(auto file, env.Open(path, fs::OpenMode::kCreate));
  std::unique_ptr<Bag> bag(new Bag(std::make_unique<Pager>(std::move(file), false, false)));
  QV_RETURN_IF_ERROR(bag->WriteEmptyBag());
  QV_RETURN_IF_ERROR(bag->Flush(true));
  return bag;
}

// The file header (the directory's tag header) at 0 and an empty directory
// root leaf right after it, as a fresh bag starts.
Status Bag::WriteEmptyBag() {
  const uint32_t header = pager_->AllocateAtEnd(kTagHeaderSize / kPageSize);
  Node root;
  root.attr = kAttrRoot | kAttrLeaf;
  root.key_len = kDirectoryKeyLen;
  TagHeader h;
  h.root = pager_->AllocateAtEnd(1);
  h.key_len = kDirectoryKeyLen;
  h.options = kOptDirectoryBase;
  QV_RETURN_IF_ERROR(WriteHeader(*pager_, header, h));
  uint8_t page[kPageSize];
  EncodeLeaf(root, ' ', page);
  return pager_->Write(h.root, page);
}

Result<Tree> Bag::Directory() {
  QV_ASSIGN_OR_RETURN(TagHeader h, ReadHeader(*pager_, 0));
  return Tree(*pager_, h.root, kHdrRoot, h.key_len, ' ');
}

Status Bag::LoadDirectory() {
  QV_ASSIGN_OR_RETURN(Tree dir, Directory());
  infos_.clear();
  tags_.clear();
  Path path;
  QV_RETURN_IF_ERROR(dir.DescendEdge(false, &path));
  Node leaf = path.back().node;
  uint32_t offset = path.back().offset;
  for (uint64_t hops = 0;; ++hops) {
    if (hops > pager_->end() / kPageSize)
      return pager_->Corrupt(offset, "cycle of directory pages");
    for (size_t i = 0; i < leaf.size(); ++i) {
      const uint32_t at = leaf.recnos[i];
      if (at % kPageSize != 0 || at < kTagHeaderSize) {
        return pager_->Corrupt(
            offset, "directory entry points at " + std::to_string(at) + ", not a tag header");
      }
      QV_ASSIGN_OR_RETURN(TagHeader h, ReadHeader(*pager_, at));
      std::string name(leaf.key(i));
      while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
      infos_.push_back(
          TagInfo{name, h.key_expr, h.for_expr, h.unique(), h.descending, h.key_len, at});
    }
    if (leaf.right == kNoPage) break;
    offset = leaf.right;
    QV_RETURN_IF_ERROR(dir.ReadNode(offset, &leaf));
  }
  std::sort(infos_.begin(), infos_.end(),
            [](const TagInfo& a, const TagInfo& b) { return a.header_offset < b.header_offset; });
  for (size_t i = 1; i < infos_.size(); ++i) {
    if (infos_[i].header_offset == infos_[i - 1].header_offset) {
      return pager_->Corrupt(infos_[i].header_offset, "two directory entries share a tag header");
    }
  }
  tags_.resize(infos_.size());
  return Status::OK();
}

std::optional<size_t> Bag::FindTag(std::string_view name) const {
  const std::string want = UpperCase(name);
  for (size_t i = 0; i < infos_.size(); ++i) {
    if (UpperCase(infos_[i].name) == want) return i;
  }
  return std::nullopt;
}

Result<Tag*> Bag::OpenTag(size_t i, KeyType type) {
  if (tags_[i] == nullptr || tags_[i]->type() != type) {
    IndexLock lock(*pager_, false);
    QV_RETURN_IF_ERROR(lock.status());
    QV_ASSIGN_OR_RETURN(TagHeader h, ReadHeader(*pager_, infos_[i].header_offset));
    tags_[i] = std::make_unique<Tag>(*pager_, infos_[i], h.root, type);
  }
  return tags_[i].get();
}

Status Bag::Flush(bool sync) { return pager_->Flush(sync); }

Status Bag::CheckDirectory() {
  IndexLock lock(*pager_, false);
  QV_RETURN_IF_ERROR(lock.status());
  QV_RETURN_IF_ERROR(CheckFreeList(*pager_));
  QV_ASSIGN_OR_RETURN(Tree dir, Directory());
  uint64_t count = 0;
  return CheckTree(dir, true, &count);
}

Status Bag::CheckTag(size_t i, KeyType type, uint64_t* key_count) {
  QV_ASSIGN_OR_RETURN(Tag * tag, OpenTag(i, type));
  IndexLock lock(*pager_, false);
  QV_RETURN_IF_ERROR(lock.status());
  QV_RETURN_IF_ERROR(tag->Refresh());
  return CheckTree(tag->tree(), tag->info().unique, key_count);
}

}  // namespace qv::rdd::cdx
