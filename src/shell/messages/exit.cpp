#include "shell/messages/exit.h"

#include "shell/messages/msg.h"
#include "shell/messages/session_values.h"

namespace qv::shell {

namespace {

constexpr int64_t kExitMessage = 234;
constexpr int64_t kAboutMessage = 238;

}  // namespace

void NormalDownInFrame(tables::Context& ctx) {
  rt::Session& session = ctx.session();
  session.DeclarePrivate("RESOURCE", "000" + TextVar(session, "XXVTERMNO"));
  rt::Call(session, "UNLOCKIT", {});
  session.settings().exit_code = 0;
}

void NormalDown(tables::Context& ctx) {
  rt::FrameGuard frame(ctx.session(), "NORMAL_DOWN");
  NormalDownInFrame(ctx);
}

void AskExitNow(tables::Context& ctx) {
  MsgArgs args;
  args.number = rt::Value::Int(kExitMessage);
  args.text = "Exit ZENTHOR Now. Y/N";
  args.mode = "T";
  const rt::Value answer = Msg(ctx, args);
  if (!answer.IsString() || answer.str() != "Y") return;
  NormalDown(ctx);
  throw rt::QuitRequest{ctx.session().settings().exit_code};
}

bool About(tables::Context& ctx) {
  MsgArgs args;
  args.number = rt::Value::Int(kAboutMessage);
  args.text = "A nice picture of TEAM ZENTHOR will be shown";
  args.mode = "F";
  Msg(ctx, args);
  return true;
}

}  // namespace qv::shell
