// Internal: the classes behind cdx_order_bag.h, shared by its two sources.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/rdd/cdx/cdx_bag.h"
#include "platform/rdd/key_expr.h"
#include "platform/rdd/order.h"

namespace qv::rdd {

class CdxOrderBag;

class CdxOrder : public Order {
 public:
  CdxOrder(CdxOrderBag& bag, std::unique_ptr<KeyExpr> expr) : bag_(bag), expr_(std::move(expr)) {}

  const std::string& Name() const override { return info_.name; }
  const std::string& KeyText() const override { return info_.key_expr; }
  const std::string& ForText() const override { return info_.for_expr; }
  bool Descending() const override { return info_.descending; }
  char KeyType() const override { return cdx::KeyTypeLetter(expr_->type()); }

  Result<uint32_t> First() override;
  Result<uint32_t> Last() override;
  Result<uint32_t> Next(uint32_t recno) override;
  Result<uint32_t> Prev(uint32_t recno) override;
  Result<SeekResult> Seek(const rt::Value& key, bool soft, bool last) override;
  Result<bool> KeyMatches(uint32_t recno, const rt::Value& key) override;
  Result<uint32_t> KeyNo(uint32_t recno) override;
  Result<uint32_t> KeyCount() override;
  Result<std::string> ShowKey(uint32_t recno) override;

  KeyExpr& expr() { return *expr_; }
  cdx::Tag& tag() { return *tag_; }
  // Points the order at its tag after the bag's tags were reopened.
  void Bind(cdx::Tag* tag);
  // The record's key and whether the tag holds one for it.
  Result<bool> KeyOf(uint32_t recno, std::string_view image, std::string* key);

 private:
  cdx::Cursor& Fresh();  // the cursor, forgetting its place after any write
  // Places the cursor on recno's entry (true) or, when the tag has none,
  // where its key would be (false).
  Result<bool> PositionOn(uint32_t recno);
  uint32_t Here() { return cursor_->eof() ? 0 : cursor_->recno(); }

  CdxOrderBag& bag_;
  std::unique_ptr<KeyExpr> expr_;
  cdx::TagInfo info_;
  cdx::Tag* tag_ = nullptr;
  std::optional<cdx::Cursor> cursor_;
  uint64_t cursor_stamp_ = ~uint64_t{0};
};

class CdxOrderBag : public OrderBag {
 public:
  CdxOrderBag(Table& table, std::unique_ptr<cdx::Bag> bag, cdx::BagOptions options)
      : table_(table), bag_(std::move(bag)), options_(options), path_(bag_->path()) {}

  // Binds an order to every tag (after open and every change of the tags).
  Status Reload();

  const std::string& Path() const override { return path_; }
  size_t OrderCount() const override { return orders_.size(); }
  Order* OrderAt(size_t index) override { return orders_[index].get(); }
  Status RecordWritten(uint32_t recno, std::string_view old_image,
                       std::string_view new_image) override;
  Status Zap() override;
  Result<std::unique_ptr<fs::File>> BuildBeside(Table& table, const std::string& new_path) override;
  Status Adopt(std::unique_ptr<fs::File> file) override;
  Status Check(Table& table, std::vector<std::string>* faults) override;
  Status Flush() override { return options_.read_only ? Status::OK() : bag_->Flush(false); }
  Status Sync() override { return options_.read_only ? Status::OK() : bag_->Flush(true); }
  Status CreateOrder(Table& table, const OrderSpec& spec, const BuildProgress& progress) override;
  Status Rebuild(Table& table) override;

  Table& table() { return table_; }
  uint64_t stamp() const { return stamp_; }

 private:
  Status CheckOrder(Table& table, size_t i, std::vector<std::string>* faults);
  Status MaintainUnique(CdxOrder& order, uint32_t recno, const std::string* old_key,
                        const std::string* new_key);
  Result<uint32_t> FirstRecordWith(CdxOrder& order, const std::string& key, uint32_t skip);
  Status AddAndReload(const cdx::TagSpec& spec, const cdx::KeyList& keys,
                      const std::vector<uint32_t>& sorted);

  Table& table_;
  std::unique_ptr<cdx::Bag> bag_;
  cdx::BagOptions options_;
  std::string path_;
  std::vector<std::unique_ptr<CdxOrder>> orders_;  // in the bag's tag order
  uint64_t stamp_ = 0;                             // counts writes to the tags
};

// Keys of every record of table that expr includes, in record order;
// progress (may be empty) is asked every 10 records.
Status CollectKeys(Table& table, KeyExpr& expr, cdx::KeyList* keys,
                   const BuildProgress& progress);

}  // namespace qv::rdd
