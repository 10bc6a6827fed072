#include "message_fixture.h"

#include <filesystem>

#include "platform/gui/answers.h"
#include "shell/messages/procedures.h"
#include "table_source.h"
#include "table_writer.h"
#include "tables/procedures.h"
#include "ui/procedures.h"

namespace qv::shell::testing {

MessageTest::MessageTest()
    : gui_(gui::GuiOptions{}, gui::ScriptOptions{&out_, true, nullptr}),
      env_(fs::NewHostEnv()),
      session_(rt::Clock::Frozen(rt::Date::FromYmd(2026, 3, 4), 10 * 3600)) {
  std::filesystem::create_directories(dir_.Sub("data"));
  fs::DriveMap map;
  map.roots['C'] = dir_.path();
  map.current = 'C';
  map.current_dir = "data";
  fs_ = std::make_unique<fs::WinFs>(*env_, map);
  gui_.SetNotesInstant(true);
  session_.SetErrorHandler(&gui_);
  ctx_ = std::make_unique<tables::Context>(session_, *fs_, gui_);
  ui::RegisterUiProcedures(session_.procedures(), gui_);
  tables::RegisterTableProcedures(*ctx_);
  RegisterMessageProcedures(*ctx_);
  // What start-up creates, as far as these routines read it.
  session_.DeclarePublic("XXCO") = rt::Value("");
  session_.DeclarePublic("XXVCO") = rt::Value("");
  session_.DeclarePublic("XXVTERMNO") = rt::Value("1");
  session_.DeclarePublic("XXVMLTUSR") = rt::Value("");
  session_.DeclarePublic("XXVDEAD") = rt::Value::Int(1);
  session_.DeclarePublic("DEBUGGER") = rt::Value(true);
  for (const char* name : {"XCANCEL", "OCONTINUE", "OCONTGET", "OKANCEL", "OWNDMAIN"}) {
    session_.DeclarePublic(name);  // false
  }
}

void MessageTest::Queue(const char* answer) {
  gui_.answers().Push(gui::ParseAnswer(answer).value());
}

rt::Value MessageTest::Call(std::string_view name, std::initializer_list<rt::Value> args) {
  return rt::Call(session_, name, args);
}

std::vector<std::string> MessageTest::Take() {
  std::vector<std::string> lines;
  std::istringstream in(out_.str());
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  out_.str("");
  return lines;
}

void MessageTest::WriteMessageTable() {
  const std::string text = qv::testing::ReadHostFile(QV_MEDIA_DIR "/cd/message.tbl");
  ASSERT_FALSE(text.empty());
  Result<media::TableSource> source = media::ParseTableSource(text, "cd/message.tbl");
  ASSERT_TRUE(source.ok()) << source.status().ToString();
  ASSERT_TRUE(
      media::WriteTable(*env_, *source, DataFile("message.dbf"), rt::Date::FromYmd(2026, 1, 1))
          .ok());
}

void MessageTest::WriteTable(const std::string& name, const std::string& source_text) {
  Result<media::TableSource> source = media::ParseTableSource(source_text, "test/" + name + ".tbl");
  ASSERT_TRUE(source.ok()) << source.status().ToString();
  ASSERT_TRUE(
      media::WriteTable(*env_, *source, DataFile(name + ".dbf"), rt::Date::FromYmd(2026, 1, 1))
          .ok());
}

void MessageTest::Open(const std::string& name) {
  rdd::UseArgs use;
  use.file = name;
  use.new_area = true;
  ASSERT_TRUE(ws().Use(use).ok()) << name;
}

std::string Line(std::initializer_list<std::string> fields) {
  std::string line;
  for (const std::string& f : fields) line += (line.empty() ? "" : "\t") + f;
  return line;
}

}  // namespace qv::shell::testing
