#include "platform/runtime/procedures.h"

#include <vector>

#include "platform/runtime/session.h"
#include "platform/runtime/text.h"

namespace qv::rt {

void ProcedureRegistry::Register(std::string_view name, Procedure fn) {
  procedures_[Upper(name)] = std::move(fn);
}

const Procedure* ProcedureRegistry::Find(std::string_view name) const {
  auto it = procedures_.find(Upper(name));
  return it == procedures_.end() ? nullptr : &it->second;
}

std::vector<std::string> ProcedureRegistry::Names() const {
  std::vector<std::string> names;
  names.reserve(procedures_.size());
  for (const auto& entry : procedures_) names.push_back(entry.first);
  return names;
}

Value Call(Session& session, std::string_view name, std::span<Value> args, int line) {
  for (;;) {
    const Procedure* fn = session.procedures().Find(name);
    if (fn != nullptr) {
      // A copy: the callee may re-register itself while it runs.
      Procedure callee = *fn;
      FrameGuard frame(session, name, line);
      return callee(session, args);
    }
    ErrorInfo info;
    info.description = "Undefined function";
    info.operation = Upper(name);
    info.can_retry = true;
    info.can_default = true;
    if (RaiseOrQuit(session, info) == ErrorChoice::kDefault) return Value();
  }
}

Value Call(Session& session, std::string_view name, std::initializer_list<Value> args, int line) {
  std::vector<Value> copies(args);
  return Call(session, name, std::span<Value>(copies), line);
}

void BindParameters(Session& session, std::span<const Value> args,
                    std::initializer_list<std::string_view> names) {
  size_t i = 0;
  for (std::string_view name : names) {
    session.DeclarePrivate(name, i < args.size() ? args[i] : Value());
    ++i;
  }
}

void WriteBackParameters(Session& session, std::span<Value> args,
                         std::initializer_list<std::string_view> names) {
  size_t i = 0;
  for (std::string_view name : names) {
    if (i >= args.size()) break;
    if (const Value* v = session.Find(name)) args[i] = *v;
    ++i;
  }
}

const Value& ArgAt(std::span<const Value> args, size_t i) {
  static const Value kNil;
  return i < args.size() ? args[i] : kNil;
}

}  // namespace qv::rt
