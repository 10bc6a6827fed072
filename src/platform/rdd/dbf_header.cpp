#include <cctype>
#include <string>

#include "platform/rdd/dbf_format.h"
#include "platform/rdd/detail/bytes.h"

namespace qv::rdd {
namespace {

using detail::Byte;
using detail::GetLe16;
using detail::GetLe32;

bool KnownVersion(uint8_t v) {
  switch (v) {
    case 0x02:
    case kVersionDbase3:
    case kVersionDbase3Memo:
    case kVersionDbase4Memo:
    case kVersionFoxPro2Memo:
    case 0xFB:
    case kVersionVisualFoxPro:
    case kVersionVisualFoxProAutoInc:
    case kVersionVisualFoxProVarchar:
      return true;
    default:
      return false;
  }
}

bool IsVfp(uint8_t v) { return v >= kVersionVisualFoxPro && v <= kVersionVisualFoxProVarchar; }

// Fixed lengths of the types that have one; 0 when the length is free.
uint32_t FixedLength(FieldType type, bool vfp) {
  switch (type) {
    case FieldType::kLogical:
      return 1;
    case FieldType::kDate:
      return 8;
    case FieldType::kInteger:
      return 4;
    case FieldType::kDouble:
    case FieldType::kCurrency:
    case FieldType::kDateTime:
      return 8;
    case FieldType::kMemo:
      return vfp ? 4 : 10;
    default:
      return 0;
  }
}

bool ReadableType(char letter) {
  return std::string_view("CNFLDMIBYT").find(letter) != std::string_view::npos;
}

std::string Hex(uint32_t v) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string s = "0x";
  s += kDigits[(v >> 4) & 15];
  s += kDigits[v & 15];
  return s;
}

Result<FieldInfo> ParseField(std::string_view file, std::string_view d, size_t at, bool vfp) {
  FieldInfo f;
  for (size_t i = 0; i < kMaxFieldNameLength && d[i] != '\0'; ++i) f.name += d[i];
  if (f.name.empty()) return Status::Corruption(file, at, "field descriptor with an empty name");
  char letter = d[kFieldTypeOffset];
  if (!ReadableType(letter)) {
    // A letter no xBase writer uses is damage; a real but unsupported one is not.
    if (!std::isalpha(static_cast<unsigned char>(letter)) && letter != '0' && letter != '@' &&
        letter != '+') {
      return Status::Corruption(file, at + kFieldTypeOffset,
                                "unknown field type byte " + Hex(Byte(d, kFieldTypeOffset)));
    }
    return Status::NotSupported(std::string(file) + ": field " + f.name + " has type '" + letter +
                                "', which this engine does not read");
  }
  f.type = static_cast<FieldType>(letter);
  f.length = Byte(d, kFieldLengthOffset);
  f.decimals = Byte(d, kFieldDecimalsOffset);
  if (f.type == FieldType::kCharacter && !vfp) {
    f.length += f.decimals * 256;  // long character fields keep the high byte here
    f.decimals = 0;
  }
  uint32_t fixed = FixedLength(f.type, vfp);
  if (f.type == FieldType::kMemo && (f.length == 4 || f.length == 10)) fixed = f.length;
  if (f.length == 0 || (fixed != 0 && f.length != fixed)) {
    return Status::Corruption(
        file, at + kFieldLengthOffset,
        "field " + f.name + " of type " + letter + " has length " + std::to_string(f.length));
  }
  if (f.decimals != 0 && f.decimals >= f.length && f.type != FieldType::kCurrency) {
    return Status::Corruption(file, at + kFieldDecimalsOffset,
                              "field " + f.name + " has " + std::to_string(f.decimals) +
                                  " decimals in a width of " + std::to_string(f.length));
  }
  return f;
}

}  // namespace

bool DbfHeader::HasMemoFile() const { return MemoKindOf(*this) != MemoKind::kNone; }
bool DbfHeader::UsesFpt() const { return MemoKindOf(*this) == MemoKind::kFpt; }

uint32_t DbfHeader::CountFromSize(uint64_t file_size) const {
  if (file_size <= header_length || record_length == 0) return 0;
  uint64_t n = (file_size - header_length) / record_length;
  return n > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(n);
}

