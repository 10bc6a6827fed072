// The skeleton of a fresh drive C: the folders the program's fixed paths
// ("c:\docume~1\alluse~1\startm~1\programs", "C:\WINDOWS\system",
// "c:\progra~1\access~1") run through, and a file so that "C:*.*" finds one.
#include "platform/fs/detail/host_path.h"
#include "platform/fs/win_fs.h"

namespace qv::fs {
namespace {

constexpr char kRootFileName[] = "README.TXT";
constexpr char kRootFileText[] =
    "Drive C of the Quorvanta setup. This folder stands for the root of drive C.\r\n";

// Creates every missing level of path; existing ones stay as they are.
Status MakeLevels(Env& env, const std::string& base, const std::vector<std::string>& levels) {
  std::string path = base;
  for (const std::string& level : levels) {
    path = detail::JoinHost(path, level);
    Status s = env.MakeDir(path);
    if (!s.ok() && !s.IsExists()) return s;
  }
  return Status::OK();
}

}  // namespace

Status PrepareDriveC(Env& env, const std::string& c_root, std::string_view windows_folder) {
  QV_RETURN_IF_ERROR(MakeLevels(env, "/", detail::SplitHostPath(c_root)));
  QV_ASSIGN_OR_RETURN(std::vector<DirEntry> present, env.List(c_root));
  if (!present.empty()) return Status::OK();

  QV_ASSIGN_OR_RETURN(WinPath windir, ParseWinPath(windows_folder));
  std::vector<std::string> win =
      windir.parts.empty() ? std::vector<std::string>{"WINDOWS"} : windir.parts;
  auto under = [](std::vector<std::string> base, std::initializer_list<const char*> more) {
    base.insert(base.end(), more.begin(), more.end());
    return base;
  };
  const std::vector<std::string> all_users = {"Documents and Settings", "All Users"};
  for (const std::vector<std::string>& levels :
       {under(win, {"system"}), under(win, {"Start Menu", "Programs"}), under(win, {"Desktop"}),
        under(all_users, {"Start Menu", "Programs"}), under(all_users, {"Desktop"}),
        std::vector<std::string>{"Program Files", "Accessories"}}) {
    QV_RETURN_IF_ERROR(MakeLevels(env, c_root, levels));
  }
  return WriteWholeFile(env, detail::JoinHost(c_root, kRootFileName), kRootFileText, true);
}

}  // namespace qv::fs
