#include "platform/xbase/operators.h"

#include <cmath>
#include <string_view>

#include "platform/runtime/number.h"
#include "platform/runtime/text.h"

namespace qv::xb {
namespace {

using rt::Type;
using rt::Value;

constexpr char kArgumentError[] = "Argument error";

Value Mismatch(std::string* error) {
  *error = kArgumentError;
  return Value();
}

bool Comparable(Type t) {
  return t == Type::kString || t == Type::kNumber || t == Type::kDate || t == Type::kLogical;
}

Value DatePlus(rt::Date d, double days) {
  if (d.empty()) return Value(d);
  return Value(rt::Date::FromJulian(d.julian() + static_cast<int64_t>(std::llround(days))));
}

// "ab  " - "cd" is "abcd  ": the left side's trailing blanks move to the end.
std::string StringMinus(const std::string& a, const std::string& b) {
  std::string_view trimmed = rt::RTrim(a);
  std::string out(trimmed);
  out += b;
  out.append(a.size() - trimmed.size(), ' ');
  return out;
}

bool TooLong(const Value& a, const Value& b, std::string* error) {
  if (a.str().size() + b.str().size() <= static_cast<size_t>(kMaxStringLength)) return false;
  *error = "String too long";
  return true;
}

Value Add(const Value& a, const Value& b, std::string* error) {
  if (a.IsNumber() && b.IsNumber()) return Value(rt::Add(a.number(), b.number()));
  if (a.IsString() && b.IsString())
    return TooLong(a, b, error) ? Value() : Value(a.str() + b.str());
  if (a.IsDate() && b.IsNumber()) return DatePlus(a.date(), b.num());
  if (a.IsNumber() && b.IsDate()) return DatePlus(b.date(), a.num());
  return Mismatch(error);
}

Value Subtract(const Value& a, const Value& b, std::string* error) {
  if (a.IsNumber() && b.IsNumber()) return Value(rt::Subtract(a.number(), b.number()));
  if (a.IsString() && b.IsString()) {
    return TooLong(a, b, error) ? Value() : Value(StringMinus(a.str(), b.str()));
  }
  if (a.IsDate() && b.IsNumber()) return DatePlus(a.date(), -b.num());
  if (a.IsDate() && b.IsDate()) {
    return Value::Int(a.date().julian() - b.date().julian());
  }
  return Mismatch(error);
}

bool Equal(const Value& a, const Value& b, bool exact_op, bool exact_set, bool* ok) {
  *ok = true;
  if (a.IsNil() || b.IsNil()) return a.IsNil() && b.IsNil();
  if (a.type() != b.type()) {
    *ok = false;
    return false;
  }
  switch (a.type()) {
    case Type::kString:
      return exact_op ? a.str() == b.str() : rt::XbaseEquals(a.str(), b.str(), exact_set);
    case Type::kNumber:
      return a.num() == b.num();
    case Type::kDate:
      return a.date() == b.date();
    case Type::kLogical:
      return a.logical() == b.logical();
    default:
      // Arrays, blocks and objects: identity, and only for "==".
      if (!exact_op) *ok = false;
      return a.SameAs(b);
  }
}

}  // namespace

int CompareValues(const Value& a, const Value& b, bool exact) {
  switch (a.type()) {
    case Type::kString: {
      std::string_view x = a.str();
      std::string_view y = b.str();
      if (exact) {
        x = rt::RTrim(x);
        y = rt::RTrim(y);
      } else if (y.size() < x.size()) {
        x = x.substr(0, y.size());
      }
      size_t n = x.size() < y.size() ? x.size() : y.size();
      for (size_t i = 0; i < n; ++i) {
        unsigned char cx = static_cast<unsigned char>(x[i]);
        unsigned char cy = static_cast<unsigned char>(y[i]);
        if (cx != cy) return cx < cy ? -1 : 1;
      }
      return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
    }
    case Type::kNumber:
      return a.num() < b.num() ? -1 : (a.num() > b.num() ? 1 : 0);
    case Type::kDate:
      return a.date() < b.date() ? -1 : (a.date() > b.date() ? 1 : 0);
    case Type::kLogical:
      return static_cast<int>(a.logical()) - static_cast<int>(b.logical());
    default:
      return 0;
  }
}

Value Negate(const Value& a, std::string* error) {
  if (!a.IsNumber()) return Mismatch(error);
  return Value(rt::Negate(a.number()));
}

Value ApplyBinary(BinaryOp op, const Value& a, const Value& b, const rt::RuntimeSettings& settings,
                  std::string* error) {
  bool numbers = a.IsNumber() && b.IsNumber();
  switch (op) {
    case BinaryOp::kAdd:
      return Add(a, b, error);
    case BinaryOp::kSub:
      return Subtract(a, b, error);
    case BinaryOp::kMul:
      return numbers ? Value(rt::Multiply(a.number(), b.number())) : Mismatch(error);
    case BinaryOp::kDiv:
    case BinaryOp::kMod:
      if (!numbers) return Mismatch(error);
      if (b.num() == 0) {
        *error = "Zero divisor";
        return Value();
      }
      return op == BinaryOp::kDiv ? Value(rt::Divide(a.number(), b.number(), settings.decimals))
                                  : Value(rt::Modulus(a.number(), b.number()));
    case BinaryOp::kPow:
      return numbers ? Value(rt::Power(a.number(), b.number(), settings.decimals))
                     : Mismatch(error);
    case BinaryOp::kEq:
    case BinaryOp::kExactEq:
    case BinaryOp::kNe: {
      bool ok = true;
      bool eq = Equal(a, b, op == BinaryOp::kExactEq, settings.exact, &ok);
      if (!ok) return Mismatch(error);
      return Value(op == BinaryOp::kNe ? !eq : eq);
    }
    case BinaryOp::kLt:
    case BinaryOp::kLe:
    case BinaryOp::kGt:
    case BinaryOp::kGe: {
      if (a.type() != b.type() || !Comparable(a.type())) return Mismatch(error);
      int c = CompareValues(a, b, settings.exact);
      bool r = op == BinaryOp::kLt   ? c < 0
               : op == BinaryOp::kLe ? c <= 0
               : op == BinaryOp::kGt ? c > 0
                                     : c >= 0;
      return Value(r);
    }
    case BinaryOp::kIn:
      if (!a.IsString() || !b.IsString()) return Mismatch(error);
      return Value(!a.str().empty() && b.str().find(a.str()) != std::string::npos);
    case BinaryOp::kNone:
      break;
  }
  return Mismatch(error);
}

}  // namespace qv::xb
