#include "shell/messages/msg.h"

#include "platform/runtime/number.h"
#include "platform/runtime/text.h"
#include "shell/messages/area_keeper.h"
#include "shell/messages/message_table.h"
#include "shell/messages/msg_dialogs.h"
#include "shell/messages/session_values.h"
#include "ui/dialog_helpers.h"
#include "ui/msg_get.h"
#include "ui/msg_wait.h"

namespace qv::shell {

namespace {

constexpr int kRepaintRounds = 50;
constexpr int64_t kDefaultLine = 11;
constexpr int64_t kDefaultAlertSeconds = 2;

// The mode test of xBase: the mode is contained in the letters ("" in any).
bool ModeIn(std::string_view mode, std::string_view letters) {
  return letters.find(mode) != std::string_view::npos;
}

// Step 6: trimmed, and cut before a "Y/N" that becomes a question mark.
std::string ShownText(std::string_view message) {
  std::string_view text = rt::AllTrim(message);
  const size_t yn = text.find("Y/N");
  if (yn == std::string_view::npos) return std::string(text);
  return std::string(rt::RTrim(text.substr(0, yn))) + "?";
}

// The caller's text when the number is 0: NIL counts as "".
std::string CallerText(const rt::Value& text) {
  if (text.IsString()) return text.str();
  if (text.IsNil()) return std::string();
  rt::ErrorInfo info;
  info.description = "Argument error";
  info.operation = "MSG";
  info.gen_code = 1;
  throw rt::RuntimeError(info);
}

struct Mode {
  std::string letter;  // ANSWER
  std::string que;     // QUE
};

// Step 5, written back into the private variables so callees see it too.
Mode ApplyDefaults(rt::Session& session, std::span<const rt::Value> args) {
  Mode m;
  m.letter = ArgAt(args, 2).IsString() ? ArgAt(args, 2).str() : "F";
  m.que = ArgAt(args, 3).IsString() ? ArgAt(args, 3).str() : " ";
  const rt::Value& line = ArgAt(args, 5);
  const bool line_ok = line.IsNumber() && line.num() >= 1 && line.num() <= 22;
  session.Assign("ANSWER", m.letter);
  session.Assign("QUE", m.que);
  session.Assign("MLINE", line_ok ? line : rt::Value::Int(kDefaultLine));
  return m;
}

rt::Value Question(tables::Context& ctx, const std::string& text, const Mode& m,
                   const rt::Value& value) {
  rt::Session& session = ctx.session();
  if (!value.IsNil()) {
    ui::MsgGetRequest request;
    request.title = text;
    request.prompt = m.que;
    request.font = FontVar(session, "OFONTMS12");
    rt::Value edited = value;
    if (!ui::MsgGet(ctx.gui(), request, edited)) return rt::Value();
    return edited;
  }
  bool default_yes;
  if (XbaseEq(session, m.que, "Y")) {
    default_yes = true;
  } else if (XbaseEq(session, m.que, "N") || XbaseEq(session, m.que, " ")) {
    default_yes = false;
  } else {
    return rt::Value();
  }
  return rt::Value(ctx.gui().AskYesNo(text, default_yes) ? "Y" : "N");
}

// Step 8.
rt::Value ActByMode(tables::Context& ctx, const std::string& text, const Mode& m,
                    const rt::Value& value) {
  rt::Session& session = ctx.session();
  gui::Gui& gui = ctx.gui();
  if (ModeIn(m.letter, "T")) return Question(ctx, text, m, value);
  if (ModeIn(m.letter, "F")) {
    ui::MsgInformation(gui, session, text);
    return rt::Value();
  }
  if (ModeIn(m.letter, "B")) {
    gui.Beep();
    ui::MsgInformation(gui, session, text);
    return rt::Value();
  }
  if (ModeIn(m.letter, "P")) {
    const rt::Value seconds = rt::AllTrim(m.que).empty() ? rt::Value::Int(kDefaultAlertSeconds)
                                                         : rt::Value(rt::Val(m.que));
    ui::MsgWait(gui, ui::WaitNote{rt::Value(text), rt::Value("Alert"), seconds, rt::Value()});
    return rt::Value();
  }
  if (ModeIn(m.letter, "H")) return rt::Value(RunChoiceDialog(ctx, text));
  if (ModeIn(m.letter, "J")) return rt::Value();
  if (ModeIn(m.letter, "DX")) {
    ShowProgressDialog(ctx);
  } else if (ModeIn(m.letter, "C")) {
    OpenCancelDialog(ctx);
  }
  return rt::Value();
}

}  // namespace

rt::Value MsgInFrame(tables::Context& ctx, std::span<const rt::Value> args) {
  rt::Session& session = ctx.session();
  rt::BindParameters(session, args,
                     {"NUM", "EMESSAGE", "ANSWER", "QUE", "OPTIONS", "MLINE", "NLEN"});
  session.DeclarePublic("ODLGMSG");
  session.DeclarePublic("EMESS");
  session.Assign("ODLGMSG", rt::Value());
  for (int i = 0; i < kRepaintRounds; ++i) ctx.gui().ProcessPendingMessages();

  AreaKeeper keeper(ctx.workspace());
  // Step 9 also when a dialog unwinds: the caller's area comes back and no
  // MESSAGE table is left open, whichever way MSG ends.
  struct Leave {
    AreaKeeper& keeper;
    ~Leave() {
      keeper.CloseMessageTable();
      keeper.Reselect();
    }
  } leave{keeper};

  const rt::Value& number = ArgAt(args, 0);
  const double num = number.IsNumber() ? number.num() : 0;
  std::string message = num != 0 ? NumberedMessage(ctx, keeper, num) : CallerText(ArgAt(args, 1));
  const Mode mode = ApplyDefaults(session, args);
  message = ShownText(message);
  session.Assign("EMESS", message);
  return ActByMode(ctx, message, mode, ArgAt(args, 4));
}

rt::Value Msg(tables::Context& ctx, const MsgArgs& args, int line) {
  rt::FrameGuard frame(ctx.session(), "MSG", line);
  const rt::Value positional[] = {args.number, args.text, args.mode,  args.question,
                                  args.value,  args.line, args.length};
  return MsgInFrame(ctx, positional);
}

void Soon(tables::Context& ctx, const rt::Value& text) {
  MsgArgs args;
  args.text = "Coming Soon..." + (text.IsString() ? text.str() : std::string());
  args.mode = "F";
  Msg(ctx, args);
}

}  // namespace qv::shell
