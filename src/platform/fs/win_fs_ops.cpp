// File operations and listings of WinFs, and the drive list.
#include <algorithm>

#include "platform/fs/detail/host_path.h"
#include "platform/fs/short_name.h"
#include "platform/fs/wildcard.h"
#include "platform/fs/win_fs.h"

namespace qv::fs {
namespace {

constexpr size_t kCopyBlock = 64 * 1024;

// Small files of the host's /proc and /sys report no size; read to the end.
std::string ReadSmallFile(Env& env, const std::string& path) {
  Result<std::unique_ptr<File>> file = env.Open(path, OpenMode::kRead);
  if (!file.ok()) return "";
  std::string text;
  char buf[4096];
  for (;;) {
    size_t got = 0;
    if (!(*file)->ReadAt(text.size(), sizeof buf, buf, &got).ok() || got == 0) break;
    text.append(buf, got);
  }
  return text;
}

}  // namespace

Result<std::vector<DirEntry>> WinFs::List(std::string_view pattern, bool with_dirs) {
  std::string dir_host;
  return ListIn(pattern, with_dirs, &dir_host);
}

Result<std::vector<DirEntry>> WinFs::ListIn(std::string_view pattern, bool with_dirs,
                                            std::string* dir_host) {
  QV_ASSIGN_OR_RETURN(WinPath parsed, ParseWinPath(pattern));
  std::string mask = "*";
  if (!parsed.parts.empty()) {
    mask = parsed.parts.back();
    parsed.parts.pop_back();
  }
  QV_ASSIGN_OR_RETURN(auto absolute, Absolute(parsed));
  Result<Located> dir = Walk(absolute.first, absolute.second);
  if (!dir.ok() && dir.status().IsNotFound()) return std::vector<DirEntry>{};
  if (!dir.ok()) return dir.status();
  if (!dir->exists || !dir->info.is_dir) return std::vector<DirEntry>{};
  *dir_host = dir->host;

  QV_ASSIGN_OR_RETURN(std::vector<DirEntry> entries, env_.List(dir->host));
  std::vector<std::string> shorts;
  if (!HasWildcards(mask)) {
    std::vector<std::string> names;
    for (const DirEntry& e : entries) names.push_back(e.name);
    shorts = ShortNames(names);
  }
  std::vector<DirEntry> out;
  for (size_t i = 0; i < entries.size(); ++i) {
    DirEntry& e = entries[i];
    if (e.info.is_symlink) {
      std::vector<std::string> parts = absolute.second;
      parts.push_back(e.name);
      Result<Located> target = Walk(absolute.first, parts);
      if (!target.ok() || !target->exists) continue;  // off the drive, or dangling
      e.info = target->info;
    }
    if (e.info.is_dir && !with_dirs) continue;
    bool match =
        MatchesWildcard(mask, e.name) || (!shorts.empty() && EqualsNoCase(mask, shorts[i]));
    if (match) out.push_back(e);
  }
  std::sort(out.begin(), out.end(),
            [](const DirEntry& a, const DirEntry& b) { return LessNoCase(a.name, b.name); });
  return out;
}

Result<int> WinFs::EraseMatching(std::string_view pattern) {
  std::string dir_host;
  QV_ASSIGN_OR_RETURN(std::vector<DirEntry> files, ListIn(pattern, false, &dir_host));
  int erased = 0;
  Status first;
  for (const DirEntry& e : files) {
    Status s = env_.Remove(detail::JoinHost(dir_host, e.name));
    if (s.ok()) {
      ++erased;
    } else if (!s.IsNotFound() && first.ok()) {
      first = s;  // the others are still erased
    }
  }
  if (!first.ok()) return first;
  return erased;
}

bool WinFs::Exists(std::string_view path_or_pattern) {
  Result<WinPath> parsed = ParseWinPath(path_or_pattern);
  if (!parsed.ok()) return false;
  if (!parsed->parts.empty() && HasWildcards(parsed->parts.back())) {
    Result<std::vector<DirEntry>> found = List(path_or_pattern, false);
    return found.ok() && !found->empty();
  }
  Result<Located> loc = Locate(path_or_pattern);
  return loc.ok() && loc->exists && !loc->info.is_dir;
}

bool WinFs::IsDir(std::string_view path) {
  Result<Located> loc = Locate(path);
  return loc.ok() && loc->exists && loc->info.is_dir;
}

Status WinFs::Copy(std::string_view from, std::string_view to) {
  QV_ASSIGN_OR_RETURN(Located src, Locate(from));
  if (!src.exists) return Status::NotFound("copy: no file " + std::string(from));
  if (src.info.is_dir)
    return Status::InvalidArgument("copy: " + std::string(from) + " is a folder");
  QV_ASSIGN_OR_RETURN(Located dst, Locate(to));
  if (dst.exists && dst.info.is_dir) {
    return Status::InvalidArgument("copy: " + std::string(to) + " is a folder");
  }
  // Creating the target truncates it: copying a file onto itself would erase it.
  if (dst.host == src.host) {
    return Status::InvalidArgument("copy: " + std::string(from) + " and " + std::string(to) +
                                   " are the same file");
  }
  QV_ASSIGN_OR_RETURN(std::unique_ptr<File> in, env_.Open(src.host, OpenMode::kRead));
  QV_ASSIGN_OR_RETURN(std::unique_ptr<File> out,
                      env_.Open(dst.host, dst.exists ? OpenMode::kReadWrite : OpenMode::kCreate));
  // A target another program has open (a table in use) is refused, not
  // truncated under it.
  QV_RETURN_IF_ERROR(out->SetShareMode(ShareMode::kExclusive));
  QV_RETURN_IF_ERROR(out->Truncate(0));
  std::string buf(kCopyBlock, '\0');
  for (uint64_t offset = 0;;) {
    size_t got = 0;
    QV_RETURN_IF_ERROR(in->ReadAt(offset, buf.size(), buf.data(), &got));
    if (got == 0) break;
    QV_RETURN_IF_ERROR(out->WriteAt(offset, std::string_view(buf.data(), got)));
    offset += got;
  }
  return Status::OK();
}

Status WinFs::Erase(std::string_view path) {
  QV_ASSIGN_OR_RETURN(Located loc, Locate(path, /*follow_last=*/false));
  if (!loc.exists) return Status::NotFound("erase: no file " + std::string(path));
  if (loc.info.is_dir)
    return Status::InvalidArgument("erase: " + std::string(path) + " is a folder");
  return env_.Remove(loc.host);
}

Status WinFs::MakeDir(std::string_view path) {
  QV_ASSIGN_OR_RETURN(Located loc, Locate(path));
  if (loc.exists) return Status::Exists("make folder: " + std::string(path) + " exists");
  return env_.MakeDir(loc.host);
}

Result<uint64_t> WinFs::FreeSpace(char letter) {
  std::string root = Root(letter);
  if (root.empty()) return Status::NotFound(std::string("drive ") + letter + ": is not mapped");
  return env_.FreeSpace(root);
}

std::vector<DriveInfo> WinFs::Drives() {
  std::string mountinfo = ReadSmallFile(env_, "/proc/self/mountinfo");
  auto is_removable = [this](const std::string& device) {
    // A partition keeps the flag on its disk, one folder up.
    std::string base = "/sys/class/block/" + device;
    std::string flag = ReadSmallFile(env_, base + "/removable");
    if (flag.empty()) flag = ReadSmallFile(env_, base + "/../removable");
    return !flag.empty() && flag[0] == '1';
  };
  std::vector<DriveInfo> out;
  for (const auto& [letter, root] : roots_) {
    Result<FileInfo> info = RootInfo(root);
    DriveType type = !info.ok() || !info->is_dir
                         ? DriveType::kNoRoot
                         : ClassifyMount(FindMount(mountinfo, root), is_removable);
    out.push_back(DriveInfo{letter, type});
  }
  return out;
}

}  // namespace qv::fs
