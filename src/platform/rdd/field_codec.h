// Field values in record bytes: how each type is read into a runtime value
// and written back. Memo fields hold only a block number here; the memo
// text itself goes through MemoFile.
#pragma once

#include <cstdint>
#include <string>

#include "platform/fs/status.h"
#include "platform/rdd/dbf_format.h"
#include "platform/runtime/value.h"

namespace qv::rdd {

// The value of field f in record (the whole record, deletion flag first).
// C: the stored bytes; N, F: a Number with the field's width and decimals;
// L: T, t, Y, y are true; D: the date ("" or invalid text is empty);
// I, B, Y: numbers; T: the date part. REQUIRES: f is not a memo field.
rt::Value DecodeField(const FieldInfo& f, const char* record);

// The memo block number a memo field holds; 0 for none (blanks, a leading
// NUL, or no digits).
uint32_t MemoBlockOf(const FieldInfo& f, const char* record);
// Stores block (0 = no memo: blanks, or binary zero for 4-byte fields).
void PutMemoBlock(const FieldInfo& f, uint32_t block, char* record);

// Writes value into field f of record. C pads or cuts; N and F format as
// STR(value, len, dec) and, when it does not fit, fill the field with '*' and
// return InvalidArgument; L writes T or F; D writes YYYYMMDD or blanks.
// InvalidArgument (record unchanged) when the value's type does not fit the
// field. REQUIRES: f is not a memo field.
Status EncodeField(const FieldInfo& f, const rt::Value& value, char* record);

// Writes stored text as is (C, N: right-aligned when shorter) for tools that
// carry the exact field text; longer text is cut.
void PutFieldText(const FieldInfo& f, std::string_view text, char* record);

// A fresh record: deletion flag and every field blank.
std::string BlankRecord(const DbfHeader& header);

}  // namespace qv::rdd