MemoKind MemoKindOf(const DbfHeader& header) {
  bool memo_field = false;
  for (const FieldInfo& f : header.fields) memo_field |= f.type == FieldType::kMemo;
  if (!memo_field) return MemoKind::kNone;
  if (header.version == kVersionDbase4Memo) return MemoKind::kDbt4;
  if (header.version == kVersionFoxPro2Memo || IsVfp(header.version)) return MemoKind::kFpt;
  return MemoKind::kDbt3;
}

size_t HeaderBytesNeeded(std::string_view first) {
  if (first.size() < kDbfFileHeaderSize) return kDbfFileHeaderSize;
  return GetLe16(first, kDbfHeaderLengthOffset);
}

Result<DbfHeader> ParseHeader(std::string_view file, std::string_view b, uint64_t file_size) {
  if (b.size() < kDbfFileHeaderSize || file_size < kDbfFileHeaderSize) {
    return Status::Corruption(file, b.size(),
                              "short header: the file has " + std::to_string(file_size) +
                                  " bytes, a table header needs 32");
  }
  DbfHeader h;
  h.version = static_cast<uint8_t>(b[kDbfVersionOffset]);
  if (!KnownVersion(h.version)) {
    return Status::Corruption(file, kDbfVersionOffset, "unknown version byte " + Hex(h.version));
  }
  h.update_year = static_cast<uint8_t>(b[kDbfUpdateYearOffset]);
  h.update_month = static_cast<uint8_t>(b[kDbfUpdateMonthOffset]);
  h.update_day = static_cast<uint8_t>(b[kDbfUpdateDayOffset]);
  h.stored_count = GetLe32(b, kDbfRecordCountOffset);
  h.header_length = GetLe16(b, kDbfHeaderLengthOffset);
  h.record_length = GetLe16(b, kDbfRecordLengthOffset);
  h.flags = static_cast<uint8_t>(b[kDbfFlagsOffset]);
  h.code_page = static_cast<uint8_t>(b[kDbfCodePageOffset]);
  const size_t min_header = kDbfFileHeaderSize + kFieldDescriptorSize + 1;
  if (h.header_length < min_header) {
    return Status::Corruption(
        file, kDbfHeaderLengthOffset,
        "header length " + std::to_string(h.header_length) + " is too small for one field");
  }
  if (h.header_length > file_size) {
    return Status::Corruption(file, kDbfHeaderLengthOffset,
                              "header length " + std::to_string(h.header_length) +
                                  " exceeds the file size " + std::to_string(file_size));
  }
  if (b.size() < h.header_length) {
    return Status::Corruption(file, b.size(),
                              "short header: " + std::to_string(b.size()) + " of " +
                                  std::to_string(h.header_length) + " bytes");
  }
  const bool vfp = IsVfp(h.version);
  uint32_t offset = 1;
  size_t at = kDbfFileHeaderSize;
  for (; at < h.header_length && b[at] != kHeaderTerminator; at += kFieldDescriptorSize) {
    if (at + kFieldDescriptorSize >= h.header_length) {
      return Status::Corruption(
          file, at,
          "field descriptor runs past the header length " + std::to_string(h.header_length));
    }
    QV_ASSIGN_OR_RETURN(FieldInfo f, ParseField(file, b.substr(at, kFieldDescriptorSize), at, vfp));
    f.offset = offset;
    offset += f.length;
    h.fields.push_back(std::move(f));
  }
  if (h.fields.empty()) return Status::Corruption(file, kDbfFileHeaderSize, "no field descriptors");
  if (at >= h.header_length) {
    return Status::Corruption(file, at, "no header terminator 0x0D after the field descriptors");
  }
  if (offset != h.record_length) {
    return Status::Corruption(file, kDbfRecordLengthOffset,
                              "record length " + std::to_string(h.record_length) +
                                  " does not match the fields' total " + std::to_string(offset));
  }
  return h;
}

