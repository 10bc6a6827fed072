#include "platform/gui/edit_text.h"

#include <cctype>

#include "platform/runtime/number.h"
#include "platform/runtime/text.h"

namespace qv::gui {

namespace {

struct Picture {
  bool upper = false;
  std::string_view mask;  // empty: no template
};

Picture ParsePicture(std::string_view picture) {
  Picture p;
  if (!picture.empty() && picture[0] == '@') {
    const size_t blank = picture.find(' ');
    const std::string_view functions =
        picture.substr(1, blank == std::string_view::npos ? std::string_view::npos : blank - 1);
    p.upper = functions.find('!') != std::string_view::npos;
    if (blank != std::string_view::npos) p.mask = picture.substr(blank + 1);
  } else {
    p.mask = picture;
  }
  return p;
}

bool IsMaskChar(char c) {
  const char u = rt::UpperByte(c);
  return u == '9' || u == '#' || u == 'A' || u == 'N' || u == 'X' || u == '!';
}

bool Accepts(char mask, char c) {
  const auto uc = static_cast<unsigned char>(c);
  switch (rt::UpperByte(mask)) {
    case '9':
      return std::isdigit(uc) || c == '.' || c == '-' || c == ' ';
    case '#':
      return std::isdigit(uc) || c == ' ' || c == '+' || c == '-' || c == '.';
    case 'A':
      return std::isalpha(uc) || c == ' ';
    case 'N':
      return std::isalnum(uc) || c == ' ';
    default:
      return true;
  }
}

}  // namespace

std::string ApplyPicture(std::string_view typed, std::string_view picture) {
  const Picture p = ParsePicture(picture);
  std::string out;
  if (p.mask.empty()) {
    out = typed;
  } else {
    size_t next = 0;
    for (char m : p.mask) {
      if (!IsMaskChar(m)) {
        out.push_back(m);
        if (next < typed.size() && typed[next] == m) ++next;  // typed the literal itself
        continue;
      }
      while (next < typed.size() && !Accepts(m, typed[next])) ++next;
      char c = next < typed.size() ? typed[next++] : ' ';
      if (m == '!') c = rt::UpperByte(c);
      out.push_back(c);
    }
  }
  return p.upper ? rt::Upper(out) : out;
}

std::string EditTextOf(const rt::Value& value, std::string_view picture) {
  if (value.IsDate()) return rt::Dtoc(value.date());
  if (value.IsNumber()) return rt::Str(value.number());
  if (ParsePicture(picture).mask.empty()) return value.str();
  return ApplyPicture(value.str(), picture);
}

Result<rt::Value> ValueFromTyping(const rt::Value& current, std::string_view typed,
                                  std::string_view picture, const rt::DateSettings& dates) {
  if (current.IsDate()) {
    // An entry with no digit is the empty date ("  /  /  ").
    if (typed.find_first_of("0123456789") == std::string_view::npos) return rt::Value(rt::Date());
    const rt::Date d = rt::Ctod(typed, dates);
    if (d.empty()) return Status::InvalidArgument("not a date (mm/dd/yy): " + std::string(typed));
    return rt::Value(d);
  }
  if (current.IsNumber()) {
    const std::string text = ApplyPicture(typed, picture);
    rt::Number n = current.number();
    n.value = rt::Val(text).value;
    return rt::Value(n);
  }
  if (!current.IsString()) {
    return Status::InvalidArgument("an entry field edits a string, number or date");
  }
  std::string text(typed.substr(0, current.str().size()));
  text.resize(current.str().size(), ' ');
  text = ApplyPicture(text, picture);
  text.resize(current.str().size(), ' ');
  return rt::Value(std::move(text));
}

}  // namespace qv::gui
