// Small menu and message tables written by tests, for the start-up tests and
// the program's process tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/fs/env.h"

namespace qv::shell::testing {

// One menu row as the table holds it.
struct Row {
  std::string caption;
  std::string message;
  std::string action;
  std::string key = " ";
};

// Creates the menu table at host path dbf (four fields, C 40 / 60 / 120 / 1).
void WriteMenuTable(fs::Env& env, const std::string& dbf, const std::vector<Row>& rows);

// Creates a message table at host path dbf whose record n has TITLE
// titles[n] (an expression); records without one are empty.
void WriteMessageTable(fs::Env& env, const std::string& dbf,
                       const std::map<int, std::string>& titles);

}  // namespace qv::shell::testing