std::string EncodeFileHeader(const DbfHeader& h, uint32_t count, rt::Date today) {
  std::string out(kDbfFileHeaderSize, '\0');
  out[kDbfVersionOffset] = static_cast<char>(h.version);
  if (!today.empty()) {
    out[kDbfUpdateYearOffset] = static_cast<char>((today.Year() - 1900) & 0xFF);
    out[kDbfUpdateMonthOffset] = static_cast<char>(today.Month());
    out[kDbfUpdateDayOffset] = static_cast<char>(today.Day());
  } else {
    out[kDbfUpdateYearOffset] = static_cast<char>(h.update_year);
    out[kDbfUpdateMonthOffset] = static_cast<char>(h.update_month);
    out[kDbfUpdateDayOffset] = static_cast<char>(h.update_day);
  }
  detail::PutLe32(&out, kDbfRecordCountOffset, count);
  detail::PutLe16(&out, kDbfHeaderLengthOffset, h.header_length);
  detail::PutLe16(&out, kDbfRecordLengthOffset, h.record_length);
  out[kDbfFlagsOffset] = static_cast<char>(h.flags);
  out[kDbfCodePageOffset] = static_cast<char>(h.code_page);
  return out;
}

std::string EncodeHeader(const DbfHeader& h, uint32_t count, rt::Date today) {
  std::string out = EncodeFileHeader(h, count, today);
  for (const FieldInfo& f : h.fields) {
    std::string d(kFieldDescriptorSize, '\0');
    d.replace(kFieldNameOffset, f.name.size(), f.name);
    d[kFieldTypeOffset] = static_cast<char>(f.type);
    bool long_char = f.type == FieldType::kCharacter;
    d[kFieldLengthOffset] = static_cast<char>(f.length & 0xFF);
    d[kFieldDecimalsOffset] = static_cast<char>(long_char ? f.length >> 8 : f.decimals);
    out += d;
  }
  out += kHeaderTerminator;
  out += '\0';
  if (out.size() < h.header_length) out.resize(h.header_length, '\0');
  return out;
}

bool SameFieldName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

FieldSpec SpecOf(const FieldInfo& f) {
  return FieldSpec{f.name, static_cast<char>(f.type), static_cast<int>(f.length),
                   static_cast<int>(f.decimals)};
}

Result<DbfHeader> NewHeader(const std::vector<FieldSpec>& specs, bool structural_bag) {
  if (specs.empty()) return Status::InvalidArgument("a table needs at least one field");
  if (specs.size() > static_cast<size_t>(kMaxFields)) {
    return Status::InvalidArgument("more than 255 fields");
  }
  DbfHeader h;
  uint32_t offset = 1;
  bool memo = false;
  for (const FieldSpec& s : specs) {
    auto bad = [&](const std::string& why) {
      return Status::InvalidArgument("field " + s.name + ": " + why);
    };
    if (s.name.empty() || s.name.size() > kMaxFieldNameLength) return bad("name of 1..10 chars");
    FieldInfo f;
    for (char c : s.name) f.name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const FieldInfo& other : h.fields) {
      if (other.name == f.name) return bad("name used twice");
    }
    char type = static_cast<char>(std::toupper(static_cast<unsigned char>(s.type)));
    f.type = static_cast<FieldType>(type);
    f.length = static_cast<uint32_t>(s.length);
    f.decimals = static_cast<uint32_t>(s.decimals);
    switch (type) {
      case 'C':
        if (s.length < 1 || s.length > kMaxCharLength) return bad("width 1..254");
        f.decimals = 0;
        break;
      case 'N':
        if (s.length < 1 || s.length > kMaxNumericLength) return bad("width 1..20");
        if (s.decimals < 0 || (s.decimals > 0 && s.decimals > s.length - 2)) {
          return bad("decimals must leave room for the point and a digit");
        }
        break;
      case 'L':
      case 'D':
      case 'M':
        f.length = FixedLength(f.type, false);
        f.decimals = 0;
        memo |= type == 'M';
        break;
      default:
        return bad(std::string("type '") + s.type + "' cannot be created");
    }
    f.offset = offset;
    offset += f.length;
    h.fields.push_back(std::move(f));
  }
  if (offset > 0xFFFF) return Status::InvalidArgument("record longer than 65535 bytes");
  h.version = memo ? kVersionDbase3Memo : kVersionDbase3;
  h.header_length = static_cast<uint32_t>(kDbfFileHeaderSize + kFieldDescriptorSize * specs.size() +
                                          kWrittenHeaderTail);
  h.record_length = offset;
  h.flags = structural_bag ? kFlagStructuralBag : 0;
  return h;
}

}  // namespace qv::rdd
