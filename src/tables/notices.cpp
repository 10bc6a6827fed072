#include "tables/notices.h"

#include "platform/runtime/procedures.h"
#include "ui/msg_wait.h"

namespace qv::tables {

namespace {

rt::Value CallMsg(Context& ctx, int number, std::string_view text, std::string_view mode,
                  std::string_view question) {
  return rt::Call(ctx.session(), "MSG",
                  {rt::Value::Int(number), rt::Value(text), rt::Value(mode), rt::Value(question)});
}

}  // namespace

void Inform(Context& ctx, std::string_view text, int number) {
  CallMsg(ctx, number, text, "F", " ");
}

void ProgressNote(Context& ctx, std::string_view text, int number) {
  CallMsg(ctx, number, text, "D", " ");
}

bool Ask(Context& ctx, std::string_view text, bool default_yes, int number) {
  const rt::Value answer = CallMsg(ctx, number, text, "T", default_yes ? "Y" : "N");
  return answer.IsString() && answer.str() == "Y";
}

void TimedNote(Context& ctx, std::string_view text, double seconds, std::string_view title) {
  ui::WaitNote note;
  note.text = rt::Value(text);
  if (!title.empty()) note.title = rt::Value(title);
  note.seconds = rt::Value::Num(seconds, 10, seconds == static_cast<int>(seconds) ? 0 : 2);
  ui::MsgWait(ctx.gui(), note);
}

bool KeepWaiting(Context& ctx, int& attempts, int& seconds) {
  seconds += attempts;
  if (!Ask(ctx, "Locked for more than" + std::to_string(seconds) + " seconds...continue waiting?",
           true)) {
    return false;
  }
  attempts = 0;
  return true;
}

void WaitStep::Finish() {
  const auto elapsed = std::chrono::steady_clock::now() - start_;
  if (elapsed < kMinWaitStep) {
    ctx_.Sleep(std::chrono::duration_cast<std::chrono::milliseconds>(kMinWaitStep - elapsed));
  }
}

}  // namespace qv::tables
