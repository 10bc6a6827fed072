#include "table_writer.h"

#include <vector>

#include "cell_value.h"
#include "platform/rdd/field_codec.h"
#include "platform/rdd/table.h"

namespace qv::media {

namespace {

Result<std::string> RecordImage(rdd::Table& t, const TableSource& table, const Row& row) {
  std::string image = rdd::BlankRecord(t.header());
  for (size_t i = 0; i < table.fields.size(); ++i) {
    const FieldDef& def = table.fields[i];
    const rdd::FieldInfo& info = t.fields()[i];
    std::string_view cell = CellOf(row, i);
    if (def.type == 'M') {
      QV_ASSIGN_OR_RETURN(uint32_t block, t.WriteMemo(cell));
      rdd::PutMemoBlock(info, block, image.data());
    } else if (!cell.empty()) {
      Status s = rdd::EncodeField(info, CellValue(def, cell), image.data());
      if (!s.ok()) {
        return Status::InvalidArgument(table.source + ":" + std::to_string(row.line) + ": " +
                                       def.name + ": " + s.message());
      }
    }
  }
  if (row.deleted) image[0] = rdd::kRecordDeleted;
  return image;
}

}  // namespace

Status WriteTable(fs::Env& env, const TableSource& table, const std::string& dbf_path,
                  rt::Date today, bool structural_bag) {
  std::vector<rdd::FieldSpec> layout;
  for (const FieldDef& f : table.fields) layout.push_back({f.name, f.type, f.length, f.decimals});
  QV_RETURN_IF_ERROR(rdd::Table::Create(env, dbf_path, layout, structural_bag, today));
  rdd::TableOpenOptions options;
  options.exclusive = true;
  options.today = today;
  QV_ASSIGN_OR_RETURN(std::unique_ptr<rdd::Table> t, rdd::Table::Open(env, dbf_path, options));
  for (const Row& row : table.rows) {
    QV_ASSIGN_OR_RETURN(std::string image, RecordImage(*t, table, row));
    QV_RETURN_IF_ERROR(t->AppendRecord(image).status());
  }
  return t->Close();
}

}  // namespace qv::media
