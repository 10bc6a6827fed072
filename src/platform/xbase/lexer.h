// Splits xBase expression text into tokens. Names come out upper-cased (the
// language is case-insensitive); positions are byte offsets into the text so
// that errors can point at the fault. The lexer never fails: a character it
// cannot read becomes a kError token that the parser reports.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::xb {

// One table for the token kinds and their display names; the enum and
// TokenName() are both generated from it.
#define QV_XB_TOKENS(X)             \
  X(kEnd, "end of text")            \
  X(kError, "unreadable character") \
  X(kNumber, "number")              \
  X(kString, "string")              \
  X(kName, "name")                  \
  X(kTrue, ".T.")                   \
  X(kFalse, ".F.")                  \
  X(kAnd, ".AND.")                  \
  X(kOr, ".OR.")                    \
  X(kNot, ".NOT.")                  \
  X(kPlus, "+")                     \
  X(kMinus, "-")                    \
  X(kStar, "*")                     \
  X(kSlash, "/")                    \
  X(kPercent, "%")                  \
  X(kPower, "**")                   \
  X(kEq, "=")                       \
  X(kEqEq, "==")                    \
  X(kNe, "<>")                      \
  X(kLt, "<")                       \
  X(kLe, "<=")                      \
  X(kGt, ">")                       \
  X(kGe, ">=")                      \
  X(kDollar, "$")                   \
  X(kAssign, ":=")                  \
  X(kPlusAssign, "+=")              \
  X(kMinusAssign, "-=")             \
  X(kInc, "++")                     \
  X(kDec, "--")                     \
  X(kArrow, "->")                   \
  X(kAmp, "&")                      \
  X(kAt, "@")                       \
  X(kLParen, "(")                   \
  X(kRParen, ")")                   \
  X(kLBrace, "{")                   \
  X(kRBrace, "}")                   \
  X(kLBracket, "[")                 \
  X(kRBracket, "]")                 \
  X(kComma, ",")                    \
  X(kBar, "|")                      \
  X(kColon, ":")

enum class TokenKind : uint8_t {
#define QV_XB_TOKEN_ENUM(kind, text) kind,
  QV_XB_TOKENS(QV_XB_TOKEN_ENUM)
#undef QV_XB_TOKEN_ENUM
};

// The token as an error message shows it ("+", "name", "end of text").
const char* TokenName(TokenKind kind);

struct Token {
  TokenKind kind = TokenKind::kEnd;
  uint32_t pos = 0;  // byte offset of the first character
  // kName: the upper-cased name; kString: the contents without quotes;
  // kNumber: the literal as written.
  std::string text;
};

class Lexer {
 public:
  // REQUIRES: text outlives the lexer.
  explicit Lexer(std::string_view text) : text_(text) {}

  // The next token; kEnd forever once the text is used up.
  Token Next();

 private:
  Token LexNumber(uint32_t start);
  Token LexQuoted(uint32_t start, char close);
  Token LexName(uint32_t start);
  // After a '.': .T. .F. .Y. .N. .AND. .OR. .NOT., or a number like .5.
  Token LexDotWord(uint32_t start);
  Token LexOperator(uint32_t start);
  // A '[' opens a string unless it follows something that can be indexed.
  bool BracketIsIndex() const;

  std::string_view text_;
  uint32_t pos_ = 0;
  TokenKind prev_ = TokenKind::kEnd;
};

}  // namespace qv::xb
