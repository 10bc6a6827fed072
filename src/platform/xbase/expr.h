// The xBase expression engine's front door: compile text once, evaluate it
// many times (index keys, filters, menu actions, message texts). Names are
// resolved when evaluated: a field of the selected work area first, then a
// session variable; library functions are bound at compile time, other
// calls go to the session's procedure registry by name.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/fs/status.h"
#include "platform/runtime/error.h"
#include "platform/runtime/session.h"
#include "platform/runtime/value.h"
#include "platform/xbase/file_access.h"
#include "platform/xbase/parser.h"
#include "platform/xbase/table_access.h"

namespace qv::xb {

struct Program;

// What evaluation reaches: the session (variables, procedures, settings,
// clock) and, when present, the work areas and the file system. Code blocks
// made while evaluating keep a pointer to the Host.
// REQUIRES: the Host outlives every block made through it.
struct Host {
  rt::Session& session;
  TableAccess* tables = nullptr;  // none: no fields; EOF() true, RECNO() 0 ...
  FileAccess* files = nullptr;    // none: FILE() false, DIRECTORY() empty
  int eval_depth = 0;             // evaluation nesting now running; the evaluator's guard
};

class Expr {
 public:
  // InvalidArgument naming the text and the 1-based position of the fault.
  static Result<Expr> Compile(std::string_view text, ParseMode mode = ParseMode::kExpression);

  // Throws rt::RuntimeError (description, and the text with the position of
  // the fault as operation) when evaluation fails; rt::QuitRequest when a
  // called routine's error was answered Quit. Never crashes on bad input.
  rt::Value Eval(Host& host) const;

  const std::string& text() const;

 private:
  explicit Expr(std::shared_ptr<const Program> program) : program_(std::move(program)) {}
  std::shared_ptr<const Program> program_;
};

// The ErrorInfo of text that does not compile, for a caller that reports it
// through the run-time error dialog.
rt::ErrorInfo CompileErrorInfo(const Status& status);

// Compile and evaluate once; a compile fault becomes an rt::RuntimeError.
rt::Value EvalText(Host& host, std::string_view text);

}  // namespace qv::xb
