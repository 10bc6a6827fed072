// Date and time functions. Today comes from the session's clock and the
// two-digit-year window from its settings, so both can be fixed in tests.
#include "platform/runtime/date.h"
#include "platform/xbase/lib_args.h"
#include "platform/xbase/library.h"

namespace qv::xb {
namespace {

using rt::Value;
using Args = std::span<Value>;

constexpr const char* kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
constexpr const char* kMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};

Value FnDate(Evaluator& ev, Args) { return Value(ev.session().clock().Today()); }
Value FnTime(Evaluator& ev, Args) { return Value(ev.session().clock().TimeText()); }
Value FnSeconds(Evaluator& ev, Args) { return Value::Num(ev.session().clock().Seconds(), 12, 2); }
Value FnDay(Evaluator& ev, Args a) { return Value::Int(DateArg(ev, a, 0).Day()); }
Value FnMonth(Evaluator& ev, Args a) { return Value::Int(DateArg(ev, a, 0).Month()); }
Value FnYear(Evaluator& ev, Args a) { return Value::Int(DateArg(ev, a, 0).Year()); }
Value FnDow(Evaluator& ev, Args a) { return Value::Int(DateArg(ev, a, 0).DayOfWeek()); }

Value FnCDow(Evaluator& ev, Args a) {
  int dow = DateArg(ev, a, 0).DayOfWeek();
  return Value(dow == 0 ? "" : kDayNames[dow - 1]);
}

Value FnCMonth(Evaluator& ev, Args a) {
  int month = DateArg(ev, a, 0).Month();
  return Value(month == 0 ? "" : kMonthNames[month - 1]);
}

Value FnCtod(Evaluator& ev, Args a) {
  return Value(rt::Ctod(StrArg(ev, a, 0), ev.session().settings().dates));
}
Value FnDtoc(Evaluator& ev, Args a) { return Value(rt::Dtoc(DateArg(ev, a, 0))); }
Value FnDtos(Evaluator& ev, Args a) { return Value(DateArg(ev, a, 0).Dtos()); }
Value FnStod(Evaluator& ev, Args a) {
  return Value(Given(a, 0) ? rt::Date::FromDtos(StrArg(ev, a, 0)) : rt::Date());
}

constexpr Builtin kDateLibrary[] = {
    {"DATE", FnDate, 0},     {"TIME", FnTime, 0}, {"SECONDS", FnSeconds, 0}, {"DAY", FnDay, 1},
    {"MONTH", FnMonth, 1},   {"YEAR", FnYear, 1}, {"DOW", FnDow, 1},         {"CDOW", FnCDow, 1},
    {"CMONTH", FnCMonth, 1}, {"CTOD", FnCtod, 1}, {"DTOC", FnDtoc, 1},       {"DTOS", FnDtos, 1},
    {"STOD", FnStod, 1},
};

}  // namespace

std::span<const Builtin> DateLibrary() { return kDateLibrary; }

}  // namespace qv::xb
