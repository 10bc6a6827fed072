#include "shell/messages/cancel.h"

#include "platform/runtime/number.h"
#include "shell/messages/msg.h"
#include "shell/messages/session_values.h"
#include "ui/msg_wait.h"

namespace qv::shell {

namespace {

constexpr double kCounterRow = 3;
constexpr double kCounterColumn = 10;
constexpr int kCounterWidth = 6;
constexpr int kCounterWipe = 13;  // blanks after the counter

std::string Counter(std::string_view label, double position, double total) {
  return std::string(label) + rt::Str(position, kCounterWidth, 0) + "/" +
         rt::Str(total, kCounterWidth, 0) + std::string(kCounterWipe, ' ');
}

double NumberOr0(const rt::Value& value) { return value.IsNumber() ? value.num() : 0; }

// CMXKEYNO and the record count of the selected table; 0 and 0 without one.
std::string SelectedTableCounter(tables::Context& ctx) {
  rdd::WorkArea* area = ctx.workspace().Area();
  if (area == nullptr) return RecordCounter(0, 0);
  const double key_position = NumberOr0(rt::Call(ctx.session(), "CMXKEYNO", {}));
  Result<uint32_t> count = area->RecCount();
  return RecordCounter(key_position, count.ok() ? count.value() : 0);
}

}  // namespace

std::string ItemCounter(double item, double items) { return Counter("Item", item, items); }

std::string RecordCounter(double key_position, double record_count) {
  return Counter("Record:", key_position, record_count);
}

bool CancelIt(tables::Context& ctx, std::string_view text) {
  rt::Session& session = ctx.session();
  if (!SwitchVar(session, "XCANCEL") || ctx.gui().KeyDown(gui::Key::kEscape)) return false;
  if (!XbaseEq(session, text, "NO MESSAGE")) {
    MsgArgs args;
    args.text = "Cancelled..." + std::string(text);
    args.mode = "F";
    Msg(ctx, args);
  }
  return true;
}

rt::Value CancelNow(tables::Context& ctx, const rt::Value& item, const rt::Value& items) {
  rt::Session& session = ctx.session();
  ctx.gui().ProcessPendingMessages();
  if (std::shared_ptr<gui::Dialog> dialog = DialogVar(session, "OKANCEL")) {
    const std::string counter =
        item.IsNumber() ? ItemCounter(item.num(), NumberOr0(items)) : SelectedTableCounter(ctx);
    dialog->Say(kCounterRow, kCounterColumn, counter, gui::kNavy, FontVar(session, "OFONTMS12"));
  }
  const rt::Value* cancel = session.Find("XCANCEL");
  return cancel != nullptr ? *cancel : rt::Value(false);
}

bool FCancel(tables::Context& ctx) {
  rt::Session& session = ctx.session();
  gui::Gui& gui = ctx.gui();
  // The toolkit gives a dialog the focus as it shows it; hiding or closing
  // needs no focus first.
  if (std::shared_ptr<gui::Dialog> progress = DialogVar(session, "OCONTINUE")) {
    gui.HideDialog(*progress);
  }
  if (std::shared_ptr<gui::Dialog> cancel = DialogVar(session, "OKANCEL")) {
    gui.CloseDialog(*cancel);
  }
  if (HoldsMainWindow(session)) {
    gui.FocusMainWindow();
    gui.RepaintMainWindow();
  }
  return true;
}

bool ClearIt(tables::Context& ctx) {
  rt::Session& session = ctx.session();
  if (DialogVar(session, "OCONTINUE") != nullptr || DialogVar(session, "OKANCEL") != nullptr) {
    FCancel(ctx);
  }
  return true;
}

bool ErrMsg(tables::Context& ctx, const rt::Value& text, const rt::Value& seconds) {
  ctx.gui().Beep();
  const rt::Value shown_for = seconds.IsNil() ? rt::Value(rt::LiteralNumber("0.20")) : seconds;
  ui::MsgWait(ctx.gui(), ui::WaitNote{text, rt::Value("Alert"), shown_for, rt::Value()});
  return true;
}

}  // namespace qv::shell
