#include "platform/xbase/parser.h"

#include <string>
#include <vector>

#include "platform/runtime/number.h"
#include "platform/xbase/lexer.h"

namespace qv::xb {
namespace {

// Binary operator priorities, lowest binding first. A left priority above the
// caller's limit continues the expression; the right priority bounds what the
// operand may contain (equal for left-associative operators).
struct BinaryPriority {
  TokenKind token;
  NodeKind kind;
  BinaryOp op;
  uint8_t left;
  uint8_t right;
};
constexpr BinaryPriority kBinaryPriorities[] = {
    {TokenKind::kOr, NodeKind::kOr, BinaryOp::kNone, 1, 1},
    {TokenKind::kAnd, NodeKind::kAnd, BinaryOp::kNone, 2, 2},
    // .NOT. sits here: its operand may hold comparisons but not .AND./.OR.
    {TokenKind::kEq, NodeKind::kBinary, BinaryOp::kEq, 4, 4},
    {TokenKind::kEqEq, NodeKind::kBinary, BinaryOp::kExactEq, 4, 4},
    {TokenKind::kNe, NodeKind::kBinary, BinaryOp::kNe, 4, 4},
    {TokenKind::kLt, NodeKind::kBinary, BinaryOp::kLt, 4, 4},
    {TokenKind::kLe, NodeKind::kBinary, BinaryOp::kLe, 4, 4},
    {TokenKind::kGt, NodeKind::kBinary, BinaryOp::kGt, 4, 4},
    {TokenKind::kGe, NodeKind::kBinary, BinaryOp::kGe, 4, 4},
    {TokenKind::kDollar, NodeKind::kBinary, BinaryOp::kIn, 4, 4},
    {TokenKind::kPlus, NodeKind::kBinary, BinaryOp::kAdd, 5, 5},
    {TokenKind::kMinus, NodeKind::kBinary, BinaryOp::kSub, 5, 5},
    {TokenKind::kStar, NodeKind::kBinary, BinaryOp::kMul, 6, 6},
    {TokenKind::kSlash, NodeKind::kBinary, BinaryOp::kDiv, 6, 6},
    {TokenKind::kPercent, NodeKind::kBinary, BinaryOp::kMod, 6, 6},
    {TokenKind::kPower, NodeKind::kBinary, BinaryOp::kPow, 7, 7},
    // Unary minus and plus bind tighter than "**": -3 ** 2 is 9.
};
constexpr uint8_t kNotPriority = 3;
constexpr uint8_t kSignPriority = 8;

const BinaryPriority* FindBinary(TokenKind kind) {
  for (const BinaryPriority& p : kBinaryPriorities) {
    if (p.token == kind) return &p;
  }
  return nullptr;
}

Node MakeNode(NodeKind kind, uint32_t pos) {
  Node node;
  node.kind = kind;
  node.pos = pos;
  return node;
}

bool IsLvalue(const Node& node) {
  return node.kind == NodeKind::kName || node.kind == NodeKind::kMemvar ||
         node.kind == NodeKind::kField || node.kind == NodeKind::kParam ||
         node.kind == NodeKind::kIndex || node.kind == NodeKind::kMacro;
}

class Parser {
 public:
  Parser(std::string_view text, ParseMode mode) : text_(text), lexer_(text), mode_(mode) {
    Advance();
  }

  // program := list END
  Result<Node> ParseProgram() {
    Node node = ParseList(mode_ == ParseMode::kStatement);
    if (failed_) return Failure();
    if (tok_.kind != TokenKind::kEnd) {
      Fail(tok_.pos, std::string("unexpected ") + Describe(tok_));
      return Failure();
    }
    return node;
  }

 private:
  void Advance() { tok_ = lexer_.Next(); }

  bool Accept(TokenKind kind) {
    if (tok_.kind != kind) return false;
    Advance();
    return true;
  }

  void Expect(TokenKind kind) {
    if (!Accept(kind)) {
      Fail(tok_.pos, std::string("expected ") + TokenName(kind) + ", found " + Describe(tok_));
    }
  }

  static std::string Describe(const Token& token) {
    if (token.kind == TokenKind::kError) return token.text;
    if (token.kind == TokenKind::kName) return "name " + token.text;
    return TokenName(token.kind);
  }

  // Keeps the first fault; later ones are consequences of it.
  void Fail(uint32_t pos, std::string what) {
    if (failed_) return;
    failed_ = true;
    error_pos_ = pos;
    error_ = std::move(what);
  }

