#include "xbase_testing.h"

#include "platform/runtime/text.h"
#include "platform/xbase/value_text.h"

namespace qv::xb::testing {

rt::Clock FixedClock() { return rt::Clock::Frozen(rt::Date::FromYmd(2026, 12, 11), 37230); }

void ApplyReferenceSettings(rt::Session& session) {
  session.set_clock(FixedClock());
  session.settings().dates.epoch = 2026 - 87;
  session.settings().exact = false;
}

Outcome Evaluate(Host& host, const std::string& text, ParseMode mode) {
  Outcome out;
  Result<Expr> expr = Expr::Compile(text, mode);
  if (!expr.ok()) {
    out.error = "error: " + expr.status().message();
    return out;
  }
  try {
    out.value = expr->Eval(host);
    out.ok = true;
  } catch (const rt::RuntimeError& e) {
    out.error = "error: " + e.Message();
  }
  return out;
}

std::string Show(Host& host, const std::string& text) {
  Outcome out = Evaluate(host, text);
  if (!out.ok) return out.error;
  return std::string(1, rt::TypeLetter(out.value.type())) + "\t" + ValueText(out.value);
}

void FakeTables::Open(int area, Table table) {
  areas_[area] = std::move(table);
  current_ = area;
  ++stamp_;
}

void FakeTables::Close(int area) {
  areas_.erase(area);
  ++stamp_;
}

void FakeTables::SelectArea(int area) {
  if (area != current_) ++stamp_;
  current_ = area;
}

const FakeTables::Table* FakeTables::Find(int area) const {
  auto it = areas_.find(area);
  return it == areas_.end() ? nullptr : &it->second;
}

int FakeTables::AreaOf(std::string_view alias) const {
  for (const auto& [area, table] : areas_) {
    if (rt::EqualsNoCase(table.alias, alias)) return area;
  }
  return 0;
}

std::string FakeTables::Alias(int area) const {
  const Table* t = Find(area);
  return t != nullptr ? rt::Upper(t->alias) : "";
}

std::string FakeTables::Dbf(int area) const {
  const Table* t = Find(area);
  return t != nullptr ? rt::Lower(t->alias) + ".dbf" : "";
}

int FakeTables::FieldIndex(int area, std::string_view name) const {
  ++lookups_;
  const Table* t = Find(area);
  if (t == nullptr) return -1;
  for (size_t i = 0; i < t->fields.size(); ++i) {
    if (rt::EqualsNoCase(t->fields[i], name)) return static_cast<int>(i);
  }
  return -1;
}

int FakeTables::FieldCount(int area) const {
  const Table* t = Find(area);
  return t != nullptr ? static_cast<int>(t->fields.size()) : 0;
}

std::string FakeTables::FieldName(int area, int index) const {
  const Table* t = Find(area);
  if (t == nullptr || index < 0 || index >= static_cast<int>(t->fields.size())) return "";
  return rt::Upper(t->fields[static_cast<size_t>(index)]);
}

rt::Value FakeTables::GetField(int area, int index) {
  Table& t = areas_.at(area);
  if (t.recno < 1 || t.recno > static_cast<int64_t>(t.rows.size())) {
    return rt::Value();  // the phantom record past the end
  }
  return t.rows[static_cast<size_t>(t.recno - 1)][static_cast<size_t>(index)];
}

Status FakeTables::PutField(int area, int index, const rt::Value& value) {
  Table& t = areas_.at(area);
  if (t.recno < 1 || t.recno > static_cast<int64_t>(t.rows.size())) {
    return Status::InvalidArgument("no current record");
  }
  rt::Value& slot = t.rows[static_cast<size_t>(t.recno - 1)][static_cast<size_t>(index)];
  if (slot.type() != value.type()) return Status::InvalidArgument("type mismatch");
  slot = value;
  return Status::OK();
}

bool FakeTables::Eof(int area) const {
  const Table* t = Find(area);
  return t == nullptr || t->recno > static_cast<int64_t>(t->rows.size());
}

bool FakeTables::Bof(int area) const {
  const Table* t = Find(area);
  return t == nullptr || t->rows.empty();
}

bool FakeTables::Found(int area) const {
  const Table* t = Find(area);
  return t != nullptr && t->found;
}

int64_t FakeTables::RecNo(int area) const {
  const Table* t = Find(area);
  return t != nullptr ? t->recno : 0;
}

int64_t FakeTables::RecCount(int area) const {
  const Table* t = Find(area);
  return t != nullptr ? static_cast<int64_t>(t->rows.size()) : 0;
}

}  // namespace qv::xb::testing
