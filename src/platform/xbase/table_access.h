// What the evaluator needs of the table engine: work areas by number and
// alias, fields by name and position, and the record state that EOF(),
// RECNO() and friends report. The engine implements it; the evaluator
// includes no engine header. Areas are numbered from 1; 0 means none.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/fs/status.h"
#include "platform/runtime/value.h"

namespace qv::xb {

class TableAccess {
 public:
  TableAccess() = default;
  virtual ~TableAccess() = default;
  TableAccess(const TableAccess&) = delete;
  TableAccess& operator=(const TableAccess&) = delete;

  // Changes whenever a field position looked up earlier may have become
  // wrong: a table opened or closed in any area, or another area selected.
  // The evaluator keeps field positions while this object and its stamp
  // stay the same.
  virtual uint64_t LayoutStamp() const = 0;

  // Tells this object apart from every other one, also from a later one at
  // the same address, for as long as a cached field position refers to it.
  const std::shared_ptr<const char>& identity() const { return identity_; }

  // The selected area (SELECT()); 0 when none is selected.
  virtual int CurrentArea() const = 0;
  // Selects area (which may be empty).
  virtual void SelectArea(int area) = 0;
  // The area holding alias (case-insensitive); 0 when no table is open
  // under it.
  virtual int AreaOf(std::string_view alias) const = 0;
  // A table is open in area.
  virtual bool Used(int area) const = 0;
  // Upper-case alias of area, "" when empty.
  virtual std::string Alias(int area) const = 0;
  // The table's file name as opened, "" when empty.
  virtual std::string Dbf(int area) const = 0;

  // 0-based position of the field name (case-insensitive) in area; -1 when
  // the area is empty or has no such field.
  virtual int FieldIndex(int area, std::string_view name) const = 0;
  virtual int FieldCount(int area) const = 0;
  // Upper-case name of the 0-based field; "" past the last field.
  virtual std::string FieldName(int area, int index) const = 0;
  // The field of the current record, typed by the field (C, N, D, L, M).
  // REQUIRES: 0 <= index < FieldCount(area).
  virtual rt::Value GetField(int area, int index) = 0;
  // Stores value into the current record; InvalidArgument for a value of
  // the wrong type, LockBusy when the record is not locked in shared use.
  virtual Status PutField(int area, int index, const rt::Value& value) = 0;

  // Record state of area; an empty area reports EOF and BOF true, the rest
  // zero or false.
  virtual bool Eof(int area) const = 0;
  virtual bool Bof(int area) const = 0;
  virtual bool Found(int area) const = 0;
  virtual bool Deleted(int area) const = 0;
  virtual int64_t RecNo(int area) const = 0;
  virtual int64_t RecCount(int area) const = 0;

 private:
  std::shared_ptr<const char> identity_ = std::make_shared<const char>('\0');
};

}  // namespace qv::xb