  Status Failure() const {
    return Status::InvalidArgument("syntax error at position " + std::to_string(error_pos_ + 1) +
                                   " (" + error_ + ") in: " + std::string(text_));
  }

  // Counts recursion, so that no text can run the parser out of stack.
  class Nesting {
   public:
    explicit Nesting(Parser& parser) : parser_(parser) {
      if (++parser_.depth_ > kMaxParseDepth) {
        parser_.Fail(parser_.tok_.pos, "expression nested too deeply");
      }
    }
    ~Nesting() { --parser_.depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    Parser& parser_;
  };

  // Every child goes through here, so no tree grows deeper than the evaluator
  // and the destructors can follow.
  void AddKid(Node& parent, Node kid) {
    if (kid.height + 1 > parent.height) parent.height = static_cast<uint16_t>(kid.height + 1);
    if (parent.height > kMaxParseDepth) Fail(kid.pos, "expression nested too deeply");
    if (!failed_) parent.kids.push_back(std::move(kid));
  }

  // list := expr { ',' expr }
  Node ParseList(bool statement) {
    Node first = ParseExpr(statement);
    if (tok_.kind != TokenKind::kComma) return first;
    Node list = MakeNode(NodeKind::kList, first.pos);
    AddKid(list, std::move(first));
    while (!failed_ && Accept(TokenKind::kComma)) AddKid(list, ParseExpr(statement));
    return list;
  }

  // expr := subexpr(0) [ (':=' | '+=' | '-=' | '=' in a statement) expr ]
  Node ParseExpr(bool statement = false) {
    Nesting nesting(*this);
    if (failed_) return Node();
    Node left = ParseSubExpr(0, statement);
    bool plain = tok_.kind == TokenKind::kAssign || (statement && tok_.kind == TokenKind::kEq);
    bool compound = tok_.kind == TokenKind::kPlusAssign || tok_.kind == TokenKind::kMinusAssign;
    if ((plain || compound) && !failed_) {
      BinaryOp op = !compound                             ? BinaryOp::kNone
                    : tok_.kind == TokenKind::kPlusAssign ? BinaryOp::kAdd
                                                          : BinaryOp::kSub;
      uint32_t pos = tok_.pos;
      if (!IsLvalue(left)) Fail(pos, "cannot assign to this");
      Advance();
      Node node = MakeNode(NodeKind::kAssign, pos);
      node.op = op;
      AddKid(node, std::move(left));
      AddKid(node, ParseExpr());
      return node;
    }
    return left;
  }

  // subexpr := ( ('-' | '+') subexpr(sign) | ('.NOT.' | '!') subexpr(not) | postfix )
  //            { binop subexpr(right priority of binop) }
  // In a statement the top-level "=" is left to ParseExpr as an assignment.
  Node ParseSubExpr(uint8_t limit, bool statement) {
    Nesting nesting(*this);
    if (failed_) return Node();
    Node left;
    uint32_t pos = tok_.pos;
    if (tok_.kind == TokenKind::kMinus || tok_.kind == TokenKind::kPlus) {
      bool minus = tok_.kind == TokenKind::kMinus;
      Advance();
      Node operand = ParseSubExpr(kSignPriority, false);
      if (minus) {
        left = MakeNode(NodeKind::kNegate, pos);
        AddKid(left, std::move(operand));
      } else {
        left = std::move(operand);
      }
    } else if (tok_.kind == TokenKind::kNot) {
      Advance();
      left = MakeNode(NodeKind::kNot, pos);
      AddKid(left, ParseSubExpr(kNotPriority, false));
    } else {
      left = ParsePostfix();
    }
    while (!failed_) {
      if (statement && limit == 0 && tok_.kind == TokenKind::kEq && IsLvalue(left)) break;
      const BinaryPriority* p = FindBinary(tok_.kind);
      if (p == nullptr || p->left <= limit) break;
      uint32_t op_pos = tok_.pos;
      Advance();
      Node node = MakeNode(p->kind, op_pos);
      node.op = p->op;
      AddKid(node, std::move(left));
      AddKid(node, ParseSubExpr(p->right, false));
      left = std::move(node);
    }
    return left;
  }

