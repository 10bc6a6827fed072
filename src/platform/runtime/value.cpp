#include "platform/runtime/value.h"

#include <cmath>
#include <cstdlib>

#include "platform/runtime/number.h"

namespace qv::rt {

char TypeLetter(Type type) {
  switch (type) {
    case Type::kNil:
      return 'U';
    case Type::kLogical:
      return 'L';
    case Type::kNumber:
      return 'N';
    case Type::kString:
      return 'C';
    case Type::kDate:
      return 'D';
    case Type::kArray:
      return 'A';
    case Type::kBlock:
      return 'B';
    case Type::kObject:
      return 'O';
  }
  return 'U';
}

Array::Array(std::vector<Value> items_in) : items(std::move(items_in)) {}

Value Value::Int(int64_t n) { return Value(IntegerNumber(static_cast<double>(n))); }

Value Value::Num(double value, int width, int decimals) {
  return Value(Number{value, static_cast<int16_t>(width), static_cast<int16_t>(decimals)});
}

Value Value::Array(std::vector<Value> items) {
  return Value(std::make_shared<rt::Array>(std::move(items)));
}

bool Value::SameAs(const Value& other) const {
  if (type() != other.type()) return false;
  switch (type()) {
    case Type::kNil:
      return true;
    case Type::kLogical:
      return logical() == other.logical();
    case Type::kNumber:
      return num() == other.num();
    case Type::kString:
      return str() == other.str();
    case Type::kDate:
      return date() == other.date();
    case Type::kArray:
      return array() == other.array();
    case Type::kBlock:
      return block() == other.block();
    case Type::kObject:
      return object() == other.object();
  }
  return false;
}

}  // namespace qv::rt
