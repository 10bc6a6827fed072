#include "platform/runtime/value.h"

#include <cmath>
#include <cstdlib>

namespace qv::rt {

char TypeLetter(Type type) {
  switch (type) {
    case Type::kNil: return 'U';
    case Type::kLogical: return 'L';
    case Type::kNumber: return 'N';
    case Type::kString: return 'C';
    case Type::kDate: return 'D';
    case Type::kArray: return 'A';
    case Type::kBlock: return 'B';
    case Type::kObject: return 'O';
  }
  return 'U';
}

Array::Array(std::vector<Value> items_in) : items(std::move(items_in)) {}

Value Value::Int(int64_t n) {
  // An integer is shown in 10 columns, or wider when it has more digits.
  int digits = 1;
  for (uint64_t m = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n); m >= 10;
       m /= 10) {
    ++digits;
  }
  if (n < 0) ++digits;
  int width = digits > 10 ? digits : 10;
  return Value(Number{static_cast<double>(n), static_cast<int16_t>(width), 0});
}

Value Value::Num(double value, int width, int decimals) {
  return Value(Number{value, static_cast<int16_t>(width), static_cast<int16_t>(decimals)});
}

Value Value::Array(std::vector<Value> items) {
  return Value(std::make_shared<rt::Array>(std::move(items)));
}

bool Value::SameAs(const Value& other) const {
  if (type() != other.type()) return false;
  switch (type()) {
    case Type::kNil: return true;
    case Type::kLogical: return logical() == other.logical();
    case Type::kNumber: return num() == other.num();
    case Type::kString: return str() == other.str();
    case Type::kDate: return date() == other.date();
    case Type::kArray: return array() == other.array();
    case Type::kBlock: return block() == other.block();
    case Type::kObject: return object() == other.object();
  }
  return false;
}

}  // namespace qv::rt
