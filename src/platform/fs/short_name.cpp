#include "platform/fs/short_name.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/fs/win_path.h"

namespace qv::fs {
namespace {

constexpr size_t kBasisLength = 6;

bool AllowedInShortName(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  if (u >= 0x80) return true;
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'()-@^_`{}~").find(c) != std::string_view::npos;
}

std::string Allowed(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (AllowedInShortName(c)) out += c;
  }
  return ToUpperAscii(out);
}

struct Parts {
  std::string basis;      // up to six characters
  std::string extension;  // up to three characters, without the dot
};

// Leading dots are not an extension (".profile" has none); the last dot is.
Parts Split(std::string_view name) {
  size_t first = name.find_first_not_of('.');
  std::string_view body = first == std::string_view::npos ? "" : name.substr(first);
  size_t dot = body.rfind('.');
  Parts p;
  if (dot == std::string_view::npos) {
    p.basis = Allowed(body);
  } else {
    p.basis = Allowed(body.substr(0, dot));
    p.extension = Allowed(body.substr(dot + 1)).substr(0, 3);
  }
  if (p.basis.empty()) p.basis.push_back('_');
  p.basis.resize(std::min(p.basis.size(), kBasisLength));
  return p;
}

// BASIS~N.EXT; the basis gives way to longer numbers so that it stays 8.3.
std::string Compose(const Parts& p, size_t number) {
  std::string tail(1, '~');
  tail += std::to_string(number);
  std::string basis =
      p.basis.substr(0, std::min(p.basis.size(), 8 - std::min<size_t>(tail.size(), 7)));
  std::string out = basis + tail;
  if (!p.extension.empty()) {
    out += '.';
    out += p.extension;
  }
  return out;
}

}  // namespace

bool IsShortName(std::string_view name) {
  size_t dot = name.find('.');
  std::string_view base = name.substr(0, dot);
  std::string_view ext = dot == std::string_view::npos ? "" : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
  if (dot != std::string_view::npos && ext.empty()) return false;
  auto ok = [](std::string_view s) { return std::all_of(s.begin(), s.end(), AllowedInShortName); };
  return ok(base) && ok(ext);
}

std::vector<std::string> ShortNames(const std::vector<std::string>& names) {
  std::vector<std::string> out(names.size());
  std::map<std::string, std::vector<size_t>> by_basis;
  std::vector<Parts> parts(names.size());
  std::set<std::string> taken;  // upper-cased; a short name never repeats one
  for (size_t i = 0; i < names.size(); ++i) {
    if (IsShortName(names[i])) {
      out[i] = names[i];
      taken.insert(ToUpperAscii(names[i]));
      continue;
    }
    parts[i] = Split(names[i]);
    by_basis[parts[i].basis].push_back(i);
  }
  for (auto& [basis, members] : by_basis) {
    std::sort(members.begin(), members.end(),
              [&names](size_t a, size_t b) { return LessNoCase(names[a], names[b]); });
    size_t number = 1;
    for (size_t member : members) {
      // A name like QUORVA~1 that exists as such keeps it; the entry that
      // would have been numbered so takes the next free number.
      while (taken.count(Compose(parts[member], number))) ++number;
      out[member] = Compose(parts[member], number++);
      taken.insert(out[member]);
    }
  }
  return out;
}

std::string ShortName(std::string_view long_name, const std::vector<std::string>& siblings) {
  std::vector<std::string> names = siblings;
  auto self = std::find(names.begin(), names.end(), long_name);
  size_t index = static_cast<size_t>(self - names.begin());
  if (self == names.end()) names.emplace_back(long_name);
  return ShortNames(names)[index];
}

}  // namespace qv::fs
