// Little- and big-endian loads and stores on raw page bytes. The CDX format
// mixes both orders (page headers LE, interior record/child numbers BE).
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv::rdd::cdx {

inline uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint32_t Be32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}
// The first n (<= 8) bytes as one little-endian integer.
inline uint64_t LeN(const uint8_t* p, size_t n) {
  uint64_t v = 0;
  for (size_t i = n; i > 0; --i) v = (v << 8) | p[i - 1];
  return v;
}

inline void PutLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void PutBe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}
inline void PutLeN(uint8_t* p, size_t n, uint64_t v) {
  for (size_t i = 0; i < n; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace qv::rdd::cdx
