#include "shell/startup/copy_file.h"

namespace qv::shell {

bool CopyFile(rt::Session& session, fs::WinFs& fs, ShellState& state, const CopyRequest& request) {
  ++state.copy_count;
  const std::string from = request.source + request.file;
  const std::string to =
      request.drive.substr(0, 1) + ":" + request.destination + "\\" + request.file;
  (void)rt::RunWithRetry(
      session, [&] { return fs.Copy(from, to); },
      [&](const Status& status) {
        rt::ErrorInfo info;
        info.description = "Open error";
        // The file whose open failed: the source when it is missing, else the target.
        info.operation = fs.Exists(from) ? to : from;
        info.gen_code = 21;
        info.os_code = status.IsNotFound() ? 2 : 0;  // ENOENT
        return info;
      });
  if (request.meter != nullptr) request.meter->Set(state.copy_count);
  return true;
}

}  // namespace qv::shell
