#include "shell/messages/message_table.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/runtime/number.h"
#include "platform/runtime/text.h"
#include "platform/xbase/expr.h"

namespace qv::shell {

namespace {

// TITLE of the record, trailing blanks removed; "" when the table did not
// open or has no such record or field.
std::string ReadTitle(tables::Context& ctx, AreaKeeper& keeper, double number) {
  // A MESSAGE area still open would make USIT reopen it and release a
  // semaphore under the caller's RESOURCE; closing it first keeps RESOURCE.
  keeper.CloseMessageTable();
  const rt::Value opened = rt::Call(ctx.session(), "USIT", {rt::Value("message"), rt::Value("")});
  rdd::Workspace& ws = ctx.workspace();
  if (!opened.IsLogical() || !opened.logical() || ws.Alias() != "MESSAGE") return std::string();
  rdd::WorkArea* area = ws.Area();
  const double recno = std::trunc(number);
  if (recno < 1 || recno > std::numeric_limits<uint32_t>::max()) return std::string();
  if (!area->GoTo(static_cast<uint32_t>(recno)).ok() || area->Eof()) return std::string();
  Result<rt::Value> title = area->Get("TITLE");
  if (!title.ok() || !title->IsString()) return std::string();
  return std::string(rt::RTrim(title->str()));
}

std::string EvaluateTitle(tables::Context& ctx, const std::string& title, double number) {
  for (;;) {
    rt::ErrorInfo info;
    Result<xb::Expr> expr = xb::Expr::Compile(title);
    if (!expr.ok()) {
      info = xb::CompileErrorInfo(expr.status());
    } else {
      try {
        rt::Value text = expr->Eval(ctx.host());
        if (text.IsString()) return text.str();
        info.description = "Argument error";
        info.operation = "message " + std::string(rt::AllTrim(rt::Str(number, 10, 0))) +
                         " is not a text: " + title;
        info.gen_code = 1;
      } catch (const rt::RuntimeError& error) {
        info = error.info();
      }
      info.can_retry = true;  // a routine the text calls may succeed on a second run
    }
    info.can_default = true;
    if (rt::RaiseOrQuit(ctx.session(), info) == rt::ErrorChoice::kDefault) {
      return NeedsDescription(number);
    }
  }
}

}  // namespace

std::string NeedsDescription(double number) {
  return std::string(kNeedsDescription) + rt::Str(number, 10, 0);
}

std::string NumberedMessage(tables::Context& ctx, AreaKeeper& keeper, double number) {
  const std::string title = ReadTitle(ctx, keeper, number);
  keeper.Reselect();
  std::string text = title.empty() ? NeedsDescription(number) : EvaluateTitle(ctx, title, number);
  keeper.CloseMessageTable();
  return text;
}

}  // namespace qv::shell
