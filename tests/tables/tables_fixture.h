// A workstation for table-layer tests: a temporary drive C with the data
// folder "C:\data" current and the company folder "1.co" below it, real
// files through the host Env, the headless front end (instant notes) and a
// session with the session variables start-up would create. MSG and the
// shell routines the layer calls by name are recording test doubles.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/fs/win_fs.h"
#include "platform/gui/script/script_gui.h"
#include "platform/rdd/dbf_format.h"
#include "platform/runtime/session.h"
#include "tables/context.h"
#include "testing/testing.h"

namespace qv::tables::testing {

// One call of the MSG stand-in.
struct MsgCall {
  int number = 0;
  std::string text;
  std::string mode;
  std::string question;
};

class Workstation {
 public:
  // root: the host folder of drive C (shared by workstations of one test).
  explicit Workstation(const std::string& root, const std::string& term_no = "1",
                       bool multi_user = false);

  Context& ctx() { return *ctx_; }
  rt::Session& session() { return session_; }
  rdd::Workspace& ws() { return ctx_->workspace(); }
  gui::ScriptGui& gui() { return gui_; }

  // Answers the MSG stand-in gives to its next questions ("Y"/"N"); without
  // one a question gets its default.
  void AnswerMsg(const std::string& answer) { msg_answers_.push_back(answer); }
  const std::vector<MsgCall>& msgs() const { return msgs_; }
  // Texts of MSG calls, in order.
  std::vector<std::string> MsgTexts() const;
  // Transcript lines of the headless front end starting with event.
  std::vector<std::string> Transcript(const std::string& event) const;
  // Routines called by name that this layer does not own (NORMAL_DOWN, ERRMSG).
  const std::vector<std::string>& shell_calls() const { return shell_calls_; }

  // Each pause of a lock wait calls this (instead of sleeping) with the
  // number of pauses so far; a test lets it act as another workstation.
  void OnPause(std::function<void(int)> hook) { on_pause_ = std::move(hook); }
  int pauses() const { return pauses_; }

  // Host path of a path below drive C ("data/1.co/INVEN.1").
  std::string Host(const std::string& rel) const { return root_ + "/" + rel; }

 private:
  std::string root_;
  std::ostringstream out_;
  gui::ScriptGui gui_;
  std::unique_ptr<fs::Env> env_;
  std::unique_ptr<fs::WinFs> fs_;
  rt::Session session_;
  std::unique_ptr<Context> ctx_;
  std::vector<MsgCall> msgs_;
  std::deque<std::string> msg_answers_;
  std::vector<std::string> shell_calls_;
  std::function<void(int)> on_pause_;
  int pauses_ = 0;
};

// Makes drive C's folders: data and data/1.co.
void MakeDataFolders(const std::string& root);

// Creates a table (Windows path relative to the data folder, e.g.
// "1.co\inven") with these fields and rows (values by field order), using
// ws's engine. Leaves no area open.
void MakeTable(Workstation& w, const std::string& name, const std::vector<rdd::FieldSpec>& fields,
               const std::vector<std::vector<rt::Value>> rows = {});
// Opens the table (as the program names it) shared in w's next free area
// and takes its file lock: another workstation holding it.
void HoldFileLock(Workstation& w, const std::string& table);

// Adds a tag (named after the bag) keyed on key to the bag file, e.g.
// "1.co\inven" (".cdx" added), on table.
void MakeBag(Workstation& w, const std::string& table, const std::string& bag,
             const std::string& key);

}  // namespace qv::tables::testing
