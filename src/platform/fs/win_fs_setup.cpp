// The path layer as a run of the program sets it up from its environment.
#include <memory>

#include "platform/fs/win_fs.h"

namespace qv::fs {

Result<std::unique_ptr<WinFs>> WinFsFromProcess(Env& env) {
  QV_ASSIGN_OR_RETURN(DriveMap map, MakeDriveMap(DriveSettingsFromProcess()));
  std::string windows_folder = WindowsFolderFromProcess();
  QV_RETURN_IF_ERROR(PrepareDriveC(env, map.roots.at('C'), windows_folder));
  return std::make_unique<WinFs>(env, std::move(map), std::move(windows_folder));
}

}  // namespace qv::fs
