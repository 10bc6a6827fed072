#include "platform/rdd/key_expr.h"

#include <algorithm>
#include <optional>

#include "platform/rdd/cdx/cdx_format.h"
#include "platform/rdd/field_codec.h"
#include "platform/runtime/session.h"
#include "platform/runtime/text.h"
#include "platform/xbase/expr.h"

namespace qv::rdd {
namespace {

constexpr int kArea = 1;

// The table seen as the only open work area, positioned on one record image.
class RecordAccess : public xb::TableAccess {
 public:
  explicit RecordAccess(Table& table) : table_(table) {}
  void Position(uint32_t recno, std::string_view image) {
    recno_ = recno;
    image_ = image;
  }

  uint64_t LayoutStamp() const override { return 1; }
  int CurrentArea() const override { return kArea; }
  void SelectArea(int) override {}
  int AreaOf(std::string_view) const override { return kArea; }
  bool Used(int area) const override { return area == kArea; }
  std::string Alias(int) const override { return std::string(); }
  std::string Dbf(int) const override { return table_.path(); }
  int FieldIndex(int area, std::string_view name) const override {
    return area == kArea ? table_.FieldIndex(name) : -1;
  }
  int FieldCount(int) const override { return static_cast<int>(table_.fields().size()); }
  std::string FieldName(int, int index) const override {
    return index >= 0 && static_cast<size_t>(index) < table_.fields().size()
               ? table_.fields()[static_cast<size_t>(index)].name
               : std::string();
  }
  rt::Value GetField(int, int index) override {
    const FieldInfo& f = table_.fields()[static_cast<size_t>(index)];
    if (f.type == FieldType::kMemo) {  // memos in keys read as stored; damage reads as ""
      auto text = table_.ReadMemo(f, image_);
      return rt::Value(text.ok() ? std::move(text).value() : std::string());
    }
    return DecodeField(f, image_.data());
  }
  Status PutField(int, int, const rt::Value&) override {
    return Status::InvalidArgument("an index key cannot assign fields");
  }
  bool Eof(int) const override { return false; }
  bool Bof(int) const override { return false; }
  bool Found(int) const override { return false; }
  bool Deleted(int) const override { return !image_.empty() && image_[0] == kRecordDeleted; }
  int64_t RecNo(int) const override { return recno_; }
  int64_t RecCount(int) const override { return table_.known_count(); }

