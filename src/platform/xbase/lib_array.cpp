// Array functions. Arrays are shared by reference, so these change the
// array the caller holds.
#include <algorithm>
#include <vector>

#include "platform/xbase/lib_args.h"
#include "platform/xbase/library.h"
#include "platform/xbase/operators.h"

namespace qv::xb {
namespace {

using rt::Value;
using Args = std::span<Value>;

// Most elements one array may hold.
constexpr int64_t kMaxArrayLength = 1 << 20;

void CheckSize(Evaluator& ev, int64_t n) {
  if (n > kMaxArrayLength) ev.Fail("Array too large");
}

Value FnArray(Evaluator& ev, Args a) {
  int64_t n = std::max<int64_t>(IntArg(ev, a, 0), 0);
  CheckSize(ev, n);
  return Value::Array(std::vector<Value>(static_cast<size_t>(n)));
}

Value FnAAdd(Evaluator& ev, Args a) {
  rt::ArrayRef array = ArrayArg(ev, a, 0);
  CheckSize(ev, static_cast<int64_t>(array->items.size()) + 1);
  Value item = a.size() > 1 ? a[1] : Value();
  array->items.push_back(item);
  return item;
}

Value FnASize(Evaluator& ev, Args a) {
  rt::ArrayRef array = ArrayArg(ev, a, 0);
  int64_t n = std::max<int64_t>(IntArg(ev, a, 1), 0);
  CheckSize(ev, n);
  array->items.resize(static_cast<size_t>(n));
  return a[0];
}

// ADEL(array, n) drops element n and puts NIL at the end; AINS(array, n)
// puts NIL at n and drops the last element. The length stays.
Value Shift(Evaluator& ev, Args a, bool insert) {
  rt::ArrayRef array = ArrayArg(ev, a, 0);
  int64_t n = IntArg(ev, a, 1);
  std::vector<Value>& items = array->items;
  if (n >= 1 && n <= static_cast<int64_t>(items.size())) {
    auto at = items.begin() + (n - 1);
    if (insert) {
      std::rotate(at, items.end() - 1, items.end());
      *at = Value();
    } else {
      std::rotate(at, at + 1, items.end());
      items.back() = Value();
    }
  }
  return a[0];
}

Value FnADel(Evaluator& ev, Args a) { return Shift(ev, a, false); }
Value FnAIns(Evaluator& ev, Args a) { return Shift(ev, a, true); }

Value FnATail(Evaluator& ev, Args a) {
  rt::ArrayRef array = ArrayArg(ev, a, 0);
  return array->items.empty() ? Value() : array->items.back();
}

// Nested arrays are copied too; blocks and objects stay shared.
Value Clone(const Value& v, int depth) {
  if (!v.IsArray() || depth > 64) return v;
  std::vector<Value> items;
  items.reserve(v.array()->items.size());
  for (const Value& item : v.array()->items) items.push_back(Clone(item, depth + 1));
  return Value::Array(std::move(items));
}

Value FnAClone(Evaluator& ev, Args a) {
  ArrayArg(ev, a, 0);
  return Clone(a[0], 0);
}

// AFILL(array, value, [start], [count]).
Value FnAFill(Evaluator& ev, Args a) {
  rt::ArrayRef array = ArrayArg(ev, a, 0);
  int64_t size = static_cast<int64_t>(array->items.size());
  int64_t start = std::clamp<int64_t>(IntArgOr(ev, a, 2, 1), 1, size + 1);
  int64_t count = std::clamp<int64_t>(IntArgOr(ev, a, 3, size), 0, size - start + 1);
  Value fill = a.size() > 1 ? a[1] : Value();
  for (int64_t i = 0; i < count; ++i) array->items[static_cast<size_t>(start - 1 + i)] = fill;
  return a[0];
}

// ASCAN(array, value or block, [start], [count]): the first position whose
// element equals value ("=" of that type) or makes the block true; 0 if none.
Value FnAScan(Evaluator& ev, Args a) {
  rt::ArrayRef array = ArrayArg(ev, a, 0);
  Value target = a.size() > 1 ? a[1] : Value();
  int64_t size = static_cast<int64_t>(array->items.size());
  int64_t start = std::clamp<int64_t>(IntArgOr(ev, a, 2, 1), 1, size + 1);
  int64_t count = std::clamp<int64_t>(IntArgOr(ev, a, 3, size), 0, size - start + 1);
  bool exact = ev.session().settings().exact;
  for (int64_t i = start - 1;
       i < start - 1 + count && i < static_cast<int64_t>(array->items.size()); ++i) {
    Value item = array->items[static_cast<size_t>(i)];
    bool hit = false;
    if (target.IsBlock()) {
      Value result = ev.CallBlock(target, std::span<Value>(&item, 1));
      hit = result.IsLogical() && result.logical();
    } else if (item.type() == target.type()) {
      hit = (item.IsString() || item.IsNumber() || item.IsDate() || item.IsLogical())
                ? CompareValues(item, target, exact) == 0
                : item.SameAs(target);
    }
    if (hit) return Value::Int(i + 1);
  }
  return Value::Int(0);
}

constexpr Builtin kArrayLibrary[] = {
    {"ARRAY", FnArray, 1},   {"AADD", FnAAdd, 2},   {"ASIZE", FnASize, 2},
    {"ADEL", FnADel, 2},     {"AINS", FnAIns, 2},   {"ATAIL", FnATail, 1},
    {"ACLONE", FnAClone, 1}, {"AFILL", FnAFill, 4}, {"ASCAN", FnAScan, 4},
};

}  // namespace

std::span<const Builtin> ArrayLibrary() { return kArrayLibrary; }

}  // namespace qv::xb
