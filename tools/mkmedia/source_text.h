// Text helpers of the media sources: the strict UTF-8 to code page 1252
// conversion every source line goes through, the backslash escapes of row
// cells, and splitting a row at its separator.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/status.h"

namespace qv::media {

// The code page 1252 bytes of utf8. InvalidArgument (naming where) for bytes
// that are not UTF-8 or a character code page 1252 cannot hold, so nothing
// is silently turned into '?'.
Result<std::string> ToCp1252(std::string_view utf8, std::string_view where);

// Splits a row line at every unescaped sep and resolves the escapes of each
// cell: \n \r \t, \xHH (one byte), \\ and a backslash before sep; a
// backslash before anything else stands for itself, so Windows paths need
// no doubling. first_plain tells whether the first cell was written without
// any escape (a bare "*" or "@N" there is a row mark, an escaped one data).
// InvalidArgument for a backslash ending the line or \x without two hex
// digits.
struct SplitRow {
  std::vector<std::string> cells;
  bool first_plain = true;
};
Result<SplitRow> SplitCells(std::string_view line, char sep, std::string_view where);

// The lines of text without their line ends (LF or CR LF); nothing after a
// final line end. Line n of a message is element n - 1.
std::vector<std::string_view> SplitLines(std::string_view text);

// ASCII letters raised to upper case.
std::string UpperCase(std::string_view text);

// Leading and trailing blanks and tabs removed.
std::string_view TrimSpace(std::string_view text);
// Trailing blanks removed (as xBase RTRIM).
std::string_view TrimRight(std::string_view text);

// The first blank-separated word of text and the trimmed rest.
std::pair<std::string_view, std::string_view> FirstWord(std::string_view text);

}  // namespace qv::media
