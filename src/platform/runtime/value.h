// The runtime's dynamically typed value: NIL, logical, number, string (bytes),
// date, array, code block or object handle. Arrays, blocks and objects are
// shared by reference, as xBase shares them; the rest are copied.
// Numbers carry the display width and decimals an xBase runtime would give
// them, so STR() without a width prints what such a runtime prints.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/runtime/date.h"

namespace qv::rt {

class Session;
class Value;

enum class Type : uint8_t { kNil, kLogical, kNumber, kString, kDate, kArray, kBlock, kObject };

// VALTYPE() letter: U L N C D A B O.
char TypeLetter(Type type);

// A number and the width/decimals STR() uses when given no width.
struct Number {
  double value = 0;
  int16_t width = 10;
  int16_t decimals = 0;
};

// xBase arrays: nested, shared by reference, 1-based from the language side.
class Array {
 public:
  Array() = default;
  explicit Array(std::vector<Value> items);
  std::vector<Value> items;
};

// Something callable with positional arguments: a code block compiled from
// text or a procedure handle. Arguments the callee changes are written back
// by the caller for the positions passed by reference.
class Block {
 public:
  virtual ~Block() = default;
  virtual Value Call(Session& session, std::span<Value> args) = 0;
  // The source text when the block was compiled from text, else "".
  virtual std::string_view Text() const { return {}; }
};

// Handle to an object owned elsewhere (a window, dialog, font ...).
class Object {
 public:
  virtual ~Object() = default;
  virtual std::string_view ClassName() const = 0;
};

using ArrayRef = std::shared_ptr<Array>;
using BlockRef = std::shared_ptr<Block>;
using ObjectRef = std::shared_ptr<Object>;

class Value {
 public:
  Value() = default;                                 // NIL
  Value(bool b) : v_(b) {}                           // NOLINT(implicit)
  Value(Number n) : v_(n) {}                         // NOLINT(implicit)
  Value(std::string s) : v_(std::move(s)) {}         // NOLINT(implicit)
  Value(std::string_view s) : v_(std::string(s)) {}  // NOLINT(implicit)
  Value(const char* s) : v_(std::string(s)) {}       // NOLINT(implicit)
  Value(Date d) : v_(d) {}                           // NOLINT(implicit)
  Value(ArrayRef a) : v_(std::move(a)) {}            // NOLINT(implicit)
  Value(BlockRef b) : v_(std::move(b)) {}            // NOLINT(implicit)
  Value(ObjectRef o) : v_(std::move(o)) {}           // NOLINT(implicit)

  // A number with the width xBase gives a computed integer (10 columns, or
  // 20 when it needs more; see IntegerNumber() in number.h) or a computed
  // value (integer width 10 plus the decimals).
  static Value Int(int64_t n);
  static Value Num(double value, int width, int decimals);
  static Value Array(std::vector<Value> items);

  Type type() const { return static_cast<Type>(v_.index()); }
  bool IsNil() const { return type() == Type::kNil; }
  bool IsLogical() const { return type() == Type::kLogical; }
  bool IsNumber() const { return type() == Type::kNumber; }
  bool IsString() const { return type() == Type::kString; }
  bool IsDate() const { return type() == Type::kDate; }
  bool IsArray() const { return type() == Type::kArray; }
  bool IsBlock() const { return type() == Type::kBlock; }
  bool IsObject() const { return type() == Type::kObject; }

  // REQUIRES: the matching type.
  bool logical() const { return std::get<bool>(v_); }
  const Number& number() const { return std::get<Number>(v_); }
  double num() const { return std::get<Number>(v_).value; }
  const std::string& str() const { return std::get<std::string>(v_); }
  std::string& str() { return std::get<std::string>(v_); }
  Date date() const { return std::get<Date>(v_); }
  const ArrayRef& array() const { return std::get<ArrayRef>(v_); }
  const BlockRef& block() const { return std::get<BlockRef>(v_); }
  const ObjectRef& object() const { return std::get<ObjectRef>(v_); }

  // Identity for reference types, value equality for the rest (== in xBase
  // for arrays compares identity). Strings compare exactly here.
  bool SameAs(const Value& other) const;

 private:
  // ORDER: alternatives follow enum class Type.
  std::variant<std::monostate, bool, Number, std::string, Date, ArrayRef, BlockRef, ObjectRef> v_;
};

}  // namespace qv::rt
