#include "source_table_access.h"

#include <algorithm>
#include <cctype>

#include "cell_value.h"
#include "platform/rdd/dbf_format.h"

namespace qv::media {

SourceTableAccess::SourceTableAccess(const TableSource& table, std::string alias)
    : table_(table), alias_(std::move(alias)) {
  for (char& c : alias_) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

void SourceTableAccess::GoTo(size_t row) { row_ = std::min(row, table_.rows.size()); }

int SourceTableAccess::AreaOf(std::string_view alias) const {
  return rdd::SameFieldName(alias, alias_) ? 1 : 0;
}

int SourceTableAccess::FieldIndex(int area, std::string_view name) const {
  return area == 1 ? table_.FieldIndex(name) : -1;
}

int SourceTableAccess::FieldCount(int area) const {
  return area == 1 ? static_cast<int>(table_.fields.size()) : 0;
}

std::string SourceTableAccess::FieldName(int area, int index) const {
  if (area != 1 || index < 0 || index >= FieldCount(1)) return std::string();
  return table_.fields[index].name;
}

rt::Value SourceTableAccess::GetField(int area, int index) {
  (void)area;
  const FieldDef& f = table_.fields[index];
  std::string_view cell = row_ < table_.rows.size() ? CellOf(table_.rows[row_], index) : "";
  rt::Value v = CellValue(f, cell);
  // A character field reads back padded to its width, as from the file.
  if (f.type == 'C') v.str().resize(f.length, ' ');
  return v;
}

Status SourceTableAccess::PutField(int, int, const rt::Value&) {
  return Status::NotSupported("media sources are read-only here");
}

bool SourceTableAccess::Deleted(int area) const {
  return area == 1 && row_ < table_.rows.size() && table_.rows[row_].deleted;
}

int64_t SourceTableAccess::RecNo(int area) const {
  return area == 1 ? static_cast<int64_t>(row_) + 1 : 0;
}

int64_t SourceTableAccess::RecCount(int area) const {
  return area == 1 ? static_cast<int64_t>(table_.rows.size()) : 0;
}

}  // namespace qv::media
