#include "platform/xbase/compiler.h"

#include <string>

#include "platform/xbase/library.h"

namespace qv::xb {
namespace {

// Depth is bounded by the parser, so this recursion is too.
Status Bind(Node& node, const std::string& text) {
  if (node.kind == NodeKind::kCall) {
    node.builtin = FindBuiltin(node.name);
    if (node.builtin != nullptr && node.kids.size() > node.builtin->max_args) {
      return Status::InvalidArgument(
          "syntax error at position " + std::to_string(node.pos + 1) + " (" + node.name +
          " takes at most " + std::to_string(node.builtin->max_args) + " arguments) in: " + text);
    }
  }
  for (Node& kid : node.kids) QV_RETURN_IF_ERROR(Bind(kid, text));
  return Status::OK();
}

}  // namespace

const Builtin* FindBuiltin(std::string_view name) {
  for (auto family : {StringLibrary(), NumericLibrary(), DateLibrary(), ConvertLibrary(),
                      ArrayLibrary(), TableLibrary(), FileLibrary(), OtherLibrary()}) {
    for (const Builtin& b : family) {
      if (name == b.name) return &b;
    }
  }
  return nullptr;
}

Result<std::shared_ptr<const Program>> CompileProgram(std::string_view text, ParseMode mode) {
  QV_ASSIGN_OR_RETURN(Node root, Parse(text, mode));
  auto program = std::make_shared<Program>();
  program->text = std::string(text);
  program->root = std::move(root);
  QV_RETURN_IF_ERROR(Bind(program->root, program->text));
  return std::shared_ptr<const Program>(std::move(program));
}

}  // namespace qv::xb
