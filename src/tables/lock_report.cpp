#include "tables/lock_report.h"

#include <cstdio>

#include "platform/runtime/date.h"
#include "platform/runtime/number.h"
#include "platform/runtime/text.h"
#include "tables/notices.h"
#include "tables/session_state.h"

namespace qv::tables {

namespace {

constexpr char kEol[] = "\r\n";
constexpr char kSupportLine[] = "Please keep this report for your Quorvanta support contact.";

std::string RefusalText(std::string_view name) {
  return "LOCK required on " + std::string(name) +
         " ...but can NOT be granted...some Work Station must complete first";
}

// The routines that led here, from the one that called USIT outward.
std::string CallFrames(Context& ctx) {
  const bool methods = SwitchVar(ctx.session(), "DEBUGGER");
  const std::vector<rt::CallFrame> frames = ctx.session().Frames();
  size_t first = 0;
  while (first < frames.size() &&
         (frames[first].procedure == "USIT_ERR" || frames[first].procedure == "USIT")) {
    ++first;
  }
  std::string text;
  int number = 0;
  for (size_t i = first; i < frames.size(); ++i) {
    const rt::CallFrame& f = frames[i];
    if (f.procedure.find(':') != std::string::npos && !methods) continue;
    char count[16];
    std::snprintf(count, sizeof count, "%02d", ++number);
    text += std::string(count) + "  Called from " + f.procedure + "(" + std::to_string(f.line) +
            ")" + kEol;
  }
  return text;
}

std::string CompanyCode(rdd::Workspace& ws) {
  const int area = ws.AreaOf("COMPANY");
  if (area == 0) return std::string();
  Result<rt::Value> code = ws.Area(area)->Get("MSCO");
  return code.ok() && code->IsString() ? code->str() : std::string();
}

std::string CurrentTable(rdd::Workspace& ws) {
  rdd::WorkArea* area = ws.Area();
  if (area == nullptr) return "Current DataBase: ***NO DATABASE SELECTED******************";
  return "Current DataBase: " + area->alias() + "; Record # " + std::to_string(area->RecNo()) +
         " EOF:" + (area->Eof() ? "Y" : "N");
}

}  // namespace

std::string BuildLockReport(Context& ctx, std::string_view name) {
  rt::Session& session = ctx.session();
  std::string r = RefusalText(name) + kEol;
  r += CallFrames(ctx);
  r += kEol;
  r += "Run-time locking problem on: " + rt::Dtoc(session.clock().Today()) + ", " +
       session.clock().TimeText() + "   Company# " + CompanyCode(ctx.workspace()) + kEol;
  r += (MultiUser(session) ? "MULTI-USER Work Station " + TermNo(session) : "SINGLE-USER") +
       std::string(kEol);
  r += CurrentTable(ctx.workspace()) + kEol;
  // SetHandleCount(0) answers 0 on 32-bit Windows; nothing here limits handles.
  r += "Maximum file handles: ( SetHandleCount() ) " + rt::Str(0, 3, 0) + kEol;
  r += kEol;
  r += std::string(kSupportLine) + kEol;
  return r;
}

bool UsitErr(Context& ctx, std::string_view name) {
  const std::string report = BuildLockReport(ctx, name);
  if (Result<std::string> host = ctx.fs().Resolve(kLockLogName); host.ok()) {
    (void)fs::WriteWholeFile(ctx.env(), *host, report, true);
  }
  Inform(ctx, RefusalText(name));
  return false;
}

}  // namespace qv::tables
