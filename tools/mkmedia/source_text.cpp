#include "source_text.h"

#include <algorithm>

#include "platform/runtime/text.h"

namespace qv::media {

Result<std::string> ToCp1252(std::string_view utf8, std::string_view where) {
  std::string bytes = rt::Utf8ToCp1252(utf8);
  // The runtime's converter maps the unconvertible to '?': a round trip
  // that does not give the text back means such a character was there.
  if (rt::Cp1252ToUtf8(bytes) != utf8) {
    return Status::InvalidArgument(std::string(where) +
                                   ": text is not UTF-8 of code page 1252 characters");
  }
  return bytes;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

Result<SplitRow> SplitCells(std::string_view line, char sep, std::string_view where) {
  SplitRow row;
  std::string cell;
  bool escaped_in_cell = false;
  auto fail = [&](const char* what) {
    return Status::InvalidArgument(std::string(where) + ": " + what);
  };
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == sep) {
      if (row.cells.empty()) row.first_plain = !escaped_in_cell;
      row.cells.push_back(std::move(cell));
      cell.clear();
      escaped_in_cell = false;
      continue;
    }
    if (c != '\\') {
      cell.push_back(c);
      continue;
    }
    if (i + 1 >= line.size()) return fail("a backslash ends the line");
    char e = line[++i];
    escaped_in_cell =
        escaped_in_cell || e == 'n' || e == 'r' || e == 't' || e == 'x' || e == '\\' || e == sep;
    switch (e) {
      case 'n':
        cell.push_back('\n');
        break;
      case 'r':
        cell.push_back('\r');
        break;
      case 't':
        cell.push_back('\t');
        break;
      case 'x': {
        int hi = i + 1 < line.size() ? HexDigit(line[i + 1]) : -1;
        int lo = i + 2 < line.size() ? HexDigit(line[i + 2]) : -1;
        if (hi < 0 || lo < 0) return fail("\\x needs two hex digits");
        cell.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        break;
      }
      default:
        if (e != '\\' && e != sep) cell.push_back('\\');
        cell.push_back(e);
    }
  }
  if (row.cells.empty()) row.first_plain = !escaped_in_cell;
  row.cells.push_back(std::move(cell));
  return row;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = std::min(text.find('\n', pos), text.size());
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    pos = end + 1;
  }
  return lines;
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string_view TrimSpace(std::string_view text) {
  size_t b = text.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  size_t e = text.find_last_not_of(" \t");
  return text.substr(b, e - b + 1);
}

std::string_view TrimRight(std::string_view text) {
  size_t e = text.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string_view() : text.substr(0, e + 1);
}

std::pair<std::string_view, std::string_view> FirstWord(std::string_view text) {
  text = TrimSpace(text);
  size_t end = text.find_first_of(" \t");
  if (end == std::string_view::npos) return {text, {}};
  return {text.substr(0, end), TrimSpace(text.substr(end))};
}

}  // namespace qv::media
