// The expression evaluator's view of the work areas: xb::TableAccess over a
// Workspace, so filters, FOR conditions and index keys read fields of the
// session's open tables.
#pragma once

#include "platform/rdd/workspace.h"
#include "platform/xbase/table_access.h"

namespace qv::rdd {

class WorkspaceTableAccess : public xb::TableAccess {
 public:
  // REQUIRES: workspace outlives this object.
  explicit WorkspaceTableAccess(Workspace& workspace) : ws_(&workspace) {}

  uint64_t LayoutStamp() const override { return ws_->layout_stamp(); }
  int CurrentArea() const override { return ws_->current(); }
  void SelectArea(int area) override { (void)ws_->SelectArea(area); }
  int AreaOf(std::string_view alias) const override { return ws_->AreaOf(alias); }
  bool Used(int area) const override { return ws_->Area(area) != nullptr; }
  std::string Alias(int area) const override { return ws_->Alias(area); }
  std::string Dbf(int area) const override;

  int FieldIndex(int area, std::string_view name) const override;
  int FieldCount(int area) const override;
  std::string FieldName(int area, int index) const override;
  // A field that cannot be read (a damaged memo) reads as its blank value;
  // the damage is reported where the table is checked or read directly.
  rt::Value GetField(int area, int index) override;
  Status PutField(int area, int index, const rt::Value& value) override;

  bool Eof(int area) const override;
  bool Bof(int area) const override;
  bool Found(int area) const override;
  bool Deleted(int area) const override;
  int64_t RecNo(int area) const override;
  int64_t RecCount(int area) const override;

 private:
  WorkArea* At(int area) const { return area == 0 ? nullptr : ws_->Area(area); }
  Workspace* ws_;
};

}  // namespace qv::rdd