  // postfix := primary { '[' expr { ',' expr } ']' | '++' | '--' }
  Node ParsePostfix() {
    Node node = ParsePrimary();
    while (!failed_) {
      if (tok_.kind == TokenKind::kLBracket) {
        Advance();
        do {
          Node index = MakeNode(NodeKind::kIndex, node.pos);
          AddKid(index, std::move(node));
          AddKid(index, ParseExpr());
          node = std::move(index);
        } while (!failed_ && Accept(TokenKind::kComma));
        Expect(TokenKind::kRBracket);
      } else if (tok_.kind == TokenKind::kInc || tok_.kind == TokenKind::kDec) {
        if (!IsLvalue(node)) Fail(tok_.pos, "cannot assign to this");
        Node inc = MakeNode(NodeKind::kIncDec, tok_.pos);
        inc.op = tok_.kind == TokenKind::kInc ? BinaryOp::kAdd : BinaryOp::kSub;
        AddKid(inc, std::move(node));
        node = std::move(inc);
        Advance();
      } else {
        return node;
      }
    }
    return node;
  }

  // primary := NUMBER | STRING | '.T.' | '.F.' | '(' list ')' | '{' block-or-array '}'
  //          | name-ref | '&' macro | ('++' | '--') postfix
  Node ParsePrimary() {
    Nesting nesting(*this);
    if (failed_) return Node();
    uint32_t pos = tok_.pos;
    switch (tok_.kind) {
      case TokenKind::kNumber:
        return ParseNumber();
      case TokenKind::kString: {
        Node node = MakeNode(NodeKind::kConst, pos);
        node.value = rt::Value(std::move(tok_.text));
        Advance();
        return node;
      }
      case TokenKind::kTrue:
      case TokenKind::kFalse: {
        Node node = MakeNode(NodeKind::kConst, pos);
        node.value = rt::Value(tok_.kind == TokenKind::kTrue);
        Advance();
        return node;
      }
      case TokenKind::kLParen: {
        Advance();
        Node node = ParseList(false);
        Expect(TokenKind::kRParen);
        return node;
      }
      case TokenKind::kLBrace:
        return ParseBrace();
      case TokenKind::kName:
        return ParseNameRef();
      case TokenKind::kAmp:
        return ParseMacro();
      case TokenKind::kInc:
      case TokenKind::kDec: {
        Node inc = MakeNode(NodeKind::kIncDec, pos);
        inc.op = tok_.kind == TokenKind::kInc ? BinaryOp::kAdd : BinaryOp::kSub;
        inc.slot = 1;
        Advance();
        Node target = ParsePostfix();
        if (!IsLvalue(target)) Fail(pos, "cannot assign to this");
        AddKid(inc, std::move(target));
        return inc;
      }
      default:
        Fail(pos, "unexpected " + Describe(tok_));
        return Node();
    }
  }

  Node ParseNumber() {
    Node node = MakeNode(NodeKind::kConst, tok_.pos);
    node.value = rt::Value(rt::LiteralNumber(tok_.text));
    Advance();
    return node;
  }

  // brace := '{' '|' [NAME {',' NAME}] '|' [list] '}'     (code block)
  //        | '{' [ [expr] {',' [expr]} ] '}'            (array; empty items are NIL)
  Node ParseBrace() {
    uint32_t pos = tok_.pos;
    Advance();
    if (tok_.kind == TokenKind::kBar) return ParseBlock(pos);
    Node array = MakeNode(NodeKind::kArray, pos);
    if (Accept(TokenKind::kRBrace)) return array;
    do {
      if (tok_.kind == TokenKind::kComma || tok_.kind == TokenKind::kRBrace) {
        AddKid(array, MakeNode(NodeKind::kConst, tok_.pos));
      } else {
        AddKid(array, ParseExpr());
      }
    } while (!failed_ && Accept(TokenKind::kComma));
    Expect(TokenKind::kRBrace);
    return array;
  }

  Node ParseBlock(uint32_t pos) {
    Advance();  // '|'
    std::vector<std::string> params;
    if (tok_.kind != TokenKind::kBar) {
      do {
        if (tok_.kind != TokenKind::kName) {
          Fail(tok_.pos, "expected a parameter name, found " + Describe(tok_));
          return Node();
        }
        params.push_back(tok_.text);
        Advance();
      } while (Accept(TokenKind::kComma));
    }
    Expect(TokenKind::kBar);
    Node block = MakeNode(NodeKind::kBlock, pos);
    block.slot = static_cast<int>(params.size());
    scopes_.push_back(std::move(params));
    if (tok_.kind != TokenKind::kRBrace && !failed_) AddKid(block, ParseList(false));
    scopes_.pop_back();
    uint32_t end = tok_.pos;
    Expect(TokenKind::kRBrace);
    if (!failed_) block.name = std::string(text_.substr(pos, end + 1 - pos));
    return block;
  }

