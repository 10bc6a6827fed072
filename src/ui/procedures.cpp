#include "ui/procedures.h"

#include "platform/runtime/session.h"
#include "ui/colors.h"
#include "ui/dialog_helpers.h"
#include "ui/msg_get.h"
#include "ui/msg_wait.h"
#include "ui/text_helpers.h"

namespace qv::ui {

namespace {

using rt::Session;
using rt::Value;
using Args = std::span<Value>;

const Value& Arg(Args args, size_t i) { return rt::ArgAt(args, i); }

std::string StringArg(Args args, size_t i) {
  return Arg(args, i).IsString() ? Arg(args, i).str() : std::string();
}

// The arguments a routine needs as text: anything else is the caller's fault.
[[noreturn]] void ArgumentError(std::string_view routine) {
  rt::ErrorInfo info;
  info.description = "Argument error";
  info.operation = std::string(routine);
  info.gen_code = 1;
  throw rt::RuntimeError(info);
}

void RegisterDialogs(rt::ProcedureRegistry& registry, gui::Gui& gui) {
  registry.Register("MSGGET", [&gui](Session& session, Args args) -> Value {
    MsgGetRequest request;
    request.title = StringArg(args, 0);
    request.prompt = StringArg(args, 1);
    request.picture = StringArg(args, 5);
    if (const Value* f = session.Find("OFONTMS12")) {
      if (const gui::Font* font = gui::FontOf(*f)) request.font = *font;
    }
    if (args.size() < 3) return false;
    return MsgGet(gui, request, args[2]);
  });
  registry.Register("MSGGETCH", [&gui](Session&, Args args) -> Value {
    gui::Dialog* dialog = gui::DialogOf(Arg(args, 1));
    if (dialog == nullptr || args.size() < 3) return true;
    bool cancel = args[2].IsLogical() && args[2].logical();
    MsgGetCh(gui, *dialog, cancel);
    args[2] = cancel;
    return true;
  });
  registry.Register("MSGGETSTART", [](Session&, Args args) -> Value {
    if (gui::Dialog* dialog = gui::DialogOf(Arg(args, 0))) MsgGetStart(*dialog, StringArg(args, 1));
    return true;
  });
  registry.Register("MSGINFORMATION", [&gui](Session& session, Args args) -> Value {
    return MsgInformation(gui, session, StringArg(args, 0));
  });
  registry.Register("MSGWAIT", [&gui](Session&, Args args) -> Value {
    MsgWait(gui, WaitNote{Arg(args, 0), Arg(args, 1), Arg(args, 2), Arg(args, 3)});
    return Value();
  });
  registry.Register("HHCTRL",
                    [&gui](Session& session, Args) -> Value { return HhCtrl(gui, session); });
  registry.Register("LISTSELALL", [&gui](Session&, Args args) -> Value {
    const gui::ControlHandle* list = gui::ControlOf(Arg(args, 0));
    const Value& items = Arg(args, 1);
    const size_t count = items.IsArray() ? items.array()->items.size() : 0;
    bool flag = Arg(args, 2).IsLogical() ? Arg(args, 2).logical() : true;
    if (list != nullptr && list->control() != nullptr) {
      ListSelAll(gui, list->dialog(), *list->control(), count, flag);
    } else {
      flag = !flag;  // no list to show it on; the toggle still happens
    }
    if (args.size() >= 3) args[2] = flag;
    return true;
  });
}

void RegisterHelpers(rt::ProcedureRegistry& registry) {
  for (std::string_view name : kColorSchemeNames) {
    registry.Register(name, [](Session&, Args) -> Value { return Value(""); });
  }
  registry.Register("Y_N", [](Session&, Args args) -> Value {
    if (!Arg(args, 0).IsLogical()) ArgumentError("Y_N");
    return YesNo(Arg(args, 0).logical());
  });
  registry.Register("T_F",
                    [](Session&, Args args) -> Value { return TrueFalse(StringArg(args, 0)); });
  registry.Register("PROPER", [](Session&, Args args) -> Value {
    if (!Arg(args, 0).IsString()) ArgumentError("PROPER");
    return Proper(Arg(args, 0).str());
  });
  registry.Register("DOTS", [](Session&, Args args) -> Value {
    if (!Arg(args, 0).IsString()) ArgumentError("DOTS");
    return Dots(Arg(args, 0).str());
  });
}

}  // namespace

void RegisterUiProcedures(rt::ProcedureRegistry& registry, gui::Gui& gui) {
  RegisterEntryTemplates(gui.templates());
  RegisterDialogs(registry, gui);
  RegisterHelpers(registry);
}

}  // namespace qv::ui
