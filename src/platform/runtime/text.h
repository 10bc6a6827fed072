// Byte strings as xBase code sees them: case mapping and comparison change
// only a-z and A-Z (binary collation, as the index files require); trimming
// removes blanks (0x20) only. Code page 1252 matters only when text is shown,
// printed or written to a transcript, which is what the converters are for.
#pragma once

#include <string>
#include <string_view>

namespace qv::rt {

// Inline: index keys map every byte of every record through these.
inline char UpperByte(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
inline char LowerByte(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
std::string Upper(std::string_view text);
std::string Lower(std::string_view text);

// Blanks only; tabs and other bytes stay.
std::string_view RTrim(std::string_view text);
std::string_view LTrim(std::string_view text);
std::string_view AllTrim(std::string_view text);

// Names (variables, procedures, aliases, fields): equal or ordered ignoring
// the case of a-z only. CompareNoCase returns <0, 0, >0 on unsigned bytes.
bool EqualsNoCase(std::string_view a, std::string_view b);
int CompareNoCase(std::string_view a, std::string_view b);

// The string = of xBase. exact false (SET EXACT OFF): true when left begins
// with right (so anything = ""). exact true: equal after dropping trailing
// blanks of both. The == operator is plain byte equality, not this.
bool XbaseEquals(std::string_view left, std::string_view right, bool exact);

// Wildcard match of a name, case-insensitive: '*' any run, '?' one byte.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Every byte of code page 1252 to UTF-8; the five unassigned bytes (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to U+0081 etc. so nothing is lost.
std::string Cp1252ToUtf8(std::string_view bytes);
// The reverse; a character code page 1252 cannot hold and invalid UTF-8
// become '?'.
std::string Utf8ToCp1252(std::string_view utf8);

}  // namespace qv::rt
