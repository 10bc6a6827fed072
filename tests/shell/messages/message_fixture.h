// A workstation for the message routine's tests: a temporary drive C whose
// folder "data" is current (the data folder, where the message table
// lives), the headless front end writing into a string (instant notes), and
// a session with the real ui, table-layer and message routines registered
// and the session variables they read.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/fs/win_fs.h"
#include "platform/gui/script/script_gui.h"
#include "platform/runtime/session.h"
#include "tables/context.h"
#include "testing/testing.h"

namespace qv::shell::testing {

class MessageTest : public ::testing::Test {
 protected:
  MessageTest();

  tables::Context& ctx() { return *ctx_; }
  rdd::Workspace& ws() { return ctx_->workspace(); }

  // Queues a scripted answer ("yes", "button 103", "value 12") for the next dialog.
  void Queue(const char* answer);
  rt::Value Call(std::string_view name, std::initializer_list<rt::Value> args);

  // The transcript since the last Take(), one event per line, then forgotten.
  std::vector<std::string> Take();

  // The product's message table (media/cd/message.tbl) in the data folder.
  void WriteMessageTable();
  // A table in the data folder from a media source text ("field ...",
  // "rows ~", rows); name without extension.
  void WriteTable(const std::string& name, const std::string& source);
  // Opens a table of the data folder in a new area under its name.
  void Open(const std::string& name);
  // Host path of a file in the data folder.
  std::string DataFile(const std::string& name) const { return dir_.Sub("data/" + name); }

  qv::testing::TempDir dir_;
  std::ostringstream out_;
  gui::ScriptGui gui_;
  std::unique_ptr<fs::Env> env_;
  std::unique_ptr<fs::WinFs> fs_;
  rt::Session session_;
  std::unique_ptr<tables::Context> ctx_;
};

// Builds a transcript line from its fields.
std::string Line(std::initializer_list<std::string> fields);

}  // namespace qv::shell::testing