  // name-ref := NAME '(' args ')'
  //           | NAME '->' ( NAME | '(' list ')' )
  //           | NAME                        (parameter, NIL, field or variable)
  Node ParseNameRef() {
    uint32_t pos = tok_.pos;
    std::string name = std::move(tok_.text);
    Advance();
    if (tok_.kind == TokenKind::kLParen) return ParseCall(pos, std::move(name));
    if (tok_.kind == TokenKind::kArrow) return ParseAliased(pos, std::move(name));
    for (size_t d = 0; d < scopes_.size(); ++d) {
      const std::vector<std::string>& scope = scopes_[scopes_.size() - 1 - d];
      for (size_t s = 0; s < scope.size(); ++s) {
        if (scope[s] == name) {
          Node param = MakeNode(NodeKind::kParam, pos);
          param.depth = static_cast<int>(d);
          param.slot = static_cast<int>(s);
          param.name = std::move(name);
          return param;
        }
      }
    }
    if (name == "NIL") return MakeNode(NodeKind::kConst, pos);
    Node node = MakeNode(NodeKind::kName, pos);
    node.name = std::move(name);
    return node;
  }

  // args := [arg] { ',' [arg] }     arg := '@' NAME | expr     (missing args are NIL)
  Node ParseCall(uint32_t pos, std::string name) {
    Advance();  // '('
    Node call = MakeNode(NodeKind::kCall, pos);
    call.name = std::move(name);
    if (Accept(TokenKind::kRParen)) return call;
    do {
      if (tok_.kind == TokenKind::kComma || tok_.kind == TokenKind::kRParen) {
        AddKid(call, MakeNode(NodeKind::kConst, tok_.pos));
      } else if (tok_.kind == TokenKind::kAt) {
        uint32_t at = tok_.pos;
        Advance();
        if (tok_.kind != TokenKind::kName) {
          Fail(tok_.pos, "expected a name after @, found " + Describe(tok_));
          return call;
        }
        Node ref = MakeNode(NodeKind::kRef, at);
        ref.name = std::move(tok_.text);
        Advance();
        AddKid(call, std::move(ref));
      } else {
        AddKid(call, ParseExpr());
      }
    } while (!failed_ && Accept(TokenKind::kComma));
    Expect(TokenKind::kRParen);
    if (!failed_ && (call.name == "IIF" || call.name == "IF")) {
      if (call.kids.size() != 3) Fail(pos, call.name + " needs three arguments");
      call.kind = NodeKind::kIif;
    }
    return call;
  }

  Node ParseAliased(uint32_t pos, std::string alias) {
    Advance();  // '->'
    if (tok_.kind == TokenKind::kLParen) {
      Advance();
      Node node = MakeNode(NodeKind::kAliasExpr, pos);
      node.alias = std::move(alias);
      AddKid(node, ParseList(false));
      Expect(TokenKind::kRParen);
      return node;
    }
    if (tok_.kind != TokenKind::kName) {
      Fail(tok_.pos, "expected a field name after ->, found " + Describe(tok_));
      return Node();
    }
    Node node;
    if (alias == "M" || alias == "MEMVAR") {
      node = MakeNode(NodeKind::kMemvar, pos);
    } else {
      node = MakeNode(NodeKind::kField, pos);
      if (alias != "FIELD" && alias != "_FIELD") node.alias = std::move(alias);
    }
    node.name = std::move(tok_.text);
    Advance();
    return node;
  }

  // macro := '&' NAME ['.'] | '&' '(' expr ')'
  Node ParseMacro() {
    Node macro = MakeNode(NodeKind::kMacro, tok_.pos);
    Advance();
    if (tok_.kind == TokenKind::kName) {
      Node name = MakeNode(NodeKind::kName, tok_.pos);
      name.name = std::move(tok_.text);
      AddKid(macro, std::move(name));
      Advance();
    } else if (tok_.kind == TokenKind::kLParen) {
      Advance();
      AddKid(macro, ParseExpr());
      Expect(TokenKind::kRParen);
    } else {
      Fail(tok_.pos, "expected a name after &, found " + Describe(tok_));
    }
    return macro;
  }

  std::string_view text_;
  Lexer lexer_;
  ParseMode mode_;
  Token tok_;
  int depth_ = 0;
  std::vector<std::vector<std::string>> scopes_;
  bool failed_ = false;
  uint32_t error_pos_ = 0;
  std::string error_;
};

}  // namespace

Result<Node> Parse(std::string_view text, ParseMode mode) {
  if (text.size() > (1u << 20)) {
    return Status::InvalidArgument("expression longer than 1 MiB");
  }
  return Parser(text, mode).ParseProgram();
}

}  // namespace qv::xb
