// The DBF table layout: header, field descriptors and records. Reader,
// writer, check and xbtool all take offsets and flags from here; the prose
// lives in formats.md.
//
// File header (32 bytes, integers little-endian):
//   off size meaning
//     0   1   version byte: 0x03 no memo, 0x83 with DBT memo; read also 0x30..0x32, 0xF5, 0x8B
//     1   3   last update: year - 1900, month, day (read: <= 99 is a two-digit year)
//     4   4   record count, deleted records included (written; the file size is trusted)
//     8   2   header length = offset of record 1
//    10   2   record length, deletion flag included
//    12  16   reserved, zero when written
//    28   1   table flags: 0x01 structural index bag, 0x02 memo (VFP only)
//    29   1   code page mark, 0 when created, preserved otherwise
//    30   2   reserved, zero
// Field descriptor (32 bytes each from offset 32; list ends at a 0x0D byte):
//     0  11   name, upper case, NUL-padded (byte 10 always 0)
//    11   1   type letter
//    12   4   offset in record (VFP only; zero when written)
//    16   1   length (type C: low byte of a length up to 65535)
//    17   1   decimals (type C: high byte of the length)
//    18  14   flags and reserved (ignored on read, zero when written)
// After the descriptors: 0x0D, then one 0x00 in tables we write, so the
// header length is 32 + 32 * fields + 2. Records follow, each a deletion
// flag (' ' live, '*' deleted) and the fields packed in order; one 0x1A
// ends the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/status.h"
#include "platform/runtime/date.h"

namespace qv::rdd {

// Header offsets.
inline constexpr size_t kDbfVersionOffset = 0;
inline constexpr size_t kDbfUpdateYearOffset = 1;
inline constexpr size_t kDbfUpdateMonthOffset = 2;
inline constexpr size_t kDbfUpdateDayOffset = 3;
inline constexpr size_t kDbfRecordCountOffset = 4;
inline constexpr size_t kDbfHeaderLengthOffset = 8;
inline constexpr size_t kDbfRecordLengthOffset = 10;
inline constexpr size_t kDbfFlagsOffset = 28;
inline constexpr size_t kDbfCodePageOffset = 29;
inline constexpr size_t kDbfFileHeaderSize = 32;

// Field descriptor offsets.
inline constexpr size_t kFieldDescriptorSize = 32;
inline constexpr size_t kFieldNameOffset = 0;
inline constexpr size_t kFieldNameSize = 11;
inline constexpr size_t kFieldTypeOffset = 11;
inline constexpr size_t kFieldLengthOffset = 16;
inline constexpr size_t kFieldDecimalsOffset = 17;
inline constexpr size_t kMaxFieldNameLength = 10;

// Version bytes.
inline constexpr uint8_t kVersionDbase3 = 0x03;
inline constexpr uint8_t kVersionDbase3Memo = 0x83;
inline constexpr uint8_t kVersionDbase4Memo = 0x8B;
inline constexpr uint8_t kVersionFoxPro2Memo = 0xF5;
inline constexpr uint8_t kVersionVisualFoxPro = 0x30;
inline constexpr uint8_t kVersionVisualFoxProAutoInc = 0x31;
inline constexpr uint8_t kVersionVisualFoxProVarchar = 0x32;

// Table flags (byte 28).
inline constexpr uint8_t kFlagStructuralBag = 0x01;
inline constexpr uint8_t kFlagVfpMemo = 0x02;

// Bytes with a meaning in the data area.
inline constexpr char kHeaderTerminator = 0x0D;
inline constexpr char kEndOfFile = 0x1A;
inline constexpr char kRecordLive = ' ';
inline constexpr char kRecordDeleted = '*';
// Header length of a table we write: descriptors, 0x0D and one 0x00.
inline constexpr size_t kWrittenHeaderTail = 2;

// Limits for tables we create (wider tables are read as found).
inline constexpr int kMaxFields = 255;
inline constexpr int kMaxCharLength = 254;
inline constexpr int kMaxNumericLength = 20;

// Type letters.
enum class FieldType : char {
  kCharacter = 'C',
  kNumeric = 'N',
  kFloat = 'F',
  kLogical = 'L',
  kDate = 'D',
  kMemo = 'M',
  kInteger = 'I',
  kDouble = 'B',
  kCurrency = 'Y',
  kDateTime = 'T',
};

struct FieldInfo {
  std::string name;  // upper case as stored
  FieldType type = FieldType::kCharacter;
  uint32_t length = 0;
  uint32_t decimals = 0;
  uint32_t offset = 0;  // within the record; the deletion flag is byte 0
};

// What a table's header says, decoded and checked against the file size.
struct DbfHeader {
  uint8_t version = kVersionDbase3;
  uint8_t update_year = 0;  // as stored
  uint8_t update_month = 0;
  uint8_t update_day = 0;
  uint32_t stored_count = 0;  // the header's own record count
  uint32_t header_length = 0;
  uint32_t record_length = 0;
  uint8_t flags = 0;
  uint8_t code_page = 0;
  std::vector<FieldInfo> fields;

  bool HasStructuralBag() const { return (flags & kFlagStructuralBag) != 0; }
  // The table keeps memo texts in a side file (DBT or FPT).
  bool HasMemoFile() const;
  // FPT (big-endian blocks) rather than DBT.
  bool UsesFpt() const;
  // Records the file holds: (size - header length) / record length. A
  // trailing 0x1A or a torn last record does not count.
  uint32_t CountFromSize(uint64_t file_size) const;
};

enum class MemoKind { kNone, kDbt3, kDbt4, kFpt };
MemoKind MemoKindOf(const DbfHeader& header);

// Decodes the header of file_name from its first bytes (at least the whole
// header length, or what the file has). Corruption, naming file_name and the
// offset, for a short header, impossible lengths, a field list that does not
// add up to the record length; NotSupported for a field type we cannot read.
Result<DbfHeader> ParseHeader(std::string_view file_name, std::string_view bytes,
                              uint64_t file_size);
// How many header bytes ParseHeader needs: the header-length word, once the
// first 32 bytes are known; 32 before.
size_t HeaderBytesNeeded(std::string_view first_bytes);

// The 32-byte file header for header with record count count, stamped with
// the last-update date today.
std::string EncodeFileHeader(const DbfHeader& header, uint32_t count, rt::Date today);
// The whole header: file header, descriptors, 0x0D 0x00 (padded to
// header.header_length when that is larger).
std::string EncodeHeader(const DbfHeader& header, uint32_t count, rt::Date today);

// A field to create: name (any case), type C N L D M, length, decimals.
struct FieldSpec {
  std::string name;
  char type = 'C';
  int length = 0;
  int decimals = 0;
};

// The header of a new table: checks names, types, lengths and decimals
// (InvalidArgument naming the field) and lays the fields out.
Result<DbfHeader> NewHeader(const std::vector<FieldSpec>& fields, bool structural_bag);

// The field's description as DBSTRUCT and the structure listings give it.
FieldSpec SpecOf(const FieldInfo& field);

// Case-insensitive field-name comparison.
bool SameFieldName(std::string_view a, std::string_view b);

}  // namespace qv::rdd
