#include "platform/rdd/field_codec.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/rdd/detail/bytes.h"
#include "platform/runtime/number.h"

namespace qv::rdd {
namespace {

std::string_view Raw(const FieldInfo& f, const char* record) {
  return std::string_view(record + f.offset, f.length);
}

int64_t GetLe64(std::string_view b) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | detail::Byte(b, static_cast<size_t>(i));
  return static_cast<int64_t>(v);
}

}  // namespace

rt::Value DecodeField(const FieldInfo& f, const char* record) {
  std::string_view raw = Raw(f, record);
  switch (f.type) {
    case FieldType::kCharacter:
      return rt::Value(std::string(raw));
    case FieldType::kNumeric:
    case FieldType::kFloat:
      return rt::Value(rt::FieldNumber(raw, static_cast<int>(f.length),
                                       static_cast<int>(f.decimals)));
    case FieldType::kLogical: {
      char c = raw[0];
      return rt::Value(c == 'T' || c == 't' || c == 'Y' || c == 'y');
    }
    case FieldType::kDate:
      return rt::Value(rt::Date::FromDtos(raw));
    case FieldType::kInteger:
      return rt::Value::Int(static_cast<int32_t>(detail::GetLe32(raw, 0)));
    case FieldType::kDouble: {
      double d;
      std::memcpy(&d, raw.data(), sizeof d);
      return rt::Value::Num(d, 20, static_cast<int>(f.decimals));
    }
    case FieldType::kCurrency:
      return rt::Value::Num(static_cast<double>(GetLe64(raw)) / 10000.0, 20, 4);
    case FieldType::kDateTime:
      return rt::Value(rt::Date::FromJulian(static_cast<int32_t>(detail::GetLe32(raw, 0))));
    case FieldType::kMemo:
      break;
  }
  return rt::Value();
}

uint32_t MemoBlockOf(const FieldInfo& f, const char* record) {
  std::string_view raw = Raw(f, record);
  if (f.length == 4) return detail::GetLe32(raw, 0);
  if (raw[0] == '\0') return 0;
  size_t i = 0;
  while (i < raw.size() && raw[i] == ' ') ++i;
  uint64_t block = 0;
  for (; i < raw.size() && raw[i] >= '0' && raw[i] <= '9'; ++i) {
    block = block * 10 + static_cast<uint64_t>(raw[i] - '0');
    if (block > 0xFFFFFFFFu) return 0xFFFFFFFFu;
  }
  return static_cast<uint32_t>(block);
}

void PutMemoBlock(const FieldInfo& f, uint32_t block, char* record) {
  char* out = record + f.offset;
  if (f.length == 4) {
    std::string word(4, '\0');
    detail::PutLe32(&word, 0, block);
    std::memcpy(out, word.data(), 4);
    return;
  }
  std::memset(out, ' ', f.length);
  if (block == 0) return;
  std::string digits = std::to_string(block);
  if (digits.size() > f.length) digits = digits.substr(digits.size() - f.length);
  std::memcpy(out + f.length - digits.size(), digits.data(), digits.size());
}

void PutFieldText(const FieldInfo& f, std::string_view text, char* record) {
  char* out = record + f.offset;
  std::memset(out, ' ', f.length);
  if (text.size() > f.length) text = text.substr(0, f.length);
  bool right = f.type == FieldType::kNumeric || f.type == FieldType::kFloat;
  std::memcpy(out + (right ? f.length - text.size() : 0), text.data(), text.size());
}

Status EncodeField(const FieldInfo& f, const rt::Value& v, char* record) {
  auto mismatch = [&]() {
    return Status::InvalidArgument(
        "field " + f.name + " of type " + std::string(1, static_cast<char>(f.type)) +
        " cannot take a value of type " + std::string(1, rt::TypeLetter(v.type())));
  };
  char* out = record + f.offset;
  switch (f.type) {
    case FieldType::kCharacter:
      if (!v.IsString()) return mismatch();
      PutFieldText(f, v.str(), record);
      return Status::OK();
    case FieldType::kNumeric:
    case FieldType::kFloat: {
      if (!v.IsNumber()) return mismatch();
      std::string text =
          rt::FieldText(v.num(), static_cast<int>(f.length), static_cast<int>(f.decimals));
      std::memcpy(out, text.data(), f.length);
      if (text.find('*') != std::string::npos) {
        return Status::InvalidArgument("numeric overflow in field " + f.name);
      }
      return Status::OK();
    }
    case FieldType::kLogical:
      if (!v.IsLogical()) return mismatch();
      *out = v.logical() ? 'T' : 'F';
      return Status::OK();
    case FieldType::kDate:
      if (!v.IsDate()) return mismatch();
      std::memcpy(out, v.date().Dtos().data(), 8);
      return Status::OK();
    default:
      return Status::NotSupported("field " + f.name + ": this engine does not write type " +
                                  std::string(1, static_cast<char>(f.type)));
  }
}

std::string BlankRecord(const DbfHeader& header) {
  std::string record(header.record_length, ' ');
  for (const FieldInfo& f : header.fields) {
    // Binary fields are blank as zeros; text fields as spaces.
    if (f.type == FieldType::kInteger || f.type == FieldType::kDouble ||
        f.type == FieldType::kCurrency || f.type == FieldType::kDateTime ||
        (f.type == FieldType::kMemo && f.length == 4)) {
      std::memset(record.data() + f.offset, 0, f.length);
    }
  }
  return record;
}

}  // namespace qv::rdd
