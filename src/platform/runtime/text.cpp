#include "platform/runtime/text.h"

#include <cstdint>

namespace qv::rt {

namespace {

// Code page 1252 bytes 0x80..0x9F; the unassigned ones keep their C1 code.
constexpr char16_t kHigh1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Cp1252CodePoint(unsigned char b) {
  return b >= 0x80 && b < 0xA0 ? kHigh1252[b - 0x80] : b;
}

int Cp1252Byte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHigh1252[i] == cp) return 0x80 + i;
  }
  return -1;
}

void AppendUtf8(char32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at text[*i]; advances *i; -1 when invalid.
int64_t NextUtf8(std::string_view text, size_t* i) {
  unsigned char lead = static_cast<unsigned char>(text[(*i)++]);
  if (lead < 0x80) return lead;
  int extra = lead >= 0xF0 && lead < 0xF8 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
  if (extra < 0 || lead >= 0xF8) return -1;
  int64_t cp = lead & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (*i >= text.size()) return -1;
    unsigned char c = static_cast<unsigned char>(text[*i]);
    if ((c & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (c & 0x3F);
    ++*i;
  }
  return cp;
}

bool WildcardFrom(std::string_view p, std::string_view n) {
  // Iterative match with one backtrack point for the last '*'.
  size_t pi = 0, ni = 0, star = std::string_view::npos, mark = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || UpperByte(p[pi]) == UpperByte(n[ni]))) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == '*') {
      star = pi++;
      mark = ni;
    } else if (star != std::string_view::npos) {
      pi = star + 1;
      ni = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace


std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperByte(c);
  return out;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerByte(c);
  return out;
}

std::string_view RTrim(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string_view LTrim(std::string_view text) {
  size_t begin = text.find_first_not_of(' ');
  return begin == std::string_view::npos ? std::string_view() : text.substr(begin);
}

std::string_view AllTrim(std::string_view text) { return LTrim(RTrim(text)); }

int CompareNoCase(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(UpperByte(a[i]));
    auto y = static_cast<unsigned char>(UpperByte(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

bool XbaseEquals(std::string_view left, std::string_view right, bool exact) {
  if (exact) return RTrim(left) == RTrim(right);
  return left.substr(0, right.size()) == right;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  return WildcardFrom(pattern, name);
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) AppendUtf8(Cp1252CodePoint(static_cast<unsigned char>(c)), &out);
  return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    int64_t cp = NextUtf8(utf8, &i);
    int b = cp < 0 ? -1 : Cp1252Byte(static_cast<char32_t>(cp));
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

}  // namespace qv::rt