 private:
  Table& table_;
  uint32_t recno_ = 0;
  std::string_view image_;
};

// A key that is one field, or UPPER of a character field, is read straight
// from the record bytes: builds evaluate it for every record, and going
// through the expression engine cost more than the sort.
struct DirectKey {
  const FieldInfo* field = nullptr;
  bool upper = false;
};

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// "NAME" or "UPPER(NAME)", any case, spaces around the parts.
std::optional<DirectKey> FindDirectKey(const Table& table, std::string_view text) {
  auto trim = [](std::string_view t) {
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    return t;
  };
  std::string_view name = trim(text);
  DirectKey direct;
  if (name.size() > 6 && rt::Upper(name.substr(0, 5)) == "UPPER" && name.back() == ')') {
    std::string_view rest = trim(name.substr(5));
    if (rest.empty() || rest.front() != '(') return std::nullopt;
    name = trim(rest.substr(1, rest.size() - 2));
    direct.upper = true;
  }
  if (name.empty() || (name.front() >= '0' && name.front() <= '9')) return std::nullopt;
  for (char c : name) {
    if (!IsNameChar(c)) return std::nullopt;
  }
  const int index = table.FieldIndex(name);
  if (index < 0) return std::nullopt;
  const FieldInfo& f = table.fields()[static_cast<size_t>(index)];
  const bool plain = f.type == FieldType::kNumeric || f.type == FieldType::kFloat ||
                     f.type == FieldType::kDate || f.type == FieldType::kLogical;
  if (f.type != FieldType::kCharacter && (direct.upper || !plain)) return std::nullopt;
  direct.field = &f;
  return direct;
}

}  // namespace

struct KeyExpr::Impl {
  explicit Impl(Table& table) : access(table) {}
  rt::Session session;
  RecordAccess access;
  std::optional<xb::Expr> key;
  std::optional<xb::Expr> for_cond;
  std::optional<DirectKey> direct;
};

KeyExpr::KeyExpr() = default;
KeyExpr::~KeyExpr() = default;

Result<std::unique_ptr<KeyExpr>> KeyExpr::Compile(Table& table, std::string_view key_text,
                                                  std::string_view for_text) {
  std::unique_ptr<KeyExpr> k(new KeyExpr());
  k->impl_ = std::make_unique<Impl>(table);
  k->key_text_ = std::string(key_text);
  QV_ASSIGN_OR_RETURN(xb::Expr key, xb::Expr::Compile(key_text));
  k->impl_->key.emplace(std::move(key));
  if (!for_text.empty()) {
    QV_ASSIGN_OR_RETURN(xb::Expr cond, xb::Expr::Compile(for_text));
    k->impl_->for_cond.emplace(std::move(cond));
  }
  k->impl_->direct = FindDirectKey(table, key_text);
  const std::string blank = BlankRecord(table.header());
  QV_ASSIGN_OR_RETURN(rt::Value sample, k->Eval(false, 0, blank));
  if (sample.IsString()) {
    if (sample.str().empty() || sample.str().size() > cdx::kMaxKeyLen) {
      return Status::InvalidArgument("key " + k->key_text_ + " is " +
                                     std::to_string(sample.str().size()) + " bytes long");
    }
    k->type_ = cdx::KeyType::kChar;
    k->key_len_ = static_cast<uint16_t>(sample.str().size());
  } else if (sample.IsNumber() || sample.IsDate()) {
    k->type_ = sample.IsNumber() ? cdx::KeyType::kNumeric : cdx::KeyType::kDate;
    k->key_len_ = cdx::kNumericKeyLen;
  } else if (sample.IsLogical()) {
    k->type_ = cdx::KeyType::kLogical;
    k->key_len_ = cdx::kLogicalKeyLen;
  } else {
    return Status::InvalidArgument("key " + k->key_text_ + " is not character, number, date or "
                                   "logical");
  }
  return k;
}

Result<rt::Value> KeyExpr::Eval(bool for_cond, uint32_t recno, std::string_view image) {
  impl_->access.Position(recno, image);
  xb::Host host{impl_->session, &impl_->access};
  const xb::Expr& expr = for_cond ? *impl_->for_cond : *impl_->key;
  try {
    return expr.Eval(host);
  } catch (const rt::RuntimeError& e) {
    return Status::InvalidArgument(expr.text() + ": " + e.info().description);
  } catch (const rt::QuitRequest&) {
    return Status::InvalidArgument(expr.text() + ": evaluation was abandoned");
  }
}

Result<std::string> KeyExpr::Encode(const rt::Value& value) const {
  switch (type_) {
    case cdx::KeyType::kChar:
      if (value.IsString()) return cdx::EncodeChar(value.str(), key_len_);
      break;
    case cdx::KeyType::kNumeric:
      if (value.IsNumber()) return cdx::EncodeNumber(value.num());
      break;
    case cdx::KeyType::kDate:
      if (value.IsDate()) return cdx::EncodeDate(value.date().julian());
      break;
    case cdx::KeyType::kLogical:
      if (value.IsLogical()) return cdx::EncodeLogical(value.logical());
      break;
  }
  return Status::InvalidArgument("key " + key_text_ + " gave a value of another type");
}

Result<std::string> KeyExpr::Key(uint32_t recno, std::string_view image) {
  std::string key;
  QV_RETURN_IF_ERROR(KeyTo(recno, image, &key));
  return key;
}

Status KeyExpr::KeyTo(uint32_t recno, std::string_view image, std::string* key) {
  if (impl_->direct && impl_->direct->field->type == FieldType::kCharacter) {
    const FieldInfo& f = *impl_->direct->field;
    key->assign(image.substr(f.offset, std::min<size_t>(f.length, key_len_)));
    key->resize(key_len_, ' ');  // as EncodeChar pads
    if (impl_->direct->upper) {
      for (char& c : *key) c = rt::UpperByte(c);
    }
    return Status::OK();
  }
  if (impl_->direct) {
    QV_ASSIGN_OR_RETURN(*key, Encode(DecodeField(*impl_->direct->field, image.data())));
    return Status::OK();
  }
  QV_ASSIGN_OR_RETURN(rt::Value value, Eval(false, recno, image));
  QV_ASSIGN_OR_RETURN(*key, Encode(value));
  return Status::OK();
}

Result<bool> KeyExpr::Includes(uint32_t recno, std::string_view image) {
  if (!impl_->for_cond) return true;
  QV_ASSIGN_OR_RETURN(rt::Value value, Eval(true, recno, image));
  return value.IsLogical() && value.logical();
}

Result<std::string> KeyExpr::SeekKey(const rt::Value& value) const {
  if (type_ == cdx::KeyType::kChar && value.IsString()) {
    return value.str().substr(0, key_len_);
  }
  return Encode(value);
}

}  // namespace qv::rdd
