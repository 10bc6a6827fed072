// Internal to platform/rdd: little- and big-endian integers in byte buffers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::rdd::detail {

inline uint32_t Byte(std::string_view b, size_t i) { return static_cast<uint8_t>(b[i]); }

inline uint32_t GetLe16(std::string_view b, size_t at) {
  return Byte(b, at) | Byte(b, at + 1) << 8;
}
inline uint32_t GetLe32(std::string_view b, size_t at) {
  return GetLe16(b, at) | GetLe16(b, at + 2) << 16;
}
inline uint32_t GetBe16(std::string_view b, size_t at) {
  return Byte(b, at) << 8 | Byte(b, at + 1);
}
inline uint32_t GetBe32(std::string_view b, size_t at) {
  return GetBe16(b, at) << 16 | GetBe16(b, at + 2);
}

inline void PutLe16(std::string* b, size_t at, uint32_t v) {
  (*b)[at] = static_cast<char>(v & 0xFF);
  (*b)[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
inline void PutLe32(std::string* b, size_t at, uint32_t v) {
  PutLe16(b, at, v & 0xFFFF);
  PutLe16(b, at + 2, v >> 16);
}

}  // namespace qv::rdd::detail
