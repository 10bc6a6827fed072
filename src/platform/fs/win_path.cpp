#include "platform/fs/win_path.h"

#include <algorithm>

namespace qv::fs {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsForbidden(char c) {
  return static_cast<unsigned char>(c) < 32 || c == '<' || c == '>' || c == ':' || c == '"' ||
         c == '|';
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

Result<WinPath> ParseWinPath(std::string_view path) {
  WinPath out;
  std::string_view rest = path;
  if (rest.size() >= 2 && rest[1] == ':') {
    char letter = UpperAscii(rest[0]);
    if (letter < 'A' || letter > 'Z') {
      return Status::InvalidArgument("path: bad drive in \"" + std::string(path) + "\"");
    }
    out.drive = letter;
    rest.remove_prefix(2);
  }
  out.rooted = !rest.empty() && IsSeparator(rest[0]);
  size_t pos = 0;
  while (pos <= rest.size()) {
    size_t end = pos;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::string part(rest.substr(pos, end - pos));
    if (part != "." && part != "..") {
      while (!part.empty() && (part.back() == ' ' || part.back() == '.')) part.pop_back();
    }
    if (std::any_of(part.begin(), part.end(), IsForbidden)) {
      return Status::InvalidArgument("path: character not allowed in \"" + std::string(path) +
                                     "\"");
    }
    if (!part.empty()) out.parts.push_back(std::move(part));
    pos = end + 1;
  }
  return out;
}

Result<std::vector<std::string>> JoinParts(std::vector<std::string> base,
                                           const std::vector<std::string>& rel) {
  for (const std::string& part : rel) {
    if (part == ".") continue;
    if (part == "..") {
      if (base.empty()) return Status::InvalidArgument("path: \"..\" leaves the drive's root");
      base.pop_back();
      continue;
    }
    base.push_back(part);
  }
  return base;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperAscii(x) == UpperAscii(y);
         });
}

bool LessNoCase(std::string_view a, std::string_view b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(UpperAscii(a[i]));
    unsigned char y = static_cast<unsigned char>(UpperAscii(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::string ToUpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = UpperAscii(c);
  return out;
}

}  // namespace qv::fs
