// Opening, maintaining and rebuilding CDX bags behind the order seam.
#include "platform/rdd/cdx_order_bag.h"

#include <malloc.h>

#include "platform/rdd/detail/cdx_adapter.h"
#include "platform/rdd/pack.h"
#include "platform/rdd/table.h"
#include "platform/runtime/text.h"

namespace qv::rdd {
namespace {

std::string BagBaseName(const std::string& path) {
  size_t start = path.find_last_of("/\\:");
  start = start == std::string::npos ? 0 : start + 1;
  std::string name = path.substr(start, path.find('.', start) - start);
  if (name.size() > 10) name.resize(10);
  return rt::Upper(name);
}

Result<std::unique_ptr<OrderBag>> Wrap(Table& table, std::unique_ptr<cdx::Bag> bag,
                                       cdx::BagOptions options) {
  auto adapter = std::make_unique<CdxOrderBag>(table, std::move(bag), options);
  QV_RETURN_IF_ERROR(adapter->Reload());
  return std::unique_ptr<OrderBag>(std::move(adapter));
}

// Hands the freed key arrays of a build back to the system as the build
// ends. The allocator would keep them (tens of megabytes for a big table) in
// its heap once it had moved its mapping threshold above them, and the next
// build, such as pack's of every tag, would come on top.
class BuildMemory {
 public:
  BuildMemory() = default;
  BuildMemory(const BuildMemory&) = delete;
  BuildMemory& operator=(const BuildMemory&) = delete;
  ~BuildMemory() { malloc_trim(0); }
};

Result<cdx::TagSpec> SpecFor(const cdx::TagInfo& info, const KeyExpr& expr) {
  cdx::TagSpec spec;
  spec.name = info.name;
  spec.key_expr = info.key_expr;
  spec.for_expr = info.for_expr;
  spec.unique = info.unique;
  spec.descending = info.descending;
  spec.type = expr.type();
  spec.key_len = expr.key_len();
  return spec;
}

}  // namespace

Status CollectKeys(Table& table, KeyExpr& expr, cdx::KeyList* keys,
                   const BuildProgress& progress) {
  QV_ASSIGN_OR_RETURN(uint32_t count, table.RecordCount());
  keys->recnos.reserve(count);
  keys->keys.reserve(static_cast<size_t>(count) * keys->key_len);
  std::string key;
  for (uint32_t recno = 1; recno <= count; ++recno) {
    if (progress && recno % 10 == 0 && !progress(recno, count)) {
      return Status::Cancelled("index build stopped at record " + std::to_string(recno));
    }
    QV_ASSIGN_OR_RETURN(std::string_view image, table.ReadRecord(recno));
    QV_ASSIGN_OR_RETURN(bool included, expr.Includes(recno, image));
    if (!included) continue;
    QV_RETURN_IF_ERROR(expr.KeyTo(recno, image, &key));
    keys->Add(key, recno);
  }
  return Status::OK();
}

Result<std::unique_ptr<OrderBag>> OpenCdxBag(fs::Env& env, const std::string& path, Table& table,
                                             fs::ShareMode share, bool read_only) {
  if (!read_only) QV_RETURN_IF_ERROR(RecoverInterruptedRebuild(env, path));
  QV_ASSIGN_OR_RETURN(auto file,
                      env.Open(path, read_only ? fs::OpenMode::kRead : fs::OpenMode::kReadWrite));
  QV_RETURN_IF_ERROR(file->SetShareMode(share));
  cdx::BagOptions options{share == fs::ShareMode::kShared, read_only};
  QV_ASSIGN_OR_RETURN(auto bag, cdx::Bag::OpenFile(std::move(file), options));
  return Wrap(table, std::move(bag), options);
}

Result<std::unique_ptr<OrderBag>> CreateCdxBag(fs::Env& env, const std::string& path,
                                               Table& table) {
  {
    QV_ASSIGN_OR_RETURN(auto created, cdx::Bag::Create(env, path));
  }
  return OpenCdxBag(env, path, table,
                    table.exclusive() ? fs::ShareMode::kExclusive : fs::ShareMode::kShared, false);
}

BagOpener CdxBagOpener() { return OpenCdxBag; }

Status CdxOrderBag::Reload() {
  std::vector<std::unique_ptr<CdxOrder>> old = std::move(orders_);
  orders_.clear();
  for (size_t i = 0; i < bag_->tag_count(); ++i) {
    const cdx::TagInfo& info = bag_->tag_info(i);
    std::unique_ptr<CdxOrder> order;
    for (auto& o : old) {
      if (o && o->Name() == info.name) order = std::move(o);
    }
    if (!order) {
      auto expr = KeyExpr::Compile(table_, info.key_expr, info.for_expr);
      if (!expr.ok()) {
        return Status::InvalidArgument(path_ + ": tag " + info.name + ": " +
                                       expr.status().message());
      }
      order = std::make_unique<CdxOrder>(*this, std::move(expr).value());
    }
    if (order->expr().type() == cdx::KeyType::kChar) order->expr().set_key_len(info.key_len);
    QV_ASSIGN_OR_RETURN(cdx::Tag * tag, bag_->OpenTag(i, order->expr().type()));
    order->Bind(tag);
    orders_.push_back(std::move(order));
  }
  ++stamp_;
  return Status::OK();
}

Status CdxOrderBag::RecordWritten(uint32_t recno, std::string_view old_image,
                                  std::string_view new_image) {
  ++stamp_;
  for (auto& order : orders_) {
    std::string old_key, new_key;
    bool had = false;
    if (!old_image.empty()) {
      QV_ASSIGN_OR_RETURN(had, order->KeyOf(recno, old_image, &old_key));
    }
    QV_ASSIGN_OR_RETURN(bool has, order->KeyOf(recno, new_image, &new_key));
    if (had && has && old_key == new_key) continue;
    if (order->tag().info().unique) {
      QV_RETURN_IF_ERROR(
          MaintainUnique(*order, recno, had ? &old_key : nullptr, has ? &new_key : nullptr));
      continue;
    }
    if (had) QV_RETURN_IF_ERROR(order->tag().Remove(old_key, recno));
    if (has) QV_RETURN_IF_ERROR(order->tag().Insert(new_key, recno));
  }
  return Status::OK();
}

// A unique tag holds each key value once, under the first record in record
// order that gives it, as a build does. When that record leaves the value
// the next record giving it takes its place, so the value is not lost while
// a record still has it. One index lock covers the whole step.
Status CdxOrderBag::MaintainUnique(CdxOrder& order, uint32_t recno, const std::string* old_key,
                                   const std::string* new_key) {
  cdx::Tag& tag = order.tag();
  cdx::IndexLock lock(tag.pager(), true);
  QV_RETURN_IF_ERROR(lock.status());
  if (old_key != nullptr) {
    QV_ASSIGN_OR_RETURN(uint32_t holder, tag.Holder(*old_key));
    if (holder == recno) {
      QV_RETURN_IF_ERROR(tag.Remove(*old_key, recno));
      QV_ASSIGN_OR_RETURN(uint32_t next, FirstRecordWith(order, *old_key, recno));
      if (next != 0) QV_RETURN_IF_ERROR(tag.Insert(*old_key, next));
    }
  }
  if (new_key != nullptr) {
    QV_ASSIGN_OR_RETURN(uint32_t holder, tag.Holder(*new_key));
    if (holder > recno) QV_RETURN_IF_ERROR(tag.Remove(*new_key, holder));
    if (holder == 0 || holder > recno) QV_RETURN_IF_ERROR(tag.Insert(*new_key, recno));
  }
  return lock.Release();
}

// The first record other than skip whose key in order is key; 0 when none.
// A scan of the table: a unique tag keeps no other record of the key.
Result<uint32_t> CdxOrderBag::FirstRecordWith(CdxOrder& order, const std::string& key,
                                              uint32_t skip) {
  QV_ASSIGN_OR_RETURN(uint32_t count, table_.RecordCount());
  std::string have;
  for (uint32_t r = 1; r <= count; ++r) {
    if (r == skip) continue;
    QV_ASSIGN_OR_RETURN(std::string_view image, table_.ReadRecord(r));
    QV_ASSIGN_OR_RETURN(bool held, order.KeyOf(r, image, &have));
    if (held && have == key) return r;
  }
  return 0u;
}

Status CdxOrderBag::Zap() { return Rebuild(table_); }

// The new bag is written beside and renamed over the old one, so a crash
// leaves one whole bag or the other, never a half-rewritten file; nothing of
// a damaged bag but its tag list is read. Others sharing the bag would keep
// the old file, hence exclusive use only.
Status CdxOrderBag::Rebuild(Table& table) {
  if (options_.read_only) return Status::InvalidArgument(path_ + ": index opened read-only");
  if (options_.shared) {
    return Status::InvalidArgument(path_ + ": rebuilding the index needs exclusive use");
  }
  fs::Env& env = table.env();
  const std::string beside = path_ + kBagNewSuffix;
  auto file = BuildBeside(table, beside);
  if (!file.ok()) {
    (void)env.Remove(beside);
    return file.status();
  }
  QV_RETURN_IF_ERROR(env.Rename(beside, path_));  // the commit point
  QV_RETURN_IF_ERROR(env.SyncDir(FolderOf(path_)));
  return Adopt(std::move(file).value());
}

// A bag beside that a rebuild or zap left behind was never renamed in, so
// the bag itself is the one to keep. Only removed when no process holds it
// (its writer holds the exclusive share lock until the rename).
Status RecoverInterruptedRebuild(fs::Env& env, const std::string& path) {
  // ".zap-new": where zaps of earlier versions wrote their new bag.
  for (const char* suffix : {kBagNewSuffix, ".zap-new"}) {
    const std::string beside = path + suffix;
    if (!env.Stat(beside).ok()) continue;
    {
      auto file = env.Open(beside, fs::OpenMode::kReadWrite);
      if (!file.ok()) continue;  // gone meanwhile, or not ours to judge
      Status held = (*file)->SetShareMode(fs::ShareMode::kExclusive);
      if (held.IsLockBusy()) continue;  // a rebuild is at work
      QV_RETURN_IF_ERROR(held);
    }
    Status removed = env.Remove(beside);
    if (!removed.ok() && !removed.IsNotFound()) return removed;
    QV_RETURN_IF_ERROR(env.SyncDir(FolderOf(path)));
  }
  return Status::OK();
}

Result<std::unique_ptr<fs::File>> CdxOrderBag::BuildBeside(Table& table,
                                                           const std::string& new_path) {
  QV_ASSIGN_OR_RETURN(auto locked, CreateExclusive(table.env(), new_path));
  QV_ASSIGN_OR_RETURN(auto fresh, cdx::Bag::Create(table.env(), new_path));
  for (auto& order : orders_) {
    QV_ASSIGN_OR_RETURN(auto expr, KeyExpr::Compile(table, order->KeyText(), order->ForText()));
    expr->set_key_len(order->expr().key_len());
    BuildMemory released;  // after the keys below are freed
    cdx::KeyList keys(expr->key_len());
    QV_RETURN_IF_ERROR(CollectKeys(table, *expr, &keys, nullptr));
    const std::vector<uint32_t> sorted = cdx::SortOrder(keys);
    QV_ASSIGN_OR_RETURN(cdx::TagSpec spec, SpecFor(order->tag().info(), *expr));
    QV_RETURN_IF_ERROR(fresh->AddTag(spec, keys, &sorted));
  }
  QV_RETURN_IF_ERROR(fresh->Flush(true));
  return locked;
}

Status CdxOrderBag::Adopt(std::unique_ptr<fs::File> file) {
  QV_ASSIGN_OR_RETURN(auto bag, cdx::Bag::OpenFile(std::move(file), options_));
  bag_ = std::move(bag);
  return Reload();
}

// AddTag reopens the tags even when it fails, so the orders are rebound
// either way.
Status CdxOrderBag::AddAndReload(const cdx::TagSpec& spec, const cdx::KeyList& keys,
                                 const std::vector<uint32_t>& sorted) {
  Status added = bag_->AddTag(spec, keys, &sorted);
  Status reloaded = Reload();
  return added.ok() ? reloaded : added;
}

Status CdxOrderBag::CreateOrder(Table& table, const OrderSpec& spec,
                                const BuildProgress& progress) {
  QV_ASSIGN_OR_RETURN(auto expr, KeyExpr::Compile(table, spec.key_text, spec.for_text));
  BuildMemory released;  // after the keys below are freed
  cdx::KeyList keys(expr->key_len());
  QV_RETURN_IF_ERROR(CollectKeys(table, *expr, &keys, progress));
  const std::vector<uint32_t> sorted = cdx::SortOrder(keys);
  cdx::TagInfo info;
  info.name = spec.name.empty() ? BagBaseName(path_) : spec.name;
  info.key_expr = spec.key_text;
  info.for_expr = spec.for_text;
  info.unique = spec.unique;
  info.descending = spec.descending;
  QV_ASSIGN_OR_RETURN(cdx::TagSpec tag_spec, SpecFor(info, *expr));
  return AddAndReload(tag_spec, keys, sorted);
}


}  // namespace qv::rdd
