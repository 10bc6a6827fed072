// Resolution of Windows paths and the current drive and folders.
#include "platform/fs/win_fs.h"

#include <deque>

#include "platform/fs/detail/host_path.h"
#include "platform/fs/short_name.h"
#include "platform/fs/wildcard.h"

namespace qv::fs {
namespace {

using detail::JoinHost;

constexpr int kMaxLinks = 16;  // as a loop of links must end somewhere

std::string JoinBackslashes(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : "\\") + name;
  return out;
}

char UpperLetter(char letter) {
  return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

}  // namespace

WinFs::WinFs(Env& env, DriveMap drives, std::string windows_folder)
    : env_(env),
      roots_(std::move(drives.roots)),
      current_(drives.current),
      windows_folder_(std::move(windows_folder)) {
  current_dirs_[current_] = detail::SplitHostPath(drives.current_dir);
}

Status WinFs::ChangeDrive(char letter) {
  letter = UpperLetter(letter);
  if (!roots_.count(letter))
    return Status::NotFound(std::string("drive ") + letter + ": is not mapped");
  current_ = letter;
  return Status::OK();
}

std::string WinFs::CurrentDir(char letter) const {
  auto it = current_dirs_.find(letter == 0 ? current_ : UpperLetter(letter));
  return it == current_dirs_.end() ? "" : JoinBackslashes(it->second);
}

Status WinFs::ChangeDir(std::string_view path) {
  QV_ASSIGN_OR_RETURN(Located loc, Locate(path));
  if (!loc.exists || !loc.info.is_dir) {
    return Status::NotFound("no folder " + std::string(path));
  }
  current_ = loc.drive;
  current_dirs_[loc.drive] = std::move(loc.names);
  return Status::OK();
}

std::string WinFs::Root(char letter) const {
  auto it = roots_.find(UpperLetter(letter));
  return it == roots_.end() ? "" : it->second;
}

Result<std::pair<char, std::vector<std::string>>> WinFs::Absolute(const WinPath& path) const {
  char drive = path.drive != 0 ? path.drive : current_;
  if (!roots_.count(drive))
    return Status::NotFound(std::string("drive ") + drive + ": is not mapped");
  std::vector<std::string> base;
  if (!path.rooted) {
    auto it = current_dirs_.find(drive);
    if (it != current_dirs_.end()) base = it->second;
  }
  QV_ASSIGN_OR_RETURN(std::vector<std::string> parts, JoinParts(std::move(base), path.parts));
  return std::make_pair(drive, std::move(parts));
}

Result<DirEntry> WinFs::FindEntry(const std::string& dir_host, const std::string& name) {
  Result<FileInfo> exact = env_.Stat(JoinHost(dir_host, name));
  if (exact.ok()) return DirEntry{name, *exact};
  if (!exact.status().IsNotFound()) return exact.status();
  QV_ASSIGN_OR_RETURN(std::vector<DirEntry> entries, env_.List(dir_host));
  const DirEntry* found = nullptr;
  for (const DirEntry& e : entries) {
    // Several spellings of one name: take the first in byte order, so the
    // choice does not depend on the order the host lists them.
    if (EqualsNoCase(e.name, name) && (found == nullptr || e.name < found->name)) found = &e;
  }
  if (found == nullptr && name.find('~') != std::string::npos) {
    std::vector<std::string> names;
    for (const DirEntry& e : entries) names.push_back(e.name);
    std::vector<std::string> shorts = ShortNames(names);
    for (size_t i = 0; i < shorts.size() && found == nullptr; ++i) {
      if (EqualsNoCase(shorts[i], name)) found = &entries[i];
    }
  }
  if (found == nullptr) return Status::NotFound("no " + name + " in " + dir_host);
  return *found;
}

Result<FileInfo> WinFs::RootInfo(const std::string& root) {
  QV_ASSIGN_OR_RETURN(FileInfo info, env_.Stat(root));
  // The map names the drive's folder; that folder may be reached by a link.
  if (info.is_symlink && env_.List(root).ok()) {
    info.is_symlink = false;
    info.is_dir = true;
  }
  return info;
}

std::string WinFs::HostOf(char drive, const std::vector<std::string>& names) const {
  std::string host = roots_.at(drive);
  for (const std::string& name : names) host = JoinHost(host, name);
  return host;
}

Result<WinFs::LinkTarget> WinFs::ReadLinkInDrive(char drive, const std::string& link, int* hops) {
  if (++*hops > kMaxLinks) return Status::InvalidArgument("path: too many links at " + link);
  QV_ASSIGN_OR_RETURN(std::string target, env_.ReadLink(link));
  LinkTarget out;
  if (target.empty() || target[0] != '/') {
    out.parts = detail::SplitHostPath(target);  // ".." in it is checked as it is walked
    return out;
  }
  const std::string& root = roots_.at(drive);
  std::string norm = detail::NormalizeHostPath(target, "/");
  if (!detail::IsWithin(norm, root)) {
    return Status::InvalidArgument("path: the link " + link + " leads off drive " +
                                   std::string(1, drive) + ": to " + target);
  }
  out.absolute = true;
  out.parts = detail::SplitHostPath(norm.substr(root == "/" ? 0 : root.size()));
  return out;
}

Result<WinFs::Located> WinFs::Walk(char drive, const std::vector<std::string>& parts,
                                   bool follow_last) {
  Located loc;
  loc.drive = drive;
  std::deque<std::string> pending(parts.begin(), parts.end());
  int hops = 0;
  bool settled = false;  // loc.exists and loc.info describe the end of the walk
  while (!pending.empty()) {
    std::string part = std::move(pending.front());
    pending.pop_front();
    settled = false;
    if (part == ".") continue;
    if (part == "..") {  // only from a link's target: the path itself was joined
      if (loc.names.empty()) return Status::InvalidArgument("path: a link leads above the root");
      loc.names.pop_back();
      continue;
    }
    bool last = pending.empty();
    std::string dir = HostOf(drive, loc.names);
    if (HasWildcards(part)) return Status::InvalidArgument("path: wildcard in \"" + part + "\"");
    Result<DirEntry> entry = FindEntry(dir, part);
    if (!entry.ok()) {
      if (!entry.status().IsNotFound()) return entry.status();
      if (!last) return Status::NotFound("no folder " + part + " in " + dir);
      loc.names.push_back(part);  // a new entry, under the name as written
      loc.host = JoinHost(dir, part);
      return loc;
    }
    if (entry->info.is_symlink && (follow_last || !last)) {
      QV_ASSIGN_OR_RETURN(LinkTarget target,
                          ReadLinkInDrive(drive, JoinHost(dir, entry->name), &hops));
      if (target.absolute) loc.names.clear();
      pending.insert(pending.begin(), target.parts.begin(), target.parts.end());
      continue;
    }
    if (!last && !entry->info.is_dir) {
      return Status::NotFound("path: " + entry->name + " in " + dir + " is not a folder");
    }
    loc.names.push_back(entry->name);
    if (last) {
      loc.exists = true;
      loc.info = entry->info;
      settled = true;
    }
  }
  loc.host = HostOf(drive, loc.names);
  if (!settled) {
    QV_ASSIGN_OR_RETURN(loc.info, loc.names.empty() ? RootInfo(loc.host) : env_.Stat(loc.host));
    loc.exists = true;
  }
  return loc;
}

Result<WinFs::Located> WinFs::Locate(std::string_view path, bool follow_last) {
  QV_ASSIGN_OR_RETURN(WinPath parsed, ParseWinPath(path));
  QV_ASSIGN_OR_RETURN(auto absolute, Absolute(parsed));
  return Walk(absolute.first, absolute.second, follow_last);
}

Result<std::string> WinFs::Resolve(std::string_view path) {
  QV_ASSIGN_OR_RETURN(Located loc, Locate(path));
  return loc.host;
}

Result<std::string> WinFs::ShortPath(std::string_view path) {
  QV_ASSIGN_OR_RETURN(Located loc, Locate(path));
  if (!loc.exists) return Status::NotFound("no " + std::string(path));
  std::string out = std::string(1, loc.drive) + ":\\";
  std::string dir = roots_.at(loc.drive);
  for (size_t i = 0; i < loc.names.size(); ++i) {
    QV_ASSIGN_OR_RETURN(std::vector<DirEntry> entries, env_.List(dir));
    std::vector<std::string> siblings;
    for (const DirEntry& e : entries) siblings.push_back(e.name);
    if (i > 0) out += '\\';
    out += ShortName(loc.names[i], siblings);
    dir = JoinHost(dir, loc.names[i]);
  }
  return out;
}

}  // namespace qv::fs
