#include "platform/runtime/mem_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "platform/runtime/number.h"
#include "platform/runtime/session.h"
#include "platform/runtime/text.h"

namespace qv::rt {

namespace {

// Record header layout (32 bytes) and the end mark.
constexpr size_t kHeaderSize = 32;
constexpr size_t kNameSize = 11;  // 10 characters + NUL
constexpr size_t kMaxName = 10;
constexpr size_t kTypeOffset = 11;
constexpr size_t kLengthOffset = 16;    // N: width; C: length low byte; D, L: 1
constexpr size_t kDecimalsOffset = 17;  // N: decimals; C: length high byte
constexpr uint8_t kTypeFlag = 0x80;
constexpr char kEndMark = 0x1A;
constexpr size_t kMaxStoredString = 65534;  // + NUL fits the 16-bit length

void PutDouble(double d, std::string* out) {
  auto bits = std::bit_cast<uint64_t>(d);
  for (int i = 0; i < 8; ++i) out->push_back(static_cast<char>(bits >> (8 * i)));
}

double GetDouble(std::string_view bytes) {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | static_cast<uint8_t>(bytes[i]);
  return std::bit_cast<double>(bits);
}

uint8_t Byte(int n) { return static_cast<uint8_t>(std::clamp(n, 0, 255)); }

// Appends one record; false (nothing written) for a type the file cannot hold.
bool AppendRecord(const MemVariable& var, std::string* out) {
  std::string header(kHeaderSize, '\0');
  std::string value;
  char type = TypeLetter(var.value.type());
  switch (var.value.type()) {
    case Type::kString: {
      std::string_view s = var.value.str();
      s = s.substr(0, std::min(s.size(), kMaxStoredString));
      size_t len = s.size() + 1;
      header[kLengthOffset] = static_cast<char>(len & 0xFF);
      header[kDecimalsOffset] = static_cast<char>(len >> 8);
      value.assign(s);
      value.push_back('\0');
      break;
    }
    case Type::kNumber:
      header[kLengthOffset] = static_cast<char>(Byte(var.value.number().width));
      header[kDecimalsOffset] = static_cast<char>(Byte(var.value.number().decimals));
      PutDouble(var.value.num(), &value);
      break;
    case Type::kDate:
      header[kLengthOffset] = 1;
      PutDouble(static_cast<double>(var.value.date().julian()), &value);
      break;
    case Type::kLogical:
      header[kLengthOffset] = 1;
      value.push_back(var.value.logical() ? 1 : 0);
      break;
    default:
      return false;
  }
  std::string name = Upper(var.name).substr(0, kMaxName);
  header.replace(0, name.size(), name);
  header[kTypeOffset] = static_cast<char>(static_cast<uint8_t>(type) | kTypeFlag);
  out->append(header);
  out->append(value);
  return true;
}

Status Damaged(std::string_view file, size_t offset, std::string_view what) {
  return Status::Corruption(file, offset, what);
}

}  // namespace

std::string EncodeMem(const std::vector<MemVariable>& vars) {
  std::vector<const MemVariable*> order;
  for (const MemVariable& v : vars) order.push_back(&v);
  auto cut = [](const MemVariable* v) { return Upper(v->name).substr(0, kMaxName); };
  std::stable_sort(order.begin(), order.end(),
                   [&](const MemVariable* a, const MemVariable* b) { return cut(a) > cut(b); });
  std::string out;
  std::string previous;
  bool first = true;
  for (const MemVariable* v : order) {
    std::string name = cut(v);
    if (!first && name == previous) continue;
    if (AppendRecord(*v, &out)) {
      previous = name;
      first = false;
    }
  }
  out.push_back(kEndMark);
  return out;
}

Result<std::vector<MemVariable>> DecodeMem(std::string_view bytes, std::string_view file_name) {
  std::vector<MemVariable> vars;
  size_t pos = 0;
  while (true) {
    if (pos >= bytes.size()) return Damaged(file_name, pos, "end mark 0x1A");
    if (bytes[pos] == kEndMark) return vars;
    if (bytes.size() - pos < kHeaderSize) return Damaged(file_name, pos, "32-byte variable header");
    std::string_view header = bytes.substr(pos, kHeaderSize);
    std::string_view name = header.substr(0, kNameSize);
    name = name.substr(0, std::min(name.find('\0'), kMaxName));
    auto type = static_cast<char>(static_cast<uint8_t>(header[kTypeOffset]) & 0x7F);
    auto low = static_cast<uint8_t>(header[kLengthOffset]);
    auto high = static_cast<uint8_t>(header[kDecimalsOffset]);
    size_t size = type == 'C' ? low + 256u * high : type == 'L' ? 1 : 8;
    if (type != 'C' && type != 'N' && type != 'D' && type != 'L') {
      return Damaged(file_name, pos + kTypeOffset, "type C, N, D or L");
    }
    pos += kHeaderSize;
    if (bytes.size() - pos < size) return Damaged(file_name, pos, "the variable's value");
    std::string_view data = bytes.substr(pos, size);
    pos += size;
    MemVariable var{Upper(name), Value()};
    switch (type) {
      case 'C':
        // The stored length counts the closing NUL.
        var.value = std::string(data.substr(0, size > 0 ? size - 1 : 0));
        break;
      case 'N':
        // A width of 0 would print nothing: give such a number the usual one.
        var.value = low == 0 ? DecimalNumber(GetDouble(data), high)
                             : Number{GetDouble(data), static_cast<int16_t>(low),
                                      static_cast<int16_t>(high)};
        break;
      case 'D': {
        double jd = GetDouble(data);
        // Out of range (also NaN) is the empty date, as for any invalid date.
        bool usable = jd >= 1 && jd <= 1e7;
        var.value = usable ? Date::FromJulian(std::llround(jd)) : Date();
        break;
      }
      default:
        var.value = data[0] != 0;
        break;
    }
    vars.push_back(std::move(var));
  }
}

Status SaveMem(fs::Env& env, const std::string& host_path, const Session& session,
               std::string_view pattern, bool except) {
  std::vector<MemVariable> vars;
  for (const auto& [name, value] : session.vars().Visible()) {
    if (WildcardMatch(pattern, name) != except) vars.push_back(MemVariable{name, *value});
  }
  return fs::WriteWholeFile(env, host_path, EncodeMem(vars), /*sync=*/true);
}

Status RestoreMem(fs::Env& env, const std::string& host_path, Session& session, bool additive) {
  QV_ASSIGN_OR_RETURN(std::string bytes, fs::ReadWholeFile(env, host_path));
  QV_ASSIGN_OR_RETURN(std::vector<MemVariable> vars, DecodeMem(bytes, host_path));
  if (!additive) session.vars().ReleaseMatching("*", false);
  for (MemVariable& var : vars) session.Assign(var.name, std::move(var.value));
  return Status::OK();
}

}  // namespace qv::rt
