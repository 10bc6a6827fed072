#include "shell/startup/procedures.h"

#include <cmath>
#include <cstdlib>
#include <span>
#include <string>

#include "platform/runtime/number.h"
#include "shell/messages/session_values.h"
#include "shell/startup/copy_file.h"
#include "shell/startup/dispatcher.h"
#include "shell/startup/handles.h"
#include "shell/startup/main_proc.h"
#include "shell/startup/menu_table.h"

namespace qv::shell {

namespace {

using rt::Session;
using rt::Value;
using Args = std::span<Value>;

std::string StringArg(Args args, size_t i) {
  const Value& arg = ArgAt(args, i);
  return arg.IsString() ? arg.str() : std::string();
}

// The menu BUILDMENU returns, as a handle.
class MenuObject : public rt::Object {
 public:
  explicit MenuObject(std::vector<gui::MenuItem> items) : items_(std::move(items)) {}
  std::string_view ClassName() const override { return "MENU"; }

 private:
  std::vector<gui::MenuItem> items_;
};

}  // namespace

std::shared_ptr<ShellState> RegisterStartupProcedures(tables::Context& ctx,
                                                      StartupOptions options) {
  auto state = std::make_shared<ShellState>();
  if (!options.getenv) options.getenv = [](const char* name) { return std::getenv(name); };
  state->options = std::move(options);
  rt::ProcedureRegistry& registry = ctx.session().procedures();
  registry.Register("MAIN", [&ctx, state](Session&, Args) -> Value {
    RunMain(ctx, *state);
    return Value();
  });
  registry.Register("ONPAINT", [&ctx](Session&, Args) -> Value {
    ctx.gui().RepaintMainWindow();
    return true;
  });
  registry.Register("COPYFILE", [&ctx, state](Session& session, Args args) -> Value {
    return CopyFile(session, ctx.fs(), *state,
                    CopyRequest{StringArg(args, 0), StringArg(args, 1), StringArg(args, 2),
                                StringArg(args, 3), MeterOf(ArgAt(args, 4))});
  });
  registry.Register("BUILDMENU", [&ctx, state](Session&, Args) -> Value {
    state->menu = BuildMenu(ctx, *state);
    return rt::ObjectRef(std::make_shared<MenuObject>(state->menu));
  });
  registry.Register("INDENT", [&ctx](Session& session, Args) -> Value {
    const double level = Indent(MenuField(ctx, "MEN_DESC"));
    return rt::Divide(rt::IntegerNumber(level * 2), rt::IntegerNumber(2),
                      session.settings().decimals);
  });
  registry.Register("CHECK_PASS", [&ctx, state](Session&, Args args) -> Value {
    return CheckPass(ctx, *state, StringArg(args, 0), ArgAt(args, 1));
  });
  registry.Register("STATUSLINE", [&ctx](Session&, Args args) -> Value {
    return StatusLine(ctx.gui(), StringArg(args, 0));
  });
  return state;
}

}  // namespace qv::shell
