// FILE() and DIRECTORY() over the FileAccess the caller wired in (Windows
// paths with mapped drives). Without one nothing exists.
#include <vector>

#include "platform/xbase/lib_args.h"
#include "platform/xbase/library.h"

namespace qv::xb {
namespace {

using rt::Value;
using Args = std::span<Value>;

Value FnFile(Evaluator& ev, Args a) {
  const std::string& pattern = StrArg(ev, a, 0);
  FileAccess* files = ev.host().files;
  return Value(files != nullptr && !pattern.empty() && files->Exists(pattern));
}

// DIRECTORY(pattern, [attributes]): {name, size, date, time, attributes}
// per entry. A listing that fails reads as empty, as a missing folder does.
Value FnDirectory(Evaluator& ev, Args a) {
  std::string pattern = Given(a, 0) ? StrArg(ev, a, 0) : std::string("*.*");
  std::string attributes = Given(a, 1) ? StrArg(ev, a, 1) : std::string();
  std::vector<Value> rows;
  FileAccess* files = ev.host().files;
  if (files != nullptr) {
    Result<std::vector<FileEntry>> entries = files->List(pattern, attributes);
    if (entries.ok()) {
      for (const FileEntry& e : *entries) {
        rows.push_back(Value::Array({Value(e.name), Value::Int(static_cast<int64_t>(e.size)),
                                     Value(e.date), Value(e.time), Value(e.attributes)}));
      }
    }
  }
  return Value::Array(std::move(rows));
}

constexpr Builtin kFileLibrary[] = {
    {"FILE", FnFile, 1},
    {"DIRECTORY", FnDirectory, 2},
};

}  // namespace

std::span<const Builtin> FileLibrary() { return kFileLibrary; }

}  // namespace qv::xb
