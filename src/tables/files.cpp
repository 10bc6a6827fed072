#include "tables/files.h"

namespace qv::tables {

bool CreateEmptyFile(Context& ctx, std::string_view path) {
  Result<std::string> host = ctx.fs().Resolve(path);
  if (!host.ok()) return false;
  return ctx.env().Open(*host, fs::OpenMode::kCreate).ok();
}

std::vector<std::string> MatchingFiles(Context& ctx, std::string_view pattern) {
  std::vector<std::string> names;
  Result<std::vector<fs::DirEntry>> entries = ctx.fs().List(pattern);
  if (!entries.ok()) return names;
  for (const fs::DirEntry& e : *entries) names.push_back(e.name);
  return names;
}

int EraseMatching(Context& ctx, std::string_view pattern) {
  Result<int> erased = ctx.fs().EraseMatching(pattern);
  return erased.ok() ? *erased : 0;
}

std::string ReportedName(Context& ctx, std::string_view name, std::string_view ext) {
  Result<std::string> file = ctx.workspace().FileName(name, ext);
  return file.ok() ? *file : std::string(name);
}

}  // namespace qv::tables
