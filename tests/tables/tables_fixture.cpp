#include "tables/tables_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/rdd/orders.h"
#include "platform/runtime/text.h"
#include "tables/procedures.h"
#include "ui/procedures.h"

namespace qv::tables::testing {

namespace {

const char* Str(const rt::Value& v) { return v.IsString() ? v.str().c_str() : ""; }

}  // namespace

void MakeDataFolders(const std::string& root) {
  std::filesystem::create_directories(root + "/data/1.co");
}

Workstation::Workstation(const std::string& root, const std::string& term_no, bool multi_user)
    : root_(root),
      gui_(gui::GuiOptions{}, gui::ScriptOptions{&out_, true, nullptr}),
      env_(fs::NewHostEnv()),
      session_(rt::Clock::Frozen(rt::Date::FromYmd(2026, 3, 4), 13 * 3600 + 5 * 60 + 9)) {
  MakeDataFolders(root);
  fs::DriveMap map;
  map.roots['C'] = root;
  map.current = 'C';
  map.current_dir = "data";
  fs_ = std::make_unique<fs::WinFs>(*env_, map);
  gui_.SetNotesInstant(true);
  session_.SetErrorHandler(&gui_);
  ctx_ = std::make_unique<Context>(session_, *fs_, gui_);
  ctx_->set_sleeper([this](std::chrono::milliseconds) {
    ++pauses_;
    if (on_pause_) on_pause_(pauses_);
  });
  ui::RegisterUiProcedures(session_.procedures(), gui_);
  RegisterTableProcedures(*ctx_);

  // Test double of the shell's MSG: records, answers questions from the
  // queue (else by their default), shows nothing.
  session_.procedures().Register("MSG", [this](rt::Session&, std::span<rt::Value> a) -> rt::Value {
    MsgCall call;
    call.number = a.size() > 0 && a[0].IsNumber() ? static_cast<int>(a[0].num()) : 0;
    call.text = a.size() > 1 ? Str(a[1]) : "";
    call.mode = a.size() > 2 ? Str(a[2]) : "";
    call.question = a.size() > 3 ? Str(a[3]) : "";
    msgs_.push_back(call);
    if (call.mode != "T") return rt::Value();
    if (!msg_answers_.empty()) {
      std::string answer = msg_answers_.front();
      msg_answers_.pop_front();
      return rt::Value(answer);
    }
    return rt::Value(call.question == "Y" ? "Y" : "N");
  });
  for (const char* name : {"NORMAL_DOWN", "ERRMSG"}) {
    session_.procedures().Register(name, [this, name](rt::Session& s, std::span<rt::Value>) {
      shell_calls_.push_back(name);
      if (std::string(name) == "NORMAL_DOWN") s.settings().exit_code = 0;
      return rt::Value(true);
    });
  }

  session_.DeclarePublic("XXCO") = rt::Value("1.co\\");
  session_.DeclarePublic("XXVCO") = rt::Value("1.co\\");
  session_.DeclarePublic("XXVTERMNO") = rt::Value(term_no);
  session_.DeclarePublic("XXVMLTUSR") = rt::Value(multi_user ? "YES" : "");
  session_.DeclarePublic("XXVDEAD") = rt::Value::Int(1);
  session_.DeclarePublic("DEBUGGER") = rt::Value(true);
  session_.DeclarePublic("XXVREADIT") = rt::Value(true);
  session_.DeclarePublic("XXVSTATUS") = rt::Value(std::string(13, ' '));
  session_.DeclarePublic("RESOURCE");
}

std::vector<std::string> Workstation::MsgTexts() const {
  std::vector<std::string> texts;
  for (const MsgCall& m : msgs_) texts.push_back(m.text);
  return texts;
}

std::vector<std::string> Workstation::Transcript(const std::string& event) const {
  std::vector<std::string> lines;
  std::istringstream in(out_.str());
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(event + "\t", 0) == 0) lines.push_back(line);
  }
  return lines;
}

namespace {

// Opens table exclusively in a new area under alias; the area stays selected.
void OpenExclusive(Workstation& w, const std::string& table, const char* alias) {
  rdd::UseArgs use;
  use.file = table;
  use.alias = alias;
  use.new_area = true;
  use.shared = false;
  ASSERT_TRUE(w.ws().Use(use).ok()) << table;
}

}  // namespace

void HoldFileLock(Workstation& w, const std::string& table) {
  rdd::UseArgs use;
  use.file = table;
  use.new_area = true;
  ASSERT_TRUE(w.ws().Use(use).ok()) << table;
  Result<bool> locked = w.ws().Area()->FLock();
  ASSERT_TRUE(locked.ok() && *locked);
}

void MakeTable(Workstation& w, const std::string& name, const std::vector<rdd::FieldSpec>& fields,
               const std::vector<std::vector<rt::Value>> rows) {
  Result<std::string> host = w.ws().Resolve(name);
  ASSERT_TRUE(host.ok()) << host.status().ToString();
  ASSERT_TRUE(rdd::Table::Create(w.ctx().env(), *host, fields).ok());
  if (rows.empty()) return;
  const int before = w.ws().current();
  OpenExclusive(w, name, "MAKETABLE");
  rdd::WorkArea* area = w.ws().Area();
  for (const auto& row : rows) {
    ASSERT_TRUE(area->Append().ok());
    for (size_t i = 0; i < row.size(); ++i) {
      ASSERT_TRUE(area->Put(static_cast<int>(i + 1), row[i]).ok());
    }
  }
  ASSERT_TRUE(w.ws().CloseArea().ok());
  (void)w.ws().SelectArea(before);
}

void MakeBag(Workstation& w, const std::string& table, const std::string& bag,
             const std::string& key) {
  const int before = w.ws().current();
  OpenExclusive(w, table, "MAKEBAG");
  Result<std::string> host = w.ws().Resolve(bag, rdd::kOrderBagExt);
  ASSERT_TRUE(host.ok());
  rdd::OrderSpec spec;
  spec.key_text = key;
  ASSERT_TRUE(rdd::OrderCreate(*w.ws().Area(), *host, spec, {}).ok());
  ASSERT_TRUE(w.ws().CloseArea().ok());
  (void)w.ws().SelectArea(before);
}

}  // namespace qv::tables::testing
