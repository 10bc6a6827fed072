// Feeds arbitrary text to the expression compiler and evaluates what
// compiles: neither may crash, hang or run out of stack, whatever the text.
// Faults must come back as a compile Status or a run-time error.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/runtime/error.h"
#include "platform/runtime/session.h"
#include "platform/xbase/expr.h"

namespace {

// Answers every run-time error raised by a routine with Default, quietly.
class DefaultingHandler : public qv::rt::ErrorHandler {
 public:
  qv::rt::ErrorChoice Handle(const qv::rt::ErrorInfo&) override {
    return qv::rt::ErrorChoice::kDefault;
  }
};

void EvaluateOnce(const std::string& text, qv::xb::ParseMode mode) {
  qv::Result<qv::xb::Expr> expr = qv::xb::Expr::Compile(text, mode);
  if (!expr.ok()) return;
  qv::rt::Session session(qv::rt::Clock::Frozen(qv::rt::Date::FromYmd(2026, 12, 11), 3600));
  DefaultingHandler handler;
  session.SetErrorHandler(&handler);
  session.settings().dates.epoch = 1939;
  session.Assign("S", qv::rt::Value("COMPANY"));
  session.Assign("N", qv::rt::Value::Int(42));
  session.Assign("A", qv::rt::Value::Array({qv::rt::Value::Int(1), qv::rt::Value("x")}));
  session.Assign("M", qv::rt::Value("1 + N"));
  qv::xb::Host host{session};
  try {
    qv::rt::Value value = expr->Eval(host);
    if (value.IsBlock()) {
      std::vector<qv::rt::Value> args = {qv::rt::Value::Int(1), qv::rt::Value("b")};
      value.block()->Call(session, args);
    }
  } catch (const qv::rt::RuntimeError&) {
  } catch (const qv::rt::QuitRequest&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  EvaluateOnce(text, qv::xb::ParseMode::kExpression);
  EvaluateOnce(text, qv::xb::ParseMode::kStatement);
  return 0;
}
