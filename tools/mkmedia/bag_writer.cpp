#include "bag_writer.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

#include "cell_value.h"
#include "platform/rdd/cdx/cdx_bag.h"
#include "platform/rdd/dbf_format.h"
#include "platform/runtime/session.h"
#include "platform/xbase/expr.h"
#include "source_table_access.h"
#include "source_text.h"

namespace qv::media {

std::string CompleteKey(const std::string& key, const TableSource& table) {
  size_t at = UpperCase(key).find("FIELD(");
  if (at == std::string::npos || at < 1 || table.fields.size() < 2) return key;
  return key.substr(0, at - 1) + "+" + table.fields[1].name;
}

Result<rdd::cdx::KeyList> TagKeys(const TableSource& table, const TagDef& t,
                                  rdd::cdx::KeyType* type) {
  std::string where = table.source + ": tag " + t.name;
  Result<xb::Expr> key = xb::Expr::Compile(t.key);
  if (!key.ok()) return Status::InvalidArgument(where + ": " + key.status().message());
  std::optional<xb::Expr> cond;
  if (!t.for_cond.empty()) {
    Result<xb::Expr> c = xb::Expr::Compile(t.for_cond);
    if (!c.ok()) return Status::InvalidArgument(where + ": " + c.status().message());
    cond = std::move(c).value();
  }
  rt::Session session;
  SourceTableAccess access(table, table.BaseName());
  xb::Host host{session, &access};
  rdd::cdx::KeyList keys;
  std::optional<rdd::cdx::KeyType> seen;
  for (size_t row = 0; row < table.rows.size(); ++row) {
    access.GoTo(row);
    std::string bytes;
    rdd::cdx::KeyType this_type;
    try {
      if (cond) {
        rt::Value keep = cond->Eval(host);
        if (!keep.IsLogical())
          return Status::InvalidArgument(where + ": the condition is not logical");
        if (!keep.logical()) continue;
      }
      rt::Value v = key->Eval(host);
      if (v.IsString()) {
        this_type = rdd::cdx::KeyType::kChar;
        bytes = v.str();
      } else if (v.IsNumber()) {
        this_type = rdd::cdx::KeyType::kNumeric;
        bytes = rdd::cdx::EncodeNumber(v.num());
      } else if (v.IsDate()) {
        this_type = rdd::cdx::KeyType::kDate;
        bytes = rdd::cdx::EncodeDate(v.date().julian());
      } else {
        return Status::InvalidArgument(where + ": the key is not C, N or D");
      }
    } catch (const rt::RuntimeError&) {
      return Status::InvalidArgument(where + ": the key fails on row " + std::to_string(row + 1));
    }
    if (!seen) {
      seen = this_type;
      keys = rdd::cdx::KeyList(bytes.size());
    }
    if (this_type != *seen || bytes.size() != keys.key_len) {
      return Status::InvalidArgument(where + ": the key changes type or width");
    }
    keys.Add(bytes, static_cast<uint32_t>(row + 1));
  }
  if (!seen) {
    // No row to measure: the width comes from the blank record.
    access.GoTo(table.rows.size());
    try {
      rt::Value v = key->Eval(host);
      seen = v.IsString() ? rdd::cdx::KeyType::kChar
             : v.IsDate() ? rdd::cdx::KeyType::kDate
                          : rdd::cdx::KeyType::kNumeric;
      keys = rdd::cdx::KeyList(v.IsString() ? v.str().size() : rdd::cdx::kNumericKeyLen);
    } catch (const rt::RuntimeError&) {
      return Status::InvalidArgument(where + ": the key fails on the blank record");
    }
  }
  if (keys.key_len == 0 || keys.key_len > 240) {
    return Status::InvalidArgument(where + ": key width must be 1 to 240");
  }
  *type = *seen;
  rdd::cdx::SortKeys(&keys);
  if (t.unique) rdd::cdx::KeepFirstOfEachKey(&keys);
  return keys;
}

std::vector<TagDef> TagsFromDictionary(const TableSource& filedict, const TableSource& table,
                                       BagScope scope) {
  std::vector<TagDef> tags;
  int file = filedict.FieldIndex("FDFILE");
  int bag = filedict.FieldIndex("FDINDEX");
  int key = filedict.FieldIndex("FDFIELD");
  int codep = filedict.FieldIndex("FDCODEP");
  int cond = filedict.FieldIndex("FDFOR");
  if (file < 0 || bag < 0 || key < 0 || codep < 0) return tags;
  for (const Row& r : filedict.rows) {
    if (r.deleted || !rdd::SameFieldName(TrimSpace(CellOf(r, file)), table.BaseName())) continue;
    if ((CellOf(r, codep) == "Y") != (scope == BagScope::kCompany)) continue;
    std::string name(TrimSpace(CellOf(r, bag)));
    if (name.empty()) continue;
    TagDef t;
    t.bag = name;
    t.name = UpperCase(name);
    t.key = CompleteKey(std::string(TrimSpace(CellOf(r, key))), table);
    if (cond >= 0) t.for_cond = std::string(TrimSpace(CellOf(r, cond)));
    tags.push_back(std::move(t));
  }
  return tags;
}

std::string BagFileName(const TableSource& table, const TagDef& t) {
  std::string base =
      t.bag.empty() || rdd::SameFieldName(t.bag, table.BaseName()) ? table.BaseName() : t.bag;
  // The extension follows the case of the table's own (".DBF" -> ".CDX").
  bool upper =
      !table.file_name.empty() && std::isupper(static_cast<unsigned char>(table.file_name.back()));
  return base + (upper ? ".CDX" : ".cdx");
}

bool HasStructuralBag(const TableSource& table, const std::vector<TagDef>& tags) {
  return std::any_of(tags.begin(), tags.end(), [&](const TagDef& t) {
    return t.bag.empty() || rdd::SameFieldName(t.bag, table.BaseName());
  });
}

Status WriteBags(fs::Env& env, const TableSource& table, const std::vector<TagDef>& tags,
                 const std::string& folder) {
  std::map<std::string, std::vector<const TagDef*>> by_file;
  std::vector<std::string> order;
  for (const TagDef& t : tags) {
    std::string file = BagFileName(table, t);
    if (by_file[file].empty()) order.push_back(file);
    by_file[file].push_back(&t);
  }
  for (const std::string& file : order) {
    QV_ASSIGN_OR_RETURN(std::unique_ptr<rdd::cdx::Bag> bag,
                        rdd::cdx::Bag::Create(env, folder + "/" + file));
    for (const TagDef* t : by_file[file]) {
      rdd::cdx::KeyType type = rdd::cdx::KeyType::kChar;
      QV_ASSIGN_OR_RETURN(rdd::cdx::KeyList keys, TagKeys(table, *t, &type));
      rdd::cdx::TagSpec made;
      made.name = t->name;
      made.key_expr = t->key;
      made.for_expr = t->for_cond;
      made.unique = t->unique;
      made.descending = t->descending;
      made.type = type;
      made.key_len = static_cast<uint16_t>(keys.key_len);
      QV_RETURN_IF_ERROR(bag->AddTag(made, keys));
    }
    QV_RETURN_IF_ERROR(bag->Flush(/*sync=*/false));
  }
  return Status::OK();
}

}  // namespace qv::media
