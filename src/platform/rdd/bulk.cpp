#include "platform/rdd/bulk.h"

#include <cstring>

#include "platform/rdd/field_codec.h"

namespace qv::rdd {
namespace {

bool SameLayout(const FieldInfo& a, const FieldInfo& b) {
  return a.type == b.type && a.length == b.length && a.decimals == b.decimals;
}

bool IsText(FieldType t) { return t == FieldType::kCharacter || t == FieldType::kMemo; }

// Carries field from of the source record into field to of the target
// area's current record.
Status CarryField(WorkArea& source, int from_pos, WorkArea& target, int to_pos,
                  std::string* image) {
  const FieldInfo& from = source.table().fields()[static_cast<size_t>(from_pos - 1)];
  const FieldInfo& to = target.table().fields()[static_cast<size_t>(to_pos - 1)];
  if (SameLayout(from, to) && from.type != FieldType::kMemo) {
    std::memcpy(image->data() + to.offset, source.RecordImage().data() + from.offset, to.length);
    return Status::OK();
  }
  const bool compatible = from.type == to.type || (IsText(from.type) && IsText(to.type)) ||
                          (from.type == FieldType::kFloat && to.type == FieldType::kNumeric) ||
                          (from.type == FieldType::kNumeric && to.type == FieldType::kFloat);
  if (!compatible) return Status::OK();
  QV_RETURN_IF_ERROR(target.PutImage(*image));
  QV_ASSIGN_OR_RETURN(rt::Value value, source.Get(from_pos));
  Status put = target.Put(to_pos, value);
  if (!put.ok() && !put.IsInvalidArgument()) return put;  // an overflow keeps its stars
  image->assign(target.RecordImage());
  return Status::OK();
}

Status CopyRecords(WorkArea& source, WorkArea& target, const std::vector<int>& map) {
  return source.Eval(
      [&]() -> Status {
        QV_ASSIGN_OR_RETURN(bool added, target.Append());
        if (!added) return Status::LockBusy(target.alias() + ": append lock failed");
        std::string image(target.RecordImage());
        for (size_t i = 0; i < map.size(); ++i) {
          if (map[i] < 0) continue;
          QV_RETURN_IF_ERROR(
              CarryField(source, map[i] + 1, target, static_cast<int>(i) + 1, &image));
        }
        return target.PutImage(image);
      },
      EvalScope());
}

// For every field of target, the index of the source field of the same
// name, or -1.
std::vector<int> MapFields(const Table& target, const Table& source,
                           const std::vector<std::string>& names) {
  std::vector<int> map;
  for (const FieldInfo& f : target.fields()) {
    bool wanted = names.empty();
    for (const std::string& n : names) wanted |= SameFieldName(n, f.name);
    map.push_back(wanted ? source.FieldIndex(f.name) : -1);
  }
  return map;
}

}  // namespace

std::vector<FieldSpec> Structure(const Table& table) {
  std::vector<FieldSpec> specs;
  for (const FieldInfo& f : table.fields()) specs.push_back(SpecOf(f));
  return specs;
}

Result<std::vector<FieldSpec>> SelectFields(const Table& table,
                                            const std::vector<std::string>& names) {
  for (const std::string& n : names) {
    if (table.FieldIndex(n) < 0) return Status::InvalidArgument(table.path() + ": no field " + n);
  }
  std::vector<FieldSpec> specs;
  for (const FieldInfo& f : table.fields()) {
    bool wanted = names.empty();
    for (const std::string& n : names) wanted |= SameFieldName(n, f.name);
    if (wanted) specs.push_back(SpecOf(f));
  }
  return specs;
}

Status CopyStructure(const Table& table, const std::string& dest_path,
                     const std::vector<std::string>& names) {
  QV_ASSIGN_OR_RETURN(auto specs, SelectFields(table, names));
  return Table::Create(table.env(), dest_path, specs, false, table.today());
}

Status CopyStructureExtended(const Table& table, const std::string& dest_path) {
  const std::vector<FieldSpec> layout = {{"FIELD_NAME", 'C', 10, 0},
                                         {"FIELD_TYPE", 'C', 1, 0},
                                         {"FIELD_LEN", 'N', 3, 0},
                                         {"FIELD_DEC", 'N', 3, 0}};
  QV_RETURN_IF_ERROR(Table::Create(table.env(), dest_path, layout, false, table.today()));
  TableOpenOptions options;
  options.exclusive = true;
  options.today = table.today();
  QV_ASSIGN_OR_RETURN(auto dest, Table::Open(table.env(), dest_path, options));
  for (const FieldInfo& f : table.fields()) {
    std::string image = BlankRecord(dest->header());
    // Character fields wider than 255 keep the high byte in FIELD_DEC.
    const bool wide = f.type == FieldType::kCharacter && f.length > 255;
    PutFieldText(dest->fields()[0], f.name, image.data());
    PutFieldText(dest->fields()[1], std::string(1, static_cast<char>(f.type)), image.data());
    QV_RETURN_IF_ERROR(EncodeField(dest->fields()[2],
                                   rt::Value::Int(wide ? f.length % 256 : f.length), image.data()));
    QV_RETURN_IF_ERROR(EncodeField(
        dest->fields()[3], rt::Value::Int(wide ? f.length / 256 : f.decimals), image.data()));
    QV_RETURN_IF_ERROR(dest->AppendRecord(image).status());
  }
  return dest->Close();
}

Status CopyTo(WorkArea& area, const std::string& dest_path, const std::vector<std::string>& names) {
  QV_RETURN_IF_ERROR(area.Flush());
  QV_ASSIGN_OR_RETURN(auto specs, SelectFields(area.table(), names));
  fs::Env& env = area.table().env();
  QV_RETURN_IF_ERROR(Table::Create(env, dest_path, specs, false, area.table().today()));
  TableOpenOptions options;
  options.exclusive = true;
  options.today = area.table().today();
  QV_ASSIGN_OR_RETURN(auto dest, Table::Open(env, dest_path, options));
  EngineSettings unused;
  WorkArea target(std::move(dest), "COPY", &unused);
  QV_RETURN_IF_ERROR(CopyRecords(area, target, MapFields(target.table(), area.table(), {})));
  return target.Close();
}

Status AppendFrom(WorkArea& area, const std::string& source_path,
                  const std::vector<std::string>& names, const EngineSettings& settings) {
  for (const std::string& n : names) {
    if (area.table().FieldIndex(n) < 0) return Status::InvalidArgument("no field " + n);
  }
  QV_RETURN_IF_ERROR(area.Flush());
  TableOpenOptions options;
  options.read_only = true;
  options.today = area.table().today();
  QV_ASSIGN_OR_RETURN(auto table, Table::Open(area.table().env(), source_path, options));
  WorkArea source(std::move(table), "SOURCE", &settings);
  Status s = CopyRecords(source, area, MapFields(area.table(), source.table(), names));
  Status flushed = area.Flush();
  return s.ok() ? flushed : s;
}

}  // namespace qv::rdd
