#include "platform/rdd/table_access.h"

#include "platform/rdd/field_codec.h"

namespace qv::rdd {

std::string WorkspaceTableAccess::Dbf(int area) const {
  WorkArea* a = At(area);
  return a ? a->table().path() : std::string();
}

int WorkspaceTableAccess::FieldIndex(int area, std::string_view name) const {
  WorkArea* a = At(area);
  return a ? a->FieldPos(name) - 1 : -1;
}

int WorkspaceTableAccess::FieldCount(int area) const {
  WorkArea* a = At(area);
  return a ? a->FieldCount() : 0;
}

std::string WorkspaceTableAccess::FieldName(int area, int index) const {
  WorkArea* a = At(area);
  return a ? a->FieldName(index + 1) : std::string();
}

rt::Value WorkspaceTableAccess::GetField(int area, int index) {
  WorkArea* a = At(area);
  if (!a) return rt::Value();
  auto value = a->Get(index + 1);
  if (value.ok()) return std::move(value).value();
  const FieldInfo& f = a->table().fields()[static_cast<size_t>(index)];
  if (f.type == FieldType::kMemo) return rt::Value(std::string());
  return DecodeField(f, BlankRecord(a->table().header()).data());
}

Status WorkspaceTableAccess::PutField(int area, int index, const rt::Value& value) {
  WorkArea* a = At(area);
  if (!a) return Status::InvalidArgument("no table in work area " + std::to_string(area));
  return a->Put(index + 1, value);
}

bool WorkspaceTableAccess::Eof(int area) const {
  WorkArea* a = At(area);
  return !a || a->Eof();
}

bool WorkspaceTableAccess::Bof(int area) const {
  WorkArea* a = At(area);
  return !a || a->Bof();
}

bool WorkspaceTableAccess::Found(int area) const {
  WorkArea* a = At(area);
  return a && a->Found();
}

bool WorkspaceTableAccess::Deleted(int area) const {
  WorkArea* a = At(area);
  return a && a->Deleted();
}

int64_t WorkspaceTableAccess::RecNo(int area) const {
  WorkArea* a = At(area);
  return a ? a->RecNo() : 0;
}

int64_t WorkspaceTableAccess::RecCount(int area) const {
  WorkArea* a = At(area);
  if (!a) return 0;
  auto count = a->RecCount();
  return count.ok() ? *count : a->table().known_count();
}

}  // namespace qv::rdd
