#include "platform/rdd/table_json.h"

#include <vector>

#include "platform/rdd/field_codec.h"
#include "platform/runtime/number.h"

namespace qv::rdd {
namespace {

// Code page 1252 characters of bytes 0x80..0x9F (0 where undefined).
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendText(std::string* out, std::string_view bytes, bool cp1252) {
  if (!cp1252) {
    json::AppendString(out, bytes);
    return;
  }
  std::string plain;
  out->push_back('"');
  for (unsigned char c : bytes) {
    uint16_t code = c >= 0x80 && c <= 0x9F && kCp1252High[c - 0x80] ? kCp1252High[c - 0x80] : c;
    if (code >= 0x20 && code < 0x7F && code != '"' && code != '\\') {
      out->push_back(static_cast<char>(code));
      continue;
    }
    static const char kHex[] = "0123456789abcdef";
    out->append("\\u");
    for (int shift = 12; shift >= 0; shift -= 4) out->push_back(kHex[(code >> shift) & 15]);
  }
  out->push_back('"');
}

Status AppendValue(Table& table, const FieldInfo& f, std::string_view record, bool cp1252,
                   std::string* out) {
  std::string_view raw = record.substr(f.offset, f.length);
  switch (f.type) {
    case FieldType::kCharacter:
    case FieldType::kNumeric:
    case FieldType::kFloat:
      AppendText(out, raw, cp1252);
      return Status::OK();
    case FieldType::kMemo: {
      QV_ASSIGN_OR_RETURN(std::string text, table.ReadMemo(f, record));
      AppendText(out, text, cp1252);
      return Status::OK();
    }
    default:
      break;
  }
  rt::Value v = DecodeField(f, record.data());
  if (v.IsLogical()) {
    out->append(v.logical() ? "true" : "false");
  } else if (v.IsDate()) {
    out->push_back('"');
    if (!v.date().empty()) out->append(v.date().Dtos());
    out->push_back('"');
  } else if (v.IsNumber()) {
    std::string text = rt::Str(v.num(), 30, static_cast<int>(f.decimals));
    out->append(text.substr(text.find_first_not_of(' ')));
  } else {
    out->append("null");
  }
  return Status::OK();
}

Status FillField(Table& table, const FieldInfo& f, const json::Json& v, std::string* image) {
  auto bad = [&](const char* want) {
    return Status::InvalidArgument("field " + f.name + ": expected " + want);
  };
  switch (f.type) {
    case FieldType::kCharacter:
    case FieldType::kNumeric:
      if (v.kind() == json::Json::Kind::kNumber && f.type == FieldType::kNumeric) {
        return EncodeField(
            f, rt::Value::Num(v.number(), static_cast<int>(f.length), static_cast<int>(f.decimals)),
            image->data());
      }
      if (v.kind() != json::Json::Kind::kString) return bad("text");
      PutFieldText(f, v.str(), image->data());
      return Status::OK();
    case FieldType::kLogical:
      if (v.kind() != json::Json::Kind::kBool) return bad("true or false");
      return EncodeField(f, rt::Value(v.boolean()), image->data());
    case FieldType::kDate: {
      if (v.kind() != json::Json::Kind::kString) return bad("\"YYYYMMDD\" or \"\"");
      rt::Date d = rt::Date::FromDtos(v.str());
      if (d.empty() && !v.str().empty()) return bad("a valid date");
      return EncodeField(f, rt::Value(d), image->data());
    }
    case FieldType::kMemo: {
      if (v.kind() != json::Json::Kind::kString) return bad("memo text");
      QV_ASSIGN_OR_RETURN(uint32_t block, table.WriteMemo(v.str()));
      PutMemoBlock(f, block, image->data());
      return Status::OK();
    }
    default:
      return bad("a type this tool can create");
  }
}

}  // namespace

Status DumpJson(Table& table, const DumpOptions& options,
                const std::function<Status(std::string_view)>& sink) {
  std::string out = "{\"fields\":[";
  for (size_t i = 0; i < table.fields().size(); ++i) {
    const FieldInfo& f = table.fields()[i];
    out += i ? ",\n" : "\n";
    out += "{\"name\":";
    json::AppendString(&out, f.name);
    out += ",\"type\":\"" + std::string(1, static_cast<char>(f.type)) +
           "\",\"len\":" + std::to_string(f.length) + ",\"dec\":" + std::to_string(f.decimals) +
           "}";
  }
  out += "],\n\"records\":[";
  QV_ASSIGN_OR_RETURN(uint32_t count, table.RecordCount());
  for (uint32_t recno = 1; recno <= count; ++recno) {
    QV_ASSIGN_OR_RETURN(std::string_view view, table.ReadRecord(recno));
    std::string record(view);
    out += recno > 1 ? ",\n" : "\n";
    out += "{\"recno\":" + std::to_string(recno) +
           ",\"deleted\":" + (record[0] == kRecordDeleted ? "true" : "false") + ",\"values\":{";
    for (size_t i = 0; i < table.fields().size(); ++i) {
      const FieldInfo& f = table.fields()[i];
      if (i) out += ",";
      json::AppendString(&out, f.name);
      out += ":";
      QV_RETURN_IF_ERROR(AppendValue(table, f, record, options.cp1252, &out));
    }
    out += "}}";
    if (out.size() > (1u << 16)) {
      QV_RETURN_IF_ERROR(sink(out));
      out.clear();
    }
  }
  out += "\n]}\n";
  return sink(out);
}

Status CreateFromJson(fs::Env& env, const std::string& path, const json::Json& doc,
                      rt::Date today) {
  const json::Json& fields = doc["fields"];
  if (fields.kind() != json::Json::Kind::kArray) {
    return Status::InvalidArgument("JSON has no \"fields\" list");
  }
  std::vector<FieldSpec> specs;
  for (const json::Json& f : fields.items()) {
    if (f["name"].kind() != json::Json::Kind::kString || f["type"].str().size() != 1) {
      return Status::InvalidArgument("a field needs \"name\" and a one-letter \"type\"");
    }
    specs.push_back(FieldSpec{f["name"].str(), f["type"].str()[0],
                              static_cast<int>(f["len"].number()),
                              static_cast<int>(f["dec"].number())});
  }
  QV_RETURN_IF_ERROR(Table::Create(env, path, specs, false, today));
  TableOpenOptions options;
  options.exclusive = true;
  options.today = today;
  QV_ASSIGN_OR_RETURN(auto table, Table::Open(env, path, options));
  for (const json::Json& r : doc["records"].items()) {
    std::string image = BlankRecord(table->header());
    if (r["deleted"].kind() == json::Json::Kind::kBool && r["deleted"].boolean()) {
      image[0] = kRecordDeleted;
    }
    const json::Json& values = r["values"];
    for (size_t i = 0; i < table->fields().size(); ++i) {
      const FieldInfo& f = table->fields()[i];
      const json::Json& v = values.kind() == json::Json::Kind::kArray
                                ? (i < values.size() ? values[i] : json::Json())
                                : values[f.name];
      if (v.is_null()) continue;
      QV_RETURN_IF_ERROR(FillField(*table, f, v, &image));
    }
    QV_RETURN_IF_ERROR(table->AppendRecord(image).status());
  }
  return table->Close();
}

}  // namespace qv::rdd
