#include "shell/messages/procedures.h"

#include "shell/messages/cancel.h"
#include "shell/messages/exit.h"
#include "shell/messages/msg.h"
#include "shell/messages/msg_dialogs.h"
#include "shell/messages/session_values.h"

namespace qv::shell {

using rt::Session;
using rt::Value;
using Args = std::span<Value>;

void RegisterMessageProcedures(tables::Context& ctx) {
  RegisterProgressTemplate(ctx.gui().templates());
  rt::ProcedureRegistry& registry = ctx.session().procedures();
  registry.Register("MSG", [&ctx](Session&, Args args) { return MsgInFrame(ctx, args); });
  registry.Register("SOON", [&ctx](Session&, Args args) {
    Soon(ctx, ArgAt(args, 0));
    return Value();
  });
  registry.Register("CANCELIT", [&ctx](Session&, Args args) -> Value {
    const Value& text = ArgAt(args, 0);
    return CancelIt(ctx, text.IsString() ? text.str() : std::string());
  });
  registry.Register("CANCEL_NOW", [&ctx](Session&, Args args) {
    return CancelNow(ctx, ArgAt(args, 0), ArgAt(args, 1));
  });
  registry.Register("FCANCEL", [&ctx](Session&, Args) -> Value { return FCancel(ctx); });
  registry.Register("CLEARIT", [&ctx](Session&, Args) -> Value { return ClearIt(ctx); });
  registry.Register("ERRMSG", [&ctx](Session&, Args args) -> Value {
    return ErrMsg(ctx, ArgAt(args, 0), ArgAt(args, 1));
  });
  registry.Register("CANCELNOW", [&ctx](Session&, Args) {
    AskExitNow(ctx);
    return Value();
  });
  registry.Register("NORMAL_DOWN", [&ctx](Session&, Args) {
    NormalDownInFrame(ctx);
    return Value();
  });
  registry.Register("ABOUT", [&ctx](Session&, Args) -> Value { return About(ctx); });
}

}  // namespace qv::shell
