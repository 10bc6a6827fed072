#include "platform/fs/env.h"

namespace qv::fs {

Result<std::string> ReadWholeFile(Env& env, const std::string& path) {
  QV_ASSIGN_OR_RETURN(auto file, env.Open(path, OpenMode::kRead));
  QV_ASSIGN_OR_RETURN(uint64_t size, file->Size());
  std::string data(size, '\0');
  size_t got = 0;
  QV_RETURN_IF_ERROR(file->ReadAt(0, data.size(), data.data(), &got));
  data.resize(got);
  return data;
}

Status WriteWholeFile(Env& env, const std::string& path, std::string_view data, bool sync) {
  QV_ASSIGN_OR_RETURN(auto file, env.Open(path, OpenMode::kCreate));
  QV_RETURN_IF_ERROR(file->WriteAt(0, data));
  if (sync) QV_RETURN_IF_ERROR(file->Sync());
  return Status::OK();
}

}  // namespace qv::fs
