// A table source seen by the expression engine as one open work area, so
// index keys, FOR conditions and other expressions held in the media can be
// compiled and evaluated against the table's fields and rows without
// writing it first. Read-only: assignments are refused.
#pragma once

#include <string>

#include "platform/xbase/table_access.h"
#include "table_source.h"

namespace qv::media {

class SourceTableAccess : public xb::TableAccess {
 public:
  // The table is open in area 1 under alias (upper case), positioned on its
  // first row (EOF on the blank record when it has none).
  // REQUIRES: table outlives this object.
  SourceTableAccess(const TableSource& table, std::string alias);

  // Positions on row index (0-based); past the last row: EOF, blank values.
  void GoTo(size_t row);
  size_t row() const { return row_; }

  uint64_t LayoutStamp() const override { return 1; }
  int CurrentArea() const override { return current_; }
  void SelectArea(int area) override { current_ = area; }
  int AreaOf(std::string_view alias) const override;
  bool Used(int area) const override { return area == 1; }
  std::string Alias(int area) const override { return area == 1 ? alias_ : std::string(); }
  std::string Dbf(int area) const override { return area == 1 ? table_.file_name : std::string(); }
  int FieldIndex(int area, std::string_view name) const override;
  int FieldCount(int area) const override;
  std::string FieldName(int area, int index) const override;
  rt::Value GetField(int area, int index) override;
  Status PutField(int area, int index, const rt::Value& value) override;
  bool Eof(int area) const override { return area != 1 || row_ >= table_.rows.size(); }
  bool Bof(int area) const override { return area != 1 || table_.rows.empty(); }
  bool Found(int) const override { return false; }
  bool Deleted(int area) const override;
  int64_t RecNo(int area) const override;
  int64_t RecCount(int area) const override;

 private:
  const TableSource& table_;
  std::string alias_;
  int current_ = 1;
  size_t row_ = 0;
};

}  // namespace qv::media
