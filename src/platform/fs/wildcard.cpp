// The matcher follows the file system's own rules: before matching, "?"
// becomes a DOS question mark, "*" before a dot a DOS star, and a dot before
// "?", "*" or the end of the pattern a DOS dot:
//   DOS star: any run of characters that does not take the name's last dot;
//   DOS question mark: one character other than a dot; at a dot or at the
//     end of the name it and the question marks after it match nothing;
//   DOS dot: a dot, or nothing at the end of the name.
#include "platform/fs/wildcard.h"

#include <string>
#include <vector>

#include "platform/fs/win_path.h"

namespace qv::fs {
namespace {

enum class Tok { kChar, kStar, kDosStar, kDosQm, kDosDot };

struct Token {
  Tok kind;
  char c;
};

std::vector<Token> Compile(std::string_view pattern) {
  if (pattern == "*.*") pattern = "*";
  std::vector<Token> out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (c == '?') {
      out.push_back({Tok::kDosQm, c});
    } else if (c == '*') {
      out.push_back({next == '.' ? Tok::kDosStar : Tok::kStar, c});
    } else if (c == '.' && (next == '?' || next == '*' || next == '\0')) {
      out.push_back({Tok::kDosDot, c});
    } else {
      out.push_back({Tok::kChar, c});
    }
  }
  return out;
}

class Matcher {
 public:
  Matcher(std::vector<Token> tokens, std::string_view name)
      : tokens_(std::move(tokens)),
        name_(name),
        last_dot_(name.rfind('.')),
        memo_((tokens_.size() + 1) * (name.size() + 1), kUnknown) {}

  bool Match(size_t t, size_t n) {
    char& memo = memo_[t * (name_.size() + 1) + n];
    if (memo == kUnknown) memo = Step(t, n) ? kYes : kNo;
    return memo == kYes;
  }

 private:
  static constexpr char kUnknown = 0, kYes = 1, kNo = 2;

  bool Step(size_t t, size_t n) {
    bool at_end = n == name_.size();
    if (t == tokens_.size()) return at_end;
    const Token& tok = tokens_[t];
    switch (tok.kind) {
      case Tok::kChar:
        return !at_end && EqualsNoCase(std::string_view(&tok.c, 1), name_.substr(n, 1)) &&
               Match(t + 1, n + 1);
      case Tok::kStar:
        return Match(t + 1, n) || (!at_end && Match(t, n + 1));
      case Tok::kDosStar:
        return Match(t + 1, n) || (!at_end && n != last_dot_ && Match(t, n + 1));
      case Tok::kDosQm:
        if (at_end || name_[n] == '.') {
          size_t after = t;
          while (after < tokens_.size() && tokens_[after].kind == Tok::kDosQm) ++after;
          return Match(after, n);
        }
        return Match(t + 1, n + 1);
      case Tok::kDosDot:
        if (at_end) return Match(t + 1, n);
        return name_[n] == '.' && Match(t + 1, n + 1);
    }
    return false;
  }

  std::vector<Token> tokens_;
  std::string_view name_;
  size_t last_dot_;
  std::vector<char> memo_;
};

}  // namespace

bool HasWildcards(std::string_view s) { return s.find_first_of("*?") != std::string_view::npos; }

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  if (!HasWildcards(pattern)) return EqualsNoCase(pattern, name);
  return Matcher(Compile(pattern), name).Match(0, 0);
}

}  // namespace qv::fs
