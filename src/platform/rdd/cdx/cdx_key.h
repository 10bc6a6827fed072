// Key values as CDX key bytes: the encodings whose plain unsigned byte-wise
// comparison gives the xBase order, and their decoding for display. The tree
// code only ever sees bytes; the key type chooses the fill byte (what a
// trailing-compressed key is padded with) and these conversions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::rdd::cdx {

enum class KeyType { kChar, kNumeric, kDate, kLogical };

inline constexpr size_t kNumericKeyLen = 8;  // numeric and date keys
inline constexpr size_t kLogicalKeyLen = 1;

// Space for character keys, 0x00 for the others.
uint8_t FillByte(KeyType type);
// 'C', 'N', 'D' or 'L'.
char KeyTypeLetter(KeyType type);

// The text cut or padded with spaces to key_len bytes.
std::string EncodeChar(std::string_view text, size_t key_len);
// 8 bytes: the big-endian IEEE double with the sign bit flipped when >= 0 and
// every bit inverted when < 0; -0.0 is stored as +0.0.
std::string EncodeNumber(double value);
// A Julian day number (0 = empty date) encoded as a number.
std::string EncodeDate(int64_t julian_day);
// "T" or "F".
std::string EncodeLogical(bool value);

// Inverse of EncodeNumber. REQUIRES: key.size() == 8.
double DecodeNumber(std::string_view key);
// Inverse of EncodeDate (the day number, 0 for the empty date).
// REQUIRES: key.size() == 8.
int64_t DecodeDate(std::string_view key);

// Key bytes written as the tools and truth files show them: C as its bytes,
// N as a number (up to 12 decimals, no trailing zeros), D as YYYYMMDD or "",
// L as T/F.
std::string FormatKey(KeyType type, std::string_view key);

}  // namespace qv::rdd::cdx
