#include "ui/text_helpers.h"

#include "platform/runtime/text.h"

namespace qv::ui {

namespace {

bool IsBreak(char c) { return c == ' ' || c == ',' || c == '.'; }

bool IsCompassPoint(char a, char b) {
  const char x = rt::UpperByte(a);
  const char y = rt::UpperByte(b);
  return (x == 'N' || x == 'S') && (y == 'W' || y == 'E');
}

}  // namespace

std::string YesNo(bool flag) { return flag ? "Y" : "N"; }

bool TrueFalse(std::string_view text) { return !text.empty() && text[0] == 'Y'; }

std::string Proper(std::string_view text) {
  const size_t length = text.size();
  std::string squeezed;
  for (char c : rt::AllTrim(text)) {
    if (c == ' ' && !squeezed.empty() && squeezed.back() == ' ') continue;
    squeezed.push_back(c);
  }
  // One blank in front and two behind, so every window of four characters
  // starting at a real character exists.
  std::string s = " " + squeezed + "  ";
  size_t i = 0;  // 0-based: position 1 of the walk
  while (i + 1 < s.size()) {
    const char c1 = s[i];
    const char c2 = s[i + 1];
    const char c3 = i + 2 < s.size() ? s[i + 2] : ' ';
    const bool c4_breaks = i + 3 >= s.size() || IsBreak(s[i + 3]);
    if (IsBreak(c1) && IsCompassPoint(c2, c3) && c4_breaks && i + 2 < s.size()) {
      s[i + 1] = rt::UpperByte(c2);
      s[i + 2] = rt::UpperByte(c3);
      i += 2;
    } else if (rt::UpperByte(c1) == 'M' && rt::UpperByte(c2) == 'C' && i + 2 < s.size()) {
      s[i] = 'M';
      s[i + 1] = 'c';
      s[i + 2] = rt::UpperByte(c3);
      i += 3;
    } else if (c1 == ' ' || c1 == '.') {
      s[i + 1] = rt::UpperByte(c2);
      i += 1;
    } else {
      i += 1;
    }
  }
  std::string out(rt::AllTrim(s));
  if (out.size() < length) out.resize(length, ' ');
  return out;
}

std::string Dots(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == ' ') c = '.';
  }
  return out;
}

}  // namespace qv::ui
