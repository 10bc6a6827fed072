#include "tables/utilities.h"

#include "platform/gui/dialog.h"
#include "platform/runtime/number.h"
#include "platform/runtime/text.h"
#include "platform/xbase/expr.h"
#include "platform/xbase/value_text.h"
#include "tables/notices.h"
#include "tables/session_state.h"
#include "tables/standard_tables.h"
#include "tables/usit.h"
#include "ui/dialog_helpers.h"
#include "ui/text_helpers.h"

namespace qv::tables {

namespace {

void Show(Context& ctx, std::string_view text) {
  ui::MsgInformation(ctx.gui(), ctx.session(), text);
}

// "NAME" + its line 5 wide, for the routine n frames out from MG's caller.
std::string Caller(const std::vector<rt::CallFrame>& frames, size_t n) {
  if (n >= frames.size()) return std::string(5, ' ');
  return frames[n].procedure + rt::Str(frames[n].line, 5, 0);
}

std::string CurrentAlias(Context& ctx) { return ctx.workspace().Alias(); }

// Runs a code block with the dialog as its argument; NIL and non-blocks do
// nothing and count as true.
bool RunBlock(Context& ctx, const rt::Value& block, const rt::Value& dialog) {
  if (!block.IsBlock()) return true;
  rt::Value arg = dialog;
  const rt::Value result = block.block()->Call(ctx.session(), std::span<rt::Value>(&arg, 1));
  return !result.IsLogical() || result.logical();
}

std::string FieldText(rdd::WorkArea& area, std::string_view field) {
  Result<rt::Value> v = area.Get(field);
  return v.ok() && v->IsString() ? v->str() : std::string();
}

}  // namespace

std::string FillIt(std::string_view text, int width) {
  std::string out(text.substr(0, width < 0 ? 0 : static_cast<size_t>(width)));
  out.resize(width < 0 ? 0 : static_cast<size_t>(width), ' ');
  return out;
}

void EraseFl(Context& ctx, std::string_view pattern) { (void)ctx.fs().EraseMatching(pattern); }

bool Mg(Context& ctx, const rt::Value& value) {
  // The evaluated expression may select another area; the note must not.
  rdd::Workspace& ws = ctx.workspace();
  const int before = ws.current();
  if (value.IsNil()) {
    std::vector<rt::CallFrame> frames = ctx.session().Frames();
    size_t first = 0;
    while (first < frames.size() && frames[first].procedure == "MG") ++first;
    Show(ctx, "Debug...Called from " + Caller(frames, first) + " " + Caller(frames, first + 1));
  } else if (value.IsString() && !value.str().empty() && value.str()[0] == '.') {
    const rt::Value result = xb::EvalText(ctx.host(), ui::Dots(value.str().substr(1)));
    Show(ctx, "Debug..." + xb::ValueText(result));
  } else if (value.IsString()) {
    Show(ctx, ui::Dots(value.str()));
  } else {
    Show(ctx, xb::ValueText(value));
  }
  if (ws.current() != before) (void)ws.SelectArea(before);
  return true;
}

bool ReadIt(Context& ctx, const rt::Value& dialog, int record, bool centred, const rt::Value& init,
            const rt::Value& valid) {
  rt::Session& session = ctx.session();
  rdd::Workspace& ws = ctx.workspace();
  const std::string remembered = CurrentAlias(ctx);
  const bool track = SwitchVar(session, "XXVREADIT");
  std::string process;
  const int before = ws.current();
  if (SelectIt(ctx, "readit") || Usit(ctx, "readit", rt::Value(TextVar(session, "XXVCO")))) {
    if (rdd::WorkArea* readit = ws.Area(ws.AreaOf("READIT"))) {
      (void)readit->GoTo(record < 0 ? 0 : static_cast<uint32_t>(record));
      process = FieldText(*readit, "PROCESS");
      const std::string preprocess = FieldText(*readit, "PREPROCESS");
      if (!rt::AllTrim(preprocess).empty() && track)
        SessionVar(session, "PROCESSNO") = rt::Value(preprocess);
    }
  }
  const auto reselect = [&] {
    if (!remembered.empty() && ws.AreaOf(remembered) > 0) {
      (void)ws.SelectArea(ws.AreaOf(remembered));
    } else if (remembered.empty()) {
      (void)ws.SelectArea(before);
    }
  };
  reselect();
  if (gui::Dialog* d = gui::DialogOf(dialog)) {
    d->centred = centred;
    if (init.IsBlock())
      d->on_init = [&ctx, init, dialog](gui::Dialog&) { RunBlock(ctx, init, dialog); };
    if (valid.IsBlock()) {
      d->valid = [&ctx, valid, dialog](gui::Dialog&) { return RunBlock(ctx, valid, dialog); };
    }
    ctx.gui().RunModal(*d);
  }
  if (!rt::AllTrim(process).empty() && track) SessionVar(session, "PROCESSNO") = rt::Value(process);
  reselect();
  return true;
}

rt::Value CheckIt(Context& ctx, const rt::Value& condition, std::string_view text, double seconds) {
  if (condition.IsLogical() && !condition.logical()) TimedNote(ctx, text, seconds, "Alert");
  return condition;
}

rt::Value CheckData(Context& ctx, std::string_view expression, std::string_view message) {
  const rt::Value value = xb::EvalText(ctx.host(), expression);
  if (value.IsLogical() && !value.logical()) Inform(ctx, message, 208);
  return value;
}

bool DbZap(Context& ctx) {
  rdd::WorkArea* area = ctx.workspace().Area();
  if (area == nullptr) return true;
  (void)rt::RunWithRetry(
      ctx.session(), [&] { return area->table().Zap(); },
      [&](const Status& s) {
        rt::ErrorInfo info;
        info.description = "Zap error";
        info.operation = area->alias() + ": " + s.ToString();
        info.subsystem = "DBFCDX";
        return info;
      });
  (void)area->GoTop();
  return true;
}

bool MAlias(Context& ctx) {
  rdd::WorkArea* area = ctx.workspace().Area();
  Show(ctx, CurrentAlias(ctx) + " Record: " + rt::Str(area ? area->RecNo() : 0, 10, 0));
  return true;
}

bool MgAlias(Context& ctx) { return Mg(ctx, rt::Value("look at " + CurrentAlias(ctx))); }

bool MgD(Context& ctx) {
  Show(ctx, "look at " + CurrentAlias(ctx));
  return true;
}

}  // namespace qv::tables
