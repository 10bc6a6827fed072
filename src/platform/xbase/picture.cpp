#include "platform/xbase/picture.h"

#include <cmath>

#include "platform/runtime/number.h"
#include "platform/runtime/text.h"

namespace qv::xb {
namespace {

struct Picture {
  std::string functions;  // letters after "@", upper case, up to the first blank
  std::string tmpl;       // the template after them
  int scroll = 0;         // S<n>
};

Picture Split(std::string_view picture) {
  Picture p;
  if (!picture.empty() && picture[0] == '@') {
    size_t blank = picture.find(' ');
    std::string_view fn = picture.substr(1, blank == std::string_view::npos ? blank : blank - 1);
    for (size_t i = 0; i < fn.size(); ++i) {
      char c = rt::UpperByte(fn[i]);
      if (c == 'S') {
        while (i + 1 < fn.size() && fn[i + 1] >= '0' && fn[i + 1] <= '9' && p.scroll < 10000) {
          p.scroll = p.scroll * 10 + (fn[++i] - '0');
        }
      }
      p.functions += c;
    }
    if (blank != std::string_view::npos) p.tmpl = std::string(picture.substr(blank + 1));
  } else {
    p.tmpl = std::string(picture);
  }
  return p;
}

bool Has(const Picture& p, char fn) { return p.functions.find(fn) != std::string::npos; }

bool IsTextSlot(char c) {
  c = rt::UpperByte(c);
  return c == 'A' || c == 'N' || c == 'X' || c == '9' || c == '#' || c == 'L' || c == 'Y' ||
         c == '!';
}

std::string TransformText(const std::string& text, const Picture& p) {
  std::string out;
  if (p.tmpl.empty()) {
    out = text;
    if (Has(p, '!')) out = rt::Upper(out);
  } else {
    size_t next = 0;
    for (char t : p.tmpl) {
      if (!IsTextSlot(t)) {
        out += t;
        continue;
      }
      char c = next < text.size() ? text[next] : ' ';
      ++next;
      out += (t == '!' || Has(p, '!')) ? rt::UpperByte(c) : c;
    }
  }
  if (p.scroll > 0 && out.size() > static_cast<size_t>(p.scroll)) out.resize(p.scroll);
  return out;
}

bool IsDigitSlot(char c) { return c == '9' || c == '#' || c == '*' || c == '$'; }

std::string NumberTemplate(double v, const std::string& tmpl) {
  int ints = 0;
  int decs = 0;
  bool after_point = false;
  for (char c : tmpl) {
    if (c == '.' && !after_point) {
      after_point = true;
    } else if (IsDigitSlot(c)) {
      (after_point ? decs : ints)++;
    }
  }
  std::string digits = rt::Str(v, ints + (after_point ? decs + 1 : 0), decs);
  bool overflow = digits.find('*') != std::string::npos;
  std::string out;
  size_t next = 0;
  bool seen_point = false;
  bool started = false;  // a digit or sign has been written
  for (char t : tmpl) {
    if (IsDigitSlot(t) || (t == '.' && !seen_point)) {
      if (t == '.') seen_point = true;
      char c = next < digits.size() ? digits[next] : ' ';
      ++next;
      if (overflow && t != '.') c = '*';
      if (c == ' ' && (t == '*' || t == '$')) c = t;
      if (c != ' ') started = true;
      out += c;
    } else if (t == ',') {
      out += started ? ',' : ' ';
    } else {
      out += t;
    }
  }
  return out;
}

std::string TransformNumber(const rt::Number& n, const Picture& p) {
  if (Has(p, 'Z') && n.value == 0) {
    size_t width = p.tmpl.empty() ? static_cast<size_t>(n.width) : p.tmpl.size();
    return std::string(width, ' ');
  }
  bool negative = n.value < 0;
  bool parens = negative && Has(p, '(');
  double v = parens ? -n.value : n.value;
  std::string out =
      p.tmpl.empty() ? rt::Str(rt::Number{v, n.width, n.decimals}) : NumberTemplate(v, p.tmpl);
  if (parens) {
    size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos) first = out.size();
    if (first > 0) {
      out[first - 1] = '(';
    } else {
      out.insert(out.begin(), '(');
    }
    out += ')';
  }
  if (Has(p, 'B')) {
    std::string trimmed(rt::LTrim(out));
    out = trimmed + std::string(out.size() - trimmed.size(), ' ');
  }
  if (Has(p, 'C') && n.value > 0) out += " CR";
  if (Has(p, 'X') && negative) out += " DB";
  return out;
}

std::string TransformDate(rt::Date d, const Picture& p) {
  std::string text = rt::Dtoc(d);
  if (Has(p, 'E') && text.size() >= 5) {
    text = text.substr(3, 2) + "/" + text.substr(0, 2) + text.substr(5);
  }
  return text;
}

std::string TransformLogical(bool b, const Picture& p) {
  bool yes_no = !p.tmpl.empty() && rt::UpperByte(p.tmpl[0]) == 'Y';
  if (yes_no) return b ? "Y" : "N";
  return b ? "T" : "F";
}

}  // namespace

std::string Transform(const rt::Value& value, std::string_view picture) {
  Picture p = Split(picture);
  switch (value.type()) {
    case rt::Type::kString:
      return TransformText(value.str(), p);
    case rt::Type::kNumber:
      return TransformNumber(value.number(), p);
    case rt::Type::kDate:
      return TransformDate(value.date(), p);
    case rt::Type::kLogical:
      return TransformLogical(value.logical(), p);
    default:
      return "";
  }
}

}  // namespace qv::xb
