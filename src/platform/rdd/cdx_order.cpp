// Navigation of one CDX tag as an Order.
#include <string>

#include "platform/rdd/detail/cdx_adapter.h"
#include "platform/rdd/table.h"

namespace qv::rdd {

void CdxOrder::Bind(cdx::Tag* tag) {
  tag_ = tag;
  info_ = tag->info();
  cursor_.reset();
}

cdx::Cursor& CdxOrder::Fresh() {
  if (!cursor_ || cursor_stamp_ != bag_.stamp()) {
    cursor_.emplace(*tag_);
    cursor_stamp_ = bag_.stamp();
  }
  return *cursor_;
}

Result<bool> CdxOrder::KeyOf(uint32_t recno, std::string_view image, std::string* key) {
  QV_ASSIGN_OR_RETURN(bool included, expr_->Includes(recno, image));
  if (!included) return false;
  QV_ASSIGN_OR_RETURN(*key, expr_->Key(recno, image));
  return true;
}

Result<bool> CdxOrder::PositionOn(uint32_t recno) {
  cdx::Cursor& cursor = Fresh();
  if (!cursor.eof() && cursor.recno() == recno) return true;
  QV_ASSIGN_OR_RETURN(std::string_view view, bag_.table().ReadRecord(recno));
  const std::string image(view);
  std::string key;
  QV_ASSIGN_OR_RETURN(bool held, KeyOf(recno, image, &key));
  if (held) {
    QV_ASSIGN_OR_RETURN(bool found, cursor.Find(key, recno));
    if (found) return true;
  } else {
    QV_ASSIGN_OR_RETURN(key, expr_->Key(recno, image));
  }
  QV_ASSIGN_OR_RETURN(bool ignored, cursor.Seek(key));
  (void)ignored;
  return false;
}

Result<uint32_t> CdxOrder::First() {
  QV_RETURN_IF_ERROR(Fresh().First());
  return Here();
}

Result<uint32_t> CdxOrder::Last() {
  QV_RETURN_IF_ERROR(Fresh().Last());
  return Here();
}

Result<uint32_t> CdxOrder::Next(uint32_t recno) {
  QV_ASSIGN_OR_RETURN(bool on, PositionOn(recno));
  if (on) QV_RETURN_IF_ERROR(cursor_->Next());  // else it already stands on the next key
  return Here();
}

Result<uint32_t> CdxOrder::Prev(uint32_t recno) {
  QV_ASSIGN_OR_RETURN(bool on, PositionOn(recno));
  (void)on;
  if (cursor_->eof()) {
    QV_RETURN_IF_ERROR(cursor_->Last());
  } else {
    QV_RETURN_IF_ERROR(cursor_->Prev());
  }
  return Here();
}

Result<Order::SeekResult> CdxOrder::Seek(const rt::Value& key, bool soft, bool last) {
  QV_ASSIGN_OR_RETURN(std::string bytes, expr_->SeekKey(key));
  cdx::Cursor& cursor = Fresh();
  QV_ASSIGN_OR_RETURN(bool found, cursor.Seek(bytes, last));
  SeekResult result;
  result.found = found;
  result.recno = found || soft ? Here() : 0;
  return result;
}

Result<bool> CdxOrder::KeyMatches(uint32_t recno, const rt::Value& key) {
  QV_ASSIGN_OR_RETURN(std::string want, expr_->SeekKey(key));
  QV_ASSIGN_OR_RETURN(std::string_view view, bag_.table().ReadRecord(recno));
  const std::string image(view);
  std::string have;
  QV_ASSIGN_OR_RETURN(bool held, KeyOf(recno, image, &have));
  return held && have.compare(0, want.size(), want) == 0;
}

Result<uint32_t> CdxOrder::KeyNo(uint32_t recno) {
  QV_ASSIGN_OR_RETURN(bool on, PositionOn(recno));
  if (!on) return 0u;
  QV_ASSIGN_OR_RETURN(uint64_t position, cursor_->Position());
  return static_cast<uint32_t>(position);
}

Result<uint32_t> CdxOrder::KeyCount() {
  QV_ASSIGN_OR_RETURN(uint64_t count, Fresh().Count());
  return static_cast<uint32_t>(count);
}

Result<std::string> CdxOrder::ShowKey(uint32_t recno) {
  QV_ASSIGN_OR_RETURN(std::string_view view, bag_.table().ReadRecord(recno));
  const std::string image(view);
  std::string key;
  QV_ASSIGN_OR_RETURN(bool held, KeyOf(recno, image, &key));
  return held ? cdx::FormatKey(expr_->type(), key) : std::string();
}

}  // namespace qv::rdd
