// String functions: trimming, case, slicing, searching, padding, building.
#include <algorithm>
#include <string>

#include "platform/runtime/text.h"
#include "platform/xbase/lib_args.h"
#include "platform/xbase/library.h"
#include "platform/xbase/value_text.h"

namespace qv::xb {
namespace {

using rt::Value;
using Args = std::span<Value>;

int64_t Size(const std::string& s) { return static_cast<int64_t>(s.size()); }

Value FnAllTrim(Evaluator& ev, Args a) { return Value(rt::AllTrim(StrArg(ev, a, 0))); }
Value FnLTrim(Evaluator& ev, Args a) { return Value(rt::LTrim(StrArg(ev, a, 0))); }
Value FnRTrim(Evaluator& ev, Args a) { return Value(rt::RTrim(StrArg(ev, a, 0))); }

// In place: keys evaluate UPPER() for every record.
Value FnUpper(Evaluator& ev, Args a) {
  std::string s = std::move(StrArg(ev, a, 0));
  for (char& c : s) c = rt::UpperByte(c);
  return Value(std::move(s));
}

Value FnLower(Evaluator& ev, Args a) {
  std::string s = std::move(StrArg(ev, a, 0));
  for (char& c : s) c = rt::LowerByte(c);
  return Value(std::move(s));
}

Value FnLeft(Evaluator& ev, Args a) {
  const std::string& s = StrArg(ev, a, 0);
  int64_t n = std::clamp<int64_t>(IntArg(ev, a, 1), 0, Size(s));
  return Value(s.substr(0, static_cast<size_t>(n)));
}

Value FnRight(Evaluator& ev, Args a) {
  const std::string& s = StrArg(ev, a, 0);
  int64_t n = std::clamp<int64_t>(IntArg(ev, a, 1), 0, Size(s));
  return Value(s.substr(static_cast<size_t>(Size(s) - n)));
}

// A negative start counts from the end; 0 reads as 1.
Value FnSubstr(Evaluator& ev, Args a) {
  const std::string& s = StrArg(ev, a, 0);
  int64_t start = IntArg(ev, a, 1);
  int64_t from = start > 0 ? start - 1 : (start < 0 ? std::max<int64_t>(Size(s) + start, 0) : 0);
  if (from >= Size(s)) return Value("");
  int64_t count = std::clamp<int64_t>(IntArgOr(ev, a, 2, Size(s)), 0, Size(s) - from);
  return Value(s.substr(static_cast<size_t>(from), static_cast<size_t>(count)));
}

Value FnAt(Evaluator& ev, Args a) {
  const std::string& needle = StrArg(ev, a, 0);
  const std::string& hay = StrArg(ev, a, 1);
  size_t p = needle.empty() ? std::string::npos : hay.find(needle);
  return Value::Int(p == std::string::npos ? 0 : static_cast<int64_t>(p) + 1);
}

Value FnRat(Evaluator& ev, Args a) {
  const std::string& needle = StrArg(ev, a, 0);
  const std::string& hay = StrArg(ev, a, 1);
  size_t p = needle.empty() ? std::string::npos : hay.rfind(needle);
  return Value::Int(p == std::string::npos ? 0 : static_cast<int64_t>(p) + 1);
}

Value FnSpace(Evaluator& ev, Args a) {
  int64_t n = std::max<int64_t>(IntArg(ev, a, 0), 0);
  CheckLength(ev, n);
  return Value(std::string(static_cast<size_t>(n), ' '));
}

Value FnReplicate(Evaluator& ev, Args a) {
  const std::string& s = StrArg(ev, a, 0);
  int64_t n = std::max<int64_t>(IntArg(ev, a, 1), 0);
  CheckLength(ev, n * Size(s));
  std::string out;
  out.reserve(static_cast<size_t>(n * Size(s)));
  for (int64_t i = 0; i < n; ++i) out += s;
  return Value(std::move(out));
}

enum class Align { kLeft, kRight, kCenter };

// PADL/PADR/PADC: numbers and dates are padded in their display form; a text
// longer than the width is cut keeping its start.
Value Pad(Evaluator& ev, Args a, Align align) {
  if (a.empty()) ev.ArgumentError();
  std::string text = a[0].IsString() ? std::move(a[0].str()) : ValueText(a[0]);
  int64_t width = std::max<int64_t>(IntArg(ev, a, 1), 0);
  CheckLength(ev, width);
  char fill = Given(a, 2) && !StrArg(ev, a, 2).empty() ? a[2].str()[0] : ' ';
  if (Size(text) >= width) return Value(text.substr(0, static_cast<size_t>(width)));
  size_t missing = static_cast<size_t>(width - Size(text));
  size_t left = align == Align::kLeft ? missing : align == Align::kCenter ? missing / 2 : 0;
  return Value(std::string(left, fill) + text + std::string(missing - left, fill));
}

Value FnPadL(Evaluator& ev, Args a) { return Pad(ev, a, Align::kLeft); }
Value FnPadR(Evaluator& ev, Args a) { return Pad(ev, a, Align::kRight); }
Value FnPadC(Evaluator& ev, Args a) { return Pad(ev, a, Align::kCenter); }

// STRTRAN(text, find, [replace], [first occurrence to replace], [how many]).
Value FnStrTran(Evaluator& ev, Args a) {
  const std::string& s = StrArg(ev, a, 0);
  const std::string& find = StrArg(ev, a, 1);
  std::string repl = Given(a, 2) ? StrArg(ev, a, 2) : std::string();
  int64_t first = std::max<int64_t>(IntArgOr(ev, a, 3, 1), 1);
  int64_t count = IntArgOr(ev, a, 4, -1);
  if (find.empty()) return Value(s);
  std::string out;
  size_t pos = 0;
  int64_t seen = 0;
  int64_t replaced = 0;
  for (size_t hit; (hit = s.find(find, pos)) != std::string::npos; pos = hit + find.size()) {
    out.append(s, pos, hit - pos);
    ++seen;
    if (seen >= first && (count < 0 || replaced < count)) {
      out += repl;
      ++replaced;
    } else {
      out += find;
    }
    CheckLength(ev, Size(out));
  }
  out.append(s, pos, std::string::npos);
  return Value(std::move(out));
}

// STUFF(text, start, delete count, insert).
Value FnStuff(Evaluator& ev, Args a) {
  const std::string& s = StrArg(ev, a, 0);
  int64_t start = std::clamp<int64_t>(IntArg(ev, a, 1), 1, Size(s) + 1) - 1;
  int64_t del = std::clamp<int64_t>(IntArg(ev, a, 2), 0, Size(s) - start);
  const std::string& ins = StrArg(ev, a, 3);
  std::string out = s.substr(0, static_cast<size_t>(start)) + ins;
  out.append(s, static_cast<size_t>(start + del), std::string::npos);
  return Value(std::move(out));
}

Value FnAsc(Evaluator& ev, Args a) {
  const std::string& s = StrArg(ev, a, 0);
  return Value::Int(s.empty() ? 0 : static_cast<unsigned char>(s[0]));
}

Value FnChr(Evaluator& ev, Args a) {
  int64_t code = IntArg(ev, a, 0);
  return Value(std::string(1, static_cast<char>(static_cast<unsigned char>(code & 0xFF))));
}

template <bool (*Test)(char)>
Value FirstIs(Evaluator& ev, Args a) {
  const std::string& s = StrArg(ev, a, 0);
  return Value(!s.empty() && Test(s[0]));
}
bool IsAlphaByte(char c) { return rt::UpperByte(c) != rt::LowerByte(c); }
bool IsDigitByte(char c) { return c >= '0' && c <= '9'; }
bool IsUpperByte(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLowerByte(char c) { return c >= 'a' && c <= 'z'; }

constexpr Builtin kStringLibrary[] = {
    {"ALLTRIM", FnAllTrim, 1},
    {"LTRIM", FnLTrim, 1},
    {"RTRIM", FnRTrim, 1},
    {"TRIM", FnRTrim, 1},
    {"UPPER", FnUpper, 1},
    {"LOWER", FnLower, 1},
    {"LEFT", FnLeft, 2},
    {"RIGHT", FnRight, 2},
    {"SUBSTR", FnSubstr, 3},
    {"AT", FnAt, 2},
    {"RAT", FnRat, 2},
    {"SPACE", FnSpace, 1},
    {"REPLICATE", FnReplicate, 2},
    {"PADL", FnPadL, 3},
    {"PADR", FnPadR, 3},
    {"PADC", FnPadC, 3},
    {"STRTRAN", FnStrTran, 5},
    {"STUFF", FnStuff, 4},
    {"ASC", FnAsc, 1},
    {"CHR", FnChr, 1},
    {"ISALPHA", FirstIs<IsAlphaByte>, 1},
    {"ISDIGIT", FirstIs<IsDigitByte>, 1},
    {"ISUPPER", FirstIs<IsUpperByte>, 1},
    {"ISLOWER", FirstIs<IsLowerByte>, 1},
};

}  // namespace

std::span<const Builtin> StringLibrary() { return kStringLibrary; }

}  // namespace qv::xb
