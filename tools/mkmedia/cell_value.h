// Field definitions and cell texts of the media sources checked against the
// limits of the tables we write, and a cell turned into the value the field
// stores. Cell forms: C and M as written; N a plain decimal number
// ("-12.50"); D "YYYYMMDD"; L "T" or "F"; an empty cell is a blank field.
#pragma once

#include <string_view>

#include "platform/fs/status.h"
#include "platform/runtime/value.h"
#include "table_source.h"

namespace qv::media {

// InvalidArgument when the name is not 1..10 letters, digits and "_"
// beginning with a letter, the type is not C N D L M, or the width or
// decimals do not fit the type.
Status CheckFieldDef(const FieldDef& field);

// InvalidArgument when cell is no value of field's type or does not fit
// its width (a text is never cut silently).
Status CheckCell(const FieldDef& field, std::string_view cell);

// The value the field holds for cell: C and M the text, N a number with
// the field's width and decimals (0 for an empty cell), D a date (empty for
// an empty cell), L true for "T". REQUIRES: CheckCell(field, cell) is OK.
rt::Value CellValue(const FieldDef& field, std::string_view cell);

// The cell of row for field index i ("" when the row is shorter).
std::string_view CellOf(const Row& row, size_t i);

}  // namespace qv::media
