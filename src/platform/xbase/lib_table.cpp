// Work-area and field functions, through the TableAccess the engine fills
// in. Without one, every area reads as empty: EOF() and BOF() true, RECNO()
// 0, ALIAS() "".
#include "platform/xbase/lib_args.h"
#include "platform/xbase/library.h"

namespace qv::xb {
namespace {

using rt::Value;
using Args = std::span<Value>;

TableAccess* Tables(Evaluator& ev) { return ev.host().tables; }
int Current(Evaluator& ev) { return Tables(ev) != nullptr ? Tables(ev)->CurrentArea() : 0; }

Value FnEof(Evaluator& ev, Args) {
  return Value(Tables(ev) == nullptr || Tables(ev)->Eof(Current(ev)));
}
Value FnBof(Evaluator& ev, Args) {
  return Value(Tables(ev) == nullptr || Tables(ev)->Bof(Current(ev)));
}
Value FnFound(Evaluator& ev, Args) {
  return Value(Tables(ev) != nullptr && Tables(ev)->Found(Current(ev)));
}
Value FnDeleted(Evaluator& ev, Args) {
  return Value(Tables(ev) != nullptr && Tables(ev)->Deleted(Current(ev)));
}
Value FnRecNo(Evaluator& ev, Args) {
  return Value::Int(Tables(ev) != nullptr ? Tables(ev)->RecNo(Current(ev)) : 0);
}
Value FnRecCount(Evaluator& ev, Args) {
  return Value::Int(Tables(ev) != nullptr ? Tables(ev)->RecCount(Current(ev)) : 0);
}
Value FnFCount(Evaluator& ev, Args) {
  return Value::Int(Tables(ev) != nullptr ? Tables(ev)->FieldCount(Current(ev)) : 0);
}
Value FnUsed(Evaluator& ev, Args) {
  return Value(Tables(ev) != nullptr && Tables(ev)->Used(Current(ev)));
}
Value FnDbf(Evaluator& ev, Args) {
  return Value(Tables(ev) != nullptr ? Tables(ev)->Dbf(Current(ev)) : std::string());
}

// FIELD(n), FIELDNAME(n): 1-based; "" past the last field.
Value FnFieldName(Evaluator& ev, Args a) {
  int64_t n = IntArg(ev, a, 0);
  if (Tables(ev) == nullptr || n < 1 || n > Tables(ev)->FieldCount(Current(ev))) return Value("");
  return Value(Tables(ev)->FieldName(Current(ev), static_cast<int>(n - 1)));
}

// ALIAS([area]): of the selected area by default.
Value FnAlias(Evaluator& ev, Args a) {
  if (Tables(ev) == nullptr) return Value("");
  int64_t area = IntArgOr(ev, a, 0, Current(ev));
  if (area < 1 || area > 65535) return Value("");
  return Value(Tables(ev)->Alias(static_cast<int>(area)));
}

// SELECT([alias]): the selected area, or the area of alias (0 when not open).
Value FnSelect(Evaluator& ev, Args a) {
  if (Tables(ev) == nullptr) return Value::Int(0);
  if (!Given(a, 0)) return Value::Int(Current(ev));
  return Value::Int(Tables(ev)->AreaOf(StrArg(ev, a, 0)));
}

constexpr Builtin kTableLibrary[] = {
    {"EOF", FnEof, 0},          {"BOF", FnBof, 0},         {"FOUND", FnFound, 0},
    {"DELETED", FnDeleted, 0},  {"RECNO", FnRecNo, 0},     {"RECCOUNT", FnRecCount, 0},
    {"LASTREC", FnRecCount, 0}, {"FCOUNT", FnFCount, 0},   {"USED", FnUsed, 0},
    {"DBF", FnDbf, 0},          {"FIELD", FnFieldName, 1}, {"FIELDNAME", FnFieldName, 1},
    {"ALIAS", FnAlias, 1},      {"SELECT", FnSelect, 1},
};

}  // namespace

std::span<const Builtin> TableLibrary() { return kTableLibrary; }

}  // namespace qv::xb
