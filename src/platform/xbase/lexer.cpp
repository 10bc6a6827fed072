#include "platform/xbase/lexer.h"

namespace qv::xb {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || IsDigit(c); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

const char* const kTokenNames[] = {
#define QV_XB_TOKEN_NAME(kind, text) text,
    QV_XB_TOKENS(QV_XB_TOKEN_NAME)
#undef QV_XB_TOKEN_NAME
};

}  // namespace

const char* TokenName(TokenKind kind) { return kTokenNames[static_cast<int>(kind)]; }

Token Lexer::Next() {
  while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' ||
                                 text_[pos_] == '\n')) {
    ++pos_;
  }
  Token token;
  if (pos_ >= text_.size()) {
    token.kind = TokenKind::kEnd;
    token.pos = pos_;
  } else {
    uint32_t start = pos_;
    char c = text_[pos_];
    if (IsDigit(c)) {
      token = LexNumber(start);
    } else if (c == '"' || c == '\'') {
      token = LexQuoted(start, c);
    } else if (c == '[' && !BracketIsIndex()) {
      token = LexQuoted(start, ']');
    } else if (IsNameStart(c)) {
      token = LexName(start);
    } else if (c == '.') {
      token = LexDotWord(start);
    } else {
      token = LexOperator(start);
    }
  }
  prev_ = token.kind;
  return token;
}

bool Lexer::BracketIsIndex() const {
  return prev_ == TokenKind::kName || prev_ == TokenKind::kRParen ||
         prev_ == TokenKind::kRBracket || prev_ == TokenKind::kRBrace ||
         prev_ == TokenKind::kString;
}

Token Lexer::LexNumber(uint32_t start) {
  while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
  // "3." is a number, but "3.AND." and "3..." are not part of it.
  if (pos_ < text_.size() && text_[pos_] == '.' &&
      !(pos_ + 1 < text_.size() && (IsNameStart(text_[pos_ + 1]) || text_[pos_ + 1] == '.'))) {
    ++pos_;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
  }
  return Token{TokenKind::kNumber, start, std::string(text_.substr(start, pos_ - start))};
}

Token Lexer::LexQuoted(uint32_t start, char close) {
  size_t end = text_.find(close, start + 1);
  if (end == std::string_view::npos) {
    pos_ = static_cast<uint32_t>(text_.size());
    return Token{TokenKind::kError, start, "unterminated string"};
  }
  pos_ = static_cast<uint32_t>(end + 1);
  return Token{TokenKind::kString, start, std::string(text_.substr(start + 1, end - start - 1))};
}

Token Lexer::LexName(uint32_t start) {
  std::string name;
  while (pos_ < text_.size() && IsNameChar(text_[pos_])) name += Upper(text_[pos_++]);
  // "&name." : the dot only ends the macro name.
  if (prev_ == TokenKind::kAmp && pos_ < text_.size() && text_[pos_] == '.') ++pos_;
  return Token{TokenKind::kName, start, std::move(name)};
}

Token Lexer::LexDotWord(uint32_t start) {
  if (pos_ + 1 < text_.size() && IsDigit(text_[pos_ + 1])) {
    ++pos_;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    return Token{TokenKind::kNumber, start, std::string(text_.substr(start, pos_ - start))};
  }
  uint32_t p = pos_ + 1;
  std::string word;
  while (p < text_.size() && IsNameStart(text_[p]) && word.size() < 4) word += Upper(text_[p++]);
  struct DotWord {
    const char* word;
    TokenKind kind;
  };
  static const DotWord kWords[] = {{"T", TokenKind::kTrue},  {"Y", TokenKind::kTrue},
                                   {"F", TokenKind::kFalse}, {"N", TokenKind::kFalse},
                                   {"AND", TokenKind::kAnd}, {"OR", TokenKind::kOr},
                                   {"NOT", TokenKind::kNot}};
  if (p < text_.size() && text_[p] == '.') {
    for (const DotWord& w : kWords) {
      if (word == w.word) {
        pos_ = p + 1;
        return Token{w.kind, start, {}};
      }
    }
  }
  ++pos_;
  return Token{TokenKind::kError, start, "unexpected '.'"};
}

Token Lexer::LexOperator(uint32_t start) {
  struct Op {
    const char* text;
    TokenKind kind;
  };
  // Longest first, so "**" wins over "*" and "==" over "=".
  static const Op kOps[] = {
      {"**", TokenKind::kPower},       {":=", TokenKind::kAssign},  {"==", TokenKind::kEqEq},
      {"!=", TokenKind::kNe},          {"<>", TokenKind::kNe},      {"<=", TokenKind::kLe},
      {">=", TokenKind::kGe},          {"->", TokenKind::kArrow},   {"+=", TokenKind::kPlusAssign},
      {"-=", TokenKind::kMinusAssign}, {"++", TokenKind::kInc},     {"--", TokenKind::kDec},
      {"+", TokenKind::kPlus},         {"-", TokenKind::kMinus},    {"*", TokenKind::kStar},
      {"/", TokenKind::kSlash},        {"%", TokenKind::kPercent},  {"^", TokenKind::kPower},
      {"=", TokenKind::kEq},           {"#", TokenKind::kNe},       {"<", TokenKind::kLt},
      {">", TokenKind::kGt},           {"$", TokenKind::kDollar},   {"!", TokenKind::kNot},
      {"&", TokenKind::kAmp},          {"@", TokenKind::kAt},       {"(", TokenKind::kLParen},
      {")", TokenKind::kRParen},       {"{", TokenKind::kLBrace},   {"}", TokenKind::kRBrace},
      {"[", TokenKind::kLBracket},     {"]", TokenKind::kRBracket}, {",", TokenKind::kComma},
      {"|", TokenKind::kBar},          {":", TokenKind::kColon},
  };
  std::string_view rest = text_.substr(pos_);
  for (const Op& op : kOps) {
    std::string_view t(op.text);
    if (rest.substr(0, t.size()) == t) {
      pos_ += static_cast<uint32_t>(t.size());
      return Token{op.kind, start, {}};
    }
  }
  ++pos_;
  return Token{TokenKind::kError, start, "unexpected character"};
}

}  // namespace qv::xb
