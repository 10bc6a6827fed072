#include "platform/rdd/cdx/cdx_key.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/runtime/date.h"

namespace qv::rdd::cdx {

uint8_t FillByte(KeyType type) { return type == KeyType::kChar ? ' ' : 0x00; }

char KeyTypeLetter(KeyType type) {
  switch (type) {
    case KeyType::kChar:
      return 'C';
    case KeyType::kNumeric:
      return 'N';
    case KeyType::kDate:
      return 'D';
    case KeyType::kLogical:
      return 'L';
  }
  return '?';
}

std::string EncodeChar(std::string_view text, size_t key_len) {
  std::string key(text.substr(0, key_len));
  key.resize(key_len, ' ');
  return key;
}

std::string EncodeNumber(double value) {
  if (value == 0) value = 0;  // folds -0.0 into +0.0
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  bits = std::signbit(value) ? ~bits : bits ^ (uint64_t{1} << 63);
  std::string key(kNumericKeyLen, '\0');
  for (size_t i = 0; i < kNumericKeyLen; ++i) key[i] = static_cast<char>(bits >> (56 - 8 * i));
  return key;
}

std::string EncodeDate(int64_t julian_day) { return EncodeNumber(static_cast<double>(julian_day)); }

std::string EncodeLogical(bool value) { return value ? "T" : "F"; }

double DecodeNumber(std::string_view key) {
  uint64_t bits = 0;
  for (size_t i = 0; i < kNumericKeyLen; ++i) bits = (bits << 8) | static_cast<uint8_t>(key[i]);
  bits = (bits >> 63) ? bits ^ (uint64_t{1} << 63) : ~bits;
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

int64_t DecodeDate(std::string_view key) {
  double day = DecodeNumber(key);
  return std::isfinite(day) ? static_cast<int64_t>(std::llround(day)) : 0;
}

std::string FormatKey(KeyType type, std::string_view key) {
  switch (type) {
    case KeyType::kChar:
      return std::string(key);
    case KeyType::kNumeric: {
      if (key.size() != kNumericKeyLen) return "?";
      // The fewest decimals (at most 12) that give the same double back.
      const double value = DecodeNumber(key);
      char buf[400];
      for (int decimals = 0; decimals <= 12; ++decimals) {
        std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
        if (std::strtod(buf, nullptr) == value) break;
      }
      const std::string text(buf);
      return text == "-0" ? "0" : text;
    }
    case KeyType::kDate:
      if (key.size() != kNumericKeyLen) return "?";
      return rt::Date::FromJulian(DecodeDate(key)).empty()
                 ? std::string()
                 : rt::Date::FromJulian(DecodeDate(key)).Dtos();
    case KeyType::kLogical:
      return key == "T" ? "T" : "F";
  }
  return {};
}

}  // namespace qv::rdd::cdx
