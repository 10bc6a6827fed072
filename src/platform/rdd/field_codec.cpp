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

// The value of N field text as VAL() reads it: blanks, an optional sign,
// digits, an optional point and digits; the first other byte ends it. This
// is the scan's inner loop, so the usual case (at most 15 digits) builds an
// exact integer and divides by an exact power of ten, which rounds exactly
// as strtod does; longer texts go to strtod.
double FieldValue(std::string_view text) {
  static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const size_t start = i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  uint64_t mantissa = 0;
  int digits = 0;
  int decimals = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    mantissa = mantissa * 10 + static_cast<uint64_t>(text[i] - '0');
  }
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits, ++decimals) {
      mantissa = mantissa * 10 + static_cast<uint64_t>(text[i] - '0');
    }
  }
  if (digits > 15) {
    std::string copy(text.substr(start, i - start));
    return std::strtod(copy.c_str(), nullptr);
  }
  double value = static_cast<double>(mantissa) / kPow10[decimals];
  return negative ? -value : value;
}

// STR(value, len, dec) into out without going through text formatting,
// for the usual case: the scaled value is well away from a rounding tie
// and fits in 15 digits, where the nearest integer is what rounding the
// decimal text gives. false: the caller formats the general way.
bool FastFieldText(double value, uint32_t len, uint32_t dec, char* out) {
  static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  if (dec > 15 || !(std::fabs(value) < 1e15)) return false;
  const double scaled = value * kPow10[dec];
  const double rounded = std::round(scaled);
  if (!(std::fabs(rounded) < 1e15) || std::fabs(std::fabs(scaled - rounded) - 0.5) < 1e-6) {
    return false;
  }
  const bool negative = rounded < 0;  // a value that rounds to zero shows no sign
  uint64_t digits = static_cast<uint64_t>(std::fabs(rounded));
  char text[40];
  size_t n = 0;
  for (uint32_t i = 0; i < dec; ++i, digits /= 10) text[n++] = static_cast<char>('0' + digits % 10);
  if (dec > 0) text[n++] = '.';
  do {
    text[n++] = static_cast<char>('0' + digits % 10);
    digits /= 10;
  } while (digits != 0);
  if (negative) text[n++] = '-';
  if (n > len) return false;  // stars: the general path says so
  std::memset(out, ' ', len - n);
  for (size_t i = 0; i < n; ++i) out[len - 1 - i] = text[i];
  return true;
}

}  // namespace

rt::Value DecodeField(const FieldInfo& f, const char* record) {
  std::string_view raw = Raw(f, record);
  switch (f.type) {
    case FieldType::kCharacter:
      return rt::Value(std::string(raw));
    case FieldType::kNumeric:
    case FieldType::kFloat:
      return rt::Value(rt::Number{FieldValue(raw), static_cast<int16_t>(f.length),
                                  static_cast<int16_t>(f.decimals)});
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
      if (FastFieldText(v.num(), f.length, f.decimals, out)) return Status::OK();
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
