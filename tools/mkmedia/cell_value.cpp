#include "cell_value.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "platform/rdd/dbf_format.h"
#include "platform/runtime/date.h"
#include "platform/runtime/number.h"

namespace qv::media {

namespace {

// Digits before and after the point of a plain decimal number; false when
// text is not one.
bool SplitNumber(std::string_view text, size_t* int_digits, size_t* frac_digits) {
  size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
  size_t digits_start = i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  *int_digits = i - digits_start;
  *frac_digits = 0;
  if (i < text.size() && text[i] == '.') {
    size_t f = ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    *frac_digits = i - f;
    if (*frac_digits == 0) return false;
  }
  return i == text.size() && *int_digits > 0;
}

}  // namespace

Status CheckFieldDef(const FieldDef& f) {
  bool name_ok = !f.name.empty() && f.name.size() <= rdd::kMaxFieldNameLength &&
                 std::isalpha(static_cast<unsigned char>(f.name[0]));
  for (char c : f.name)
    name_ok = name_ok && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
  if (!name_ok)
    return Status::InvalidArgument("field name \"" + f.name + "\" is not 1-10 letters, digits, _");
  switch (f.type) {
    case 'C':
      if (f.length < 1 || f.length > rdd::kMaxCharLength || f.decimals != 0) {
        return Status::InvalidArgument("field " + f.name + ": C width 1-254, no decimals");
      }
      return Status::OK();
    case 'N':
      if (f.length < 1 || f.length > rdd::kMaxNumericLength ||
          (f.decimals > 0 && f.decimals > f.length - 2)) {
        return Status::InvalidArgument("field " + f.name + ": N width 1-20, decimals <= width - 2");
      }
      return Status::OK();
    case 'D':
    case 'L':
    case 'M':
      if (f.decimals != 0) return Status::InvalidArgument("field " + f.name + ": no decimals");
      return Status::OK();
    default:
      return Status::InvalidArgument("field " + f.name + ": type is one of C N D L M");
  }
}

Status CheckCell(const FieldDef& f, std::string_view cell) {
  if (cell.empty()) return Status::OK();
  switch (f.type) {
    case 'C':
      if (cell.size() > static_cast<size_t>(f.length)) {
        return Status::InvalidArgument("\"" + std::string(cell) + "\" is longer than " +
                                       std::to_string(f.length));
      }
      return Status::OK();
    case 'N': {
      size_t int_digits = 0;
      size_t frac_digits = 0;
      if (!SplitNumber(cell, &int_digits, &frac_digits)) {
        return Status::InvalidArgument("\"" + std::string(cell) + "\" is not a number");
      }
      size_t room = static_cast<size_t>(f.length) - (f.decimals > 0 ? f.decimals + 1 : 0);
      size_t needed = int_digits + (cell[0] == '-' ? 1 : 0);
      if (frac_digits > static_cast<size_t>(f.decimals) || needed > room) {
        return Status::InvalidArgument(std::string(cell) + " does not fit N" +
                                       std::to_string(f.length) + "." + std::to_string(f.decimals));
      }
      return Status::OK();
    }
    case 'D':
      if (cell.size() != 8 || rt::Date::FromDtos(cell).empty()) {
        return Status::InvalidArgument("\"" + std::string(cell) + "\" is not a date YYYYMMDD");
      }
      return Status::OK();
    case 'L':
      if (cell != "T" && cell != "F") return Status::InvalidArgument("a logical is T or F");
      return Status::OK();
    default:
      return Status::OK();
  }
}

rt::Value CellValue(const FieldDef& f, std::string_view cell) {
  switch (f.type) {
    case 'N':
      return rt::FieldNumber(cell, f.length, f.decimals);
    case 'D':
      return rt::Date::FromDtos(cell);
    case 'L':
      return cell == "T";
    default:
      return std::string(cell);
  }
}

std::string_view CellOf(const Row& row, size_t i) {
  return i < row.cells.size() ? std::string_view(row.cells[i]) : std::string_view();
}

}  // namespace qv::media
