#include "dictionary.h"

#include <string>

#include "cell_value.h"
#include "platform/rdd/dbf_format.h"
#include "source_text.h"

namespace qv::media {

namespace {

const TableSource* FindTable(const std::vector<TableSource>& folder, std::string_view base) {
  for (const TableSource& t : folder) {
    if (rdd::SameFieldName(t.BaseName(), base)) return &t;
  }
  return nullptr;
}

// One file-dictionary row as the generator needs it.
struct DictEntry {
  std::string file;  // FDFILE trimmed
  std::string row_class;
};

Result<std::vector<DictEntry>> ReadFileDictionary(const TableSource& filedict) {
  int file_col = filedict.FieldIndex("FDFILE");
  int class_col = filedict.FieldIndex("FDBACKUP");
  if (file_col < 0 || class_col < 0) {
    return Status::InvalidArgument(filedict.source + ": needs FDFILE and FDBACKUP");
  }
  std::vector<DictEntry> entries;
  for (const Row& row : filedict.rows) {
    if (row.deleted) continue;
    entries.push_back(
        {std::string(TrimSpace(CellOf(row, file_col))), std::string(CellOf(row, class_col))});
  }
  return entries;
}

// Appends the rows describing table's fields under the name file.
Status AppendFieldRows(const TableSource& table, const std::string& file, TableSource* dict) {
  const char* kColumns[] = {"FILENM",    "FIELD_NAME", "FIELD_TYPE", "FIELD_LEN",
                            "FIELD_DEC", "FIELD_HEAD", "FIELD_DESC"};
  int cols[7];
  for (int i = 0; i < 7; ++i) {
    cols[i] = dict->FieldIndex(kColumns[i]);
    if (cols[i] < 0) return Status::InvalidArgument(dict->source + ": no field " + kColumns[i]);
  }
  for (const FieldDef& f : table.fields) {
    Row row;
    row.cells.resize(dict->fields.size());
    std::string values[7] = {file,
                             f.name,
                             std::string(1, f.type),
                             std::to_string(f.length),
                             std::to_string(f.decimals),
                             f.heading,
                             f.description};
    for (int i = 0; i < 7; ++i) {
      const FieldDef& target = dict->fields[cols[i]];
      if (Status s = CheckCell(target, values[i]); !s.ok()) {
        return Status::InvalidArgument(table.source + ": " + f.name + " in " + target.name + ": " +
                                       s.message());
      }
      row.cells[cols[i]] = values[i];
    }
    dict->rows.push_back(std::move(row));
  }
  return Status::OK();
}

Status Generate(const std::vector<TableSource>& folder, const std::vector<DictEntry>& entries,
                TableSource* dict) {
  dict->rows.clear();
  for (const DictEntry& e : entries) {
    if (e.row_class == "I") continue;
    if (e.file.rfind("FILEDICT", 0) == 0 || e.file.rfind("DATADICT", 0) == 0) continue;
    const TableSource* table = FindTable(folder, e.file);
    if (table == nullptr) continue;
    QV_RETURN_IF_ERROR(AppendFieldRows(*table, e.file, dict));
  }
  return Status::OK();
}

}  // namespace

Status GenerateDictionaries(std::vector<TableSource>* folder) {
  std::vector<size_t> generated;
  for (size_t i = 0; i < folder->size(); ++i) {
    if ((*folder)[i].row_source != RowSource::kListed) generated.push_back(i);
  }
  if (generated.empty()) return Status::OK();
  const TableSource* filedict = FindTable(*folder, "filedict");
  if (filedict == nullptr) {
    return Status::NotFound((*folder)[generated[0]].source + ": no filedict beside it");
  }
  QV_ASSIGN_OR_RETURN(std::vector<DictEntry> entries, ReadFileDictionary(*filedict));
  for (size_t i : generated) {
    TableSource dict = (*folder)[i];
    QV_RETURN_IF_ERROR(Generate(*folder, entries, &dict));
    (*folder)[i] = std::move(dict);
  }
  return Status::OK();
}

}  // namespace qv::media
